// Test support: an audio device that records every call the game makes to
// it, in order, and then does the real device's work (OpenAL; run with
// ALSOFT_DRIVERS=null for silence). Install it over the framework's device
// with zq_audio_SetAudioDevice(gc_new<RecordingAudio>()), then load sounds
// through the game so that their samples come from it.
//
// Entries: "stop <ch>", "play <ch> <flags>", "rate <ch> <v>", "volume <ch>
// <v>", "pan <ch> <v>", "music <path> <flags>", "stopmusic", "pausemusic",
// "resumemusic". Sample pointers of "play" entries are kept in `samples`.
// Main thread only.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "audio/tvx_audio.h"

class RecordingAudio : public tvxAudio {
  public:
    std::vector<std::string> calls;
    std::vector<tvxSample*> samples;  // one per "play" entry, in order

    int PlaySample(tvxSample* sample, int channel, int flags) override {
        Log("play", channel, flags);
        samples.push_back(sample);
        return tvxAudio::PlaySample(sample, channel, flags);
    }
    void StopChannel(int channel) override {
        Log("stop", channel);
        tvxAudio::StopChannel(channel);
    }
    void SetRate(int channel, float rate) override {
        Log("rate", channel, rate);
        tvxAudio::SetRate(channel, rate);
    }
    void SetVolume(int channel, float volume) override {
        Log("volume", channel, volume);
        tvxAudio::SetVolume(channel, volume);
    }
    void SetPan(int channel, float pan) override {
        Log("pan", channel, pan);
        tvxAudio::SetPan(channel, pan);
    }
    int PlayMusic(String path, int flags) override {
        calls.push_back("music " + path.ToUtf8() + " " + std::to_string(flags));
        return tvxAudio::PlayMusic(path, flags);
    }
    void StopMusic() override {
        calls.push_back("stopmusic");
        tvxAudio::StopMusic();
    }
    void PauseMusic() override {
        calls.push_back("pausemusic");
        tvxAudio::PauseMusic();
    }
    void ResumeMusic() override {
        calls.push_back("resumemusic");
        tvxAudio::ResumeMusic();
    }

    // Entries starting with `prefix`.
    std::vector<std::string> Only(const std::string& prefix) const {
        std::vector<std::string> out;
        for (const std::string& c : calls)
            if (c.rfind(prefix, 0) == 0) out.push_back(c);
        return out;
    }

  private:
    template <class V>
    void Log(const char* op, int channel, V value) {
        std::ostringstream s;
        s << op << ' ' << channel << ' ' << value;
        calls.push_back(s.str());
    }
    void Log(const char* op, int channel) {
        calls.push_back(std::string(op) + " " + std::to_string(channel));
    }
};
