// tvxAudio: the audio device. Plays loaded samples on 32 sound channels
// (0..31) and music on channel 32 through OpenAL.
//
// Ownership and lifecycle
// - Created once by the framework delegate at start-up (gc_new<tvxAudio>());
//   the constructor opens the OpenAL device and context and sets
//   tvxAudio::audio (a collector root). The new object is not linked yet
//   while its constructor runs, so that store bypasses the write barrier:
//   the creator stores the device with gc_assign (the delegate does, into
//   its field and through zq_audio_SetAudioDevice). The OpenAL device is process-wide: a second tvxAudio
//   (only tests make one) shares the device and context of the first.
// - The device and context are closed once, by CloseOutput, which runs at
//   exit unless the process crashes.
// - Each channel obtains an OpenAL source when it first needs one and keeps
//   it for the rest of the run, unless another channel takes it over when
//   OpenAL runs out of sources (ChannelSource).
// - A channel remembers the last sample it played; mark() keeps that sample
//   alive while the channel still sounds it (playing or paused).
// - Buffers of discarded samples (tvxSample::discarded) are deleted lazily at
//   the start of LoadSample and PlaySample, once no source holds them.
// - PlayMusic keeps the sample of the last music file (the music cache) and
//   replays it while the file is unchanged; the cache holds one sample.
//
// Channel states: 0 stopped, 1 playing, 2 paused. A sound that ended on its
// own still reads 1 until a query (ChannelState, PauseChannel) asks OpenAL.
// Channel numbers outside 0..32 are caller errors; they are ignored (-1
// from PlaySample, 0 from ChannelState) rather than trusted.
//
// Threading: main thread only (the OpenAL context is current on it).
#pragma once

#include <AL/alc.h>

#include "audio/music_cache.h"
#include "audio/tvx_sample.h"
#include "runtime/lang/gc.h"
#include "runtime/lang/string.h"

// One channel record, a plain part of the device.
struct tvxChannel {
    unsigned int source = 0;      // OpenAL source name; 0 until needed
    tvxSample* sample = nullptr;  // the last sample played (kept alive by mark() while it sounds)
    int flags = 0;                // play flags; non-zero means looping
    int state = 0;                // 0 stopped, 1 playing, 2 paused
};

class tvxAudio : public gc_object {
  public:
    static constexpr int kSoundChannels = 32;
    static constexpr int kMusicChannel = 32;
    static constexpr int kChannels = 33;

    // The device, set by its constructor.
    static tvxAudio* audio;

    ALCdevice* alcDevice = nullptr;
    ALCcontext* alcContext = nullptr;
    tvxChannel channels[kChannels];

    tvxAudio();
    ~tvxAudio() override;

    // Stops every channel's source and closes the OpenAL context and device
    // (a file-writing output then finishes its file). Runs by itself when
    // the process ends through exit() (the quit, F4, the close button, a
    // fatal error's exit, the end of main), not when it crashes; callable
    // earlier, and a second call does nothing. Nothing sounds afterwards.
    static void CloseOutput();
    // Keeps alive the samples that channels still sound, and the music cache.
    void mark() override;

    // Pauses the OpenAL sources of playing channels (the game lost focus);
    // channel states stay as they are.
    virtual void Suspend();
    // Restarts the sources that Suspend paused.
    virtual void Resume();

    // A new sample loaded from `path` (virtual path, through the host's
    // LoadAudioData), or null when the file is missing, undecodable or has
    // no OpenAL format.
    virtual tvxSample* LoadSample(String path);
    virtual bool LoadSample__UNSAFE__(tvxSample* sample, String path);

    // Plays the sample on the channel, stopping what it played; flags != 0
    // loops. 0, or -1 when the channel can have no source.
    virtual int PlaySample(tvxSample* sample, int channel, int flags);
    virtual void StopChannel(int channel);
    virtual void PauseChannel(int channel);
    virtual void ResumeChannel(int channel);
    // 0 stopped (or ended), 1 playing, 2 paused.
    virtual int ChannelState(int channel);
    virtual void SetVolume(int channel, float volume);
    // Pan as an angle in radians: 0 straight ahead, -1/+1 about 57 degrees
    // to the left/right.
    virtual void SetPan(int channel, float pan);
    virtual void SetRate(int channel, float rate);

    // Music on channel 32: stops the current music, then loads and plays the
    // file. 0, or -1 when it cannot be loaded.
    virtual int PlayMusic(String path, int flags);
    virtual void StopMusic();
    virtual void PauseMusic();
    virtual void ResumeMusic();
    virtual int MusicState();
    virtual void SetMusicVolume(float volume);

  private:
    static bool ValidChannel(int channel) { return channel >= 0 && channel < kChannels; }
    // The channel's source, obtained on first use (see the .cpp for the
    // take-over rule); 0 when none can be had.
    unsigned int ChannelSource(int channel);
    // Deletes the discarded buffers that no source holds any more.
    void ReleaseDiscarded();

    tvxSample* musicSample = nullptr;  // sample of the last music file
    tvxFileStamp musicStamp;           // the file it was decoded from
};
