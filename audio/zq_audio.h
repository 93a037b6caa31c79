// The framework's audio front end: thin functions over the installed audio
// device, and c_Sound, the sound object the game holds.
//
// Paths given to zq_audio_LoadSound and zq_audio_PlayMusic go through
// zq_data_FixDataPath first, so a bare name ("sfx/001.wav") means the data
// folder. Until a device is installed (zq_audio_SetAudioDevice, done by the
// framework delegate at start-up) every function does nothing and loads give
// null (-1 for music).
//
// Threading: main thread only.
#pragma once

#include "audio/tvx_audio.h"
#include "audio/tvx_sample.h"
#include "runtime/lang/object.h"
#include "runtime/lang/string.h"

// A loaded sound: a collected object holding its sample.
class c_Sound : public Object {
  public:
    tvxSample* sample = nullptr;

    c_Sound* m_new(tvxSample* sample);
    c_Sound* m_new() { return this; }
    void mark() override;
};

// The installed device (a collector root).
extern tvxAudio* zq_audio_device;

void zq_audio_SetAudioDevice(tvxAudio* device);
// A new sound, or null when the file is missing, undecodable or unplayable.
c_Sound* zq_audio_LoadSound(String path);
// Plays the sound on the channel (flags != 0 loops): the device's result, or
// -1 and nothing played for a null sound or one without a sample.
int zq_audio_PlaySound(c_Sound* sound, int channel, int flags);
void zq_audio_StopChannel(int channel);
void zq_audio_PauseChannel(int channel);
void zq_audio_ResumeChannel(int channel);
int zq_audio_ChannelState(int channel);
void zq_audio_SetChannelVolume(int channel, float volume);
void zq_audio_SetChannelPan(int channel, float pan);
void zq_audio_SetChannelRate(int channel, float rate);
// 0 when the music plays, -1 when the file cannot be loaded (the previous
// music is stopped either way).
int zq_audio_PlayMusic(String path, int flags);
void zq_audio_StopMusic();
void zq_audio_PauseMusic();
void zq_audio_ResumeMusic();
int zq_audio_MusicState();
void zq_audio_SetMusicVolume(float volume);
