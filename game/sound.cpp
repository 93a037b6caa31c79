// The sound bank, the effect channels, the random effect groups and the
// one tune, all gated by the sound mode (settings[5]):
//   0 off, 1 effects and music, 2 effects only, 3 music only.
// A saved mode outside 0..3 (a hand-edited state file) counts as 0; the
// stored value is left as it is until the player changes the mode.
//
// Effects rotate over channels 0..23: the cursor is advanced before use, so
// the first effect plays on channel 1. Ids outside 0..99 are ignored; a
// missing sound file leaves its slot null and its effect silent. Without an
// audio device every call here does nothing (the front end's rule).
#include "audio/zq_audio.h"
#include "game/my_app.h"
#include "runtime/lang/random.h"

namespace {

constexpr int kSoundSlots = 100;
constexpr int kEffectChannels = 24;
constexpr int kGroupCap = 5;  // pending effects remembered per group
constexpr int kSoundConfirm = 99;

bool ValidId(int id) {
    return id >= 0 && id < kSoundSlots;
}

// "sfx/" + the id with at least three digits + ".wav".
String EffectFile(int id) {
    String digits(id);
    if (id < 10) return String("sfx/00") + digits + ".wav";
    if (id < 100) return String("sfx/0") + digits + ".wav";
    return String("sfx/") + digits + ".wav";
}

}  // namespace

int c_MyApp::SoundMode() const {
    int mode = settings[5];
    return mode >= 0 && mode <= 3 ? mode : 0;
}

bool c_MyApp::EffectsOn() const {
    int mode = SoundMode();
    return mode == 1 || mode == 2;
}

bool c_MyApp::MusicOn() const {
    int mode = SoundMode();
    return mode == 1 || mode == 3;
}

int c_MyApp::p_LoadSFX(int id) {
    if (!ValidId(id)) return 0;
    gc_assign(sounds[id], static_cast<c_Sound*>(nullptr));
    gc_assign(sounds[id], zq_audio_LoadSound(EffectFile(id)));
    return 0;
}

int c_MyApp::p_PlaySFX(int id, float rate, float volume, float pan) {
    if (!ValidId(id) || !EffectsOn() || !sounds[id]) return 0;
    sfxChannelCursor = (sfxChannelCursor + 1) % kEffectChannels;
    if (sfxChannelCursor < 0) sfxChannelCursor = 0;
    int channel = channelMap[sfxChannelCursor];
    zq_audio_StopChannel(channel);
    zq_audio_PlaySound(sounds[id], channel, 0);
    zq_audio_SetChannelRate(channel, rate);
    zq_audio_SetChannelVolume(channel, volume);
    zq_audio_SetChannelPan(channel, pan);
    return 0;
}

// One random effect of the group starting at `first` with `span` ids, at a
// rate of base + spread * r1; the id comes from the second draw.
void c_MyApp::PlayRandomEffect(int first, float span, float rateBase, float rateSpread) {
    float r1 = zq_random_Rnd();
    float r2 = zq_random_Rnd();
    int id = static_cast<int>(static_cast<float>(first) + span * r2);
    p_PlaySFX(id, rateBase + rateSpread * r1, 1.0f, 0.0f);
}

int c_MyApp::p_SFXHandle() {
    if (sfxCountA > kGroupCap) sfxCountA = kGroupCap;
    if (sfxCountB > kGroupCap) sfxCountB = kGroupCap;
    // A burst plays one effect per group per update.
    if (sfxCountA > 0) {
        PlayRandomEffect(1, 9.99f, 0.9f, 0.4f);
        --sfxCountA;
    }
    if (sfxCountB > 0) {
        PlayRandomEffect(11, 9.99f, 0.9f, 0.4f);
        --sfxCountB;
    }
    if (sfxPairPending > 0) {
        PlayRandomEffect(21, 4.99f, 0.8f, 0.6f);
        PlayRandomEffect(26, 4.99f, 0.8f, 0.4f);
    }
    sfxPairPending = 0;
    sfxMarker = 0;
    return 0;
}

int c_MyApp::p_PlayTune(String name, int flags) {
    // "-1" asks for the tune last requested, if there is one.
    if (name == String("-1") && !currentTune.IsEmpty()) name = currentTune;
    if (name.IsEmpty()) return 0;
    currentTune = name;
    if (musicPlaying == 1) p_StopTune();
    if (MusicOn()) {
        // A missing file only fails inside the player; the flag is set anyway.
        zq_audio_PlayMusic(String("sfx/") + name + ".ogg", flags);
        musicPlaying = 1;
    }
    return 0;
}

int c_MyApp::p_StopTune() {
    zq_audio_StopMusic();
    musicPlaying = 0;
    return 0;
}

void c_MyApp::NextSoundMode() {
    settings[5] = (SoundMode() + 1) % 4;
    if (!MusicOn()) {
        p_StopTune();
    } else if (screenMode >= 10) {
        p_PlayTune(String("-1"), 1);  // back to the current tune, looped
    }
    p_PlaySFX(kSoundConfirm, 1.0f, 1.0f, 0.0f);
}
