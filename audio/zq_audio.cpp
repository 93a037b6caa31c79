// The audio front end: argument handling over the installed device.
#include "audio/zq_audio.h"

#include "runtime/lang/datapath.h"
#include "runtime/lang/init.h"

tvxAudio* zq_audio_device = nullptr;
GC_ROOT(zq_audio_device);

static void zq_audio_Init() {
    zq_audio_device = nullptr;
}
ZQ_MODULE_INIT(zq_audio_Init);

c_Sound* c_Sound::m_new(tvxSample* s) {
    gc_assign(sample, s);
    return this;
}

void c_Sound::mark() {
    Object::mark();
    gc_enqueue(sample);
}

void zq_audio_SetAudioDevice(tvxAudio* device) {
    gc_assign(zq_audio_device, device);
}

c_Sound* zq_audio_LoadSound(String path) {
    if (!zq_audio_device) return nullptr;
    tvxSample* sample = zq_audio_device->LoadSample(zq_data_FixDataPath(path));
    if (!sample) return nullptr;
    return gc_new<c_Sound>()->m_new(sample);
}

int zq_audio_PlaySound(c_Sound* sound, int channel, int flags) {
    if (!zq_audio_device || !sound || !sound->sample) return -1;
    return zq_audio_device->PlaySample(sound->sample, channel, flags);
}

void zq_audio_StopChannel(int channel) {
    if (zq_audio_device) zq_audio_device->StopChannel(channel);
}

void zq_audio_PauseChannel(int channel) {
    if (zq_audio_device) zq_audio_device->PauseChannel(channel);
}

void zq_audio_ResumeChannel(int channel) {
    if (zq_audio_device) zq_audio_device->ResumeChannel(channel);
}

int zq_audio_ChannelState(int channel) {
    return zq_audio_device ? zq_audio_device->ChannelState(channel) : 0;
}

void zq_audio_SetChannelVolume(int channel, float volume) {
    if (zq_audio_device) zq_audio_device->SetVolume(channel, volume);
}

void zq_audio_SetChannelPan(int channel, float pan) {
    if (zq_audio_device) zq_audio_device->SetPan(channel, pan);
}

void zq_audio_SetChannelRate(int channel, float rate) {
    if (zq_audio_device) zq_audio_device->SetRate(channel, rate);
}

int zq_audio_PlayMusic(String path, int flags) {
    if (!zq_audio_device) return -1;
    return zq_audio_device->PlayMusic(zq_data_FixDataPath(path), flags);
}

void zq_audio_StopMusic() {
    if (zq_audio_device) zq_audio_device->StopMusic();
}

void zq_audio_PauseMusic() {
    if (zq_audio_device) zq_audio_device->PauseMusic();
}

void zq_audio_ResumeMusic() {
    if (zq_audio_device) zq_audio_device->ResumeMusic();
}

int zq_audio_MusicState() {
    return zq_audio_device ? zq_audio_device->MusicState() : 0;
}

void zq_audio_SetMusicVolume(float volume) {
    if (zq_audio_device) zq_audio_device->SetMusicVolume(volume);
}
