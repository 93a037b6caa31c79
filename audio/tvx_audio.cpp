// tvxAudio: start-up, channels and their sources, playback state, the lazy
// release of discarded buffers, collector marking and the music channel.
//
// Index
//   [SECTION] Start-up         the OpenAL device and context, the channels
//   [SECTION] Sources          lazily obtained, with the take-over rule
//   [SECTION] Samples          loading, releasing discarded buffers
//   [SECTION] Channels         play, stop, pause, resume, state, parameters
//   [SECTION] Focus            Suspend, Resume
//   [SECTION] Music            channel 32 and the music cache
//   [SECTION] Collector        mark
//
// Failure: when OpenAL cannot start, the messages below are printed and the
// device carries on; every later call then acts on no context, which OpenAL
// turns into nothing audible (no source can be had, so PlaySample gives -1).
#include "audio/tvx_audio.h"

#include <AL/al.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>

#include "runtime/lang/errors.h"
#include "runtime/lang/game.h"

tvxAudio* tvxAudio::audio = nullptr;
GC_ROOT(tvxAudio::audio);

namespace {

// [SECTION] Start-up ---------------------------------------------------------

// The process's one OpenAL device and context (see tvx_audio.h).
struct OpenALOutput {
    ALCdevice* device = nullptr;
    ALCcontext* context = nullptr;
    bool opened = false;
    long owner = 0;  // the process that opened them
};
OpenALOutput g_output;

// At exit: the process ends by some way other than a crash (see
// tvxAudio::CloseOutput). A crash skips this: the fault may have hit OpenAL
// itself. So does a forked child (a test's death test): OpenAL's mixer
// thread lives only in the parent, and waiting for it would never end.
void CloseOutputAtExit() {
    if (zqCrashing() || static_cast<long>(getpid()) != g_output.owner) return;
    tvxAudio::CloseOutput();
}

const OpenALOutput& OpenOutputOnce() {
    if (g_output.opened) return g_output;
    g_output.opened = true;
    g_output.owner = static_cast<long>(getpid());
    std::atexit(CloseOutputAtExit);
    ALCdevice* device = alcOpenDevice(nullptr);
    if (!device) device = alcOpenDevice("Generic Hardware");
    if (!device) device = alcOpenDevice("Generic Software");
    zqPrint(String("opening openal device"));
    g_output.device = device;
    if (!device) {
        zqPrint(String("OpenAl error: alcOpenDevice failed"));
        return g_output;
    }
    g_output.context = alcCreateContext(device, nullptr);
    if (!g_output.context)
        zqPrint(String("OpenAl error: alcCreateContext failed"));
    else if (!alcMakeContextCurrent(g_output.context))
        zqPrint(String("OpenAl error: alcMakeContextCurrent failed"));
    return g_output;
}

ALint SourceState(ALuint source) {
    ALint state = AL_STOPPED;  // what a source that OpenAL cannot query counts as
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    return state;
}

// The OpenAL format of interleaved PCM, or 0 when OpenAL has none.
ALenum OpenALFormat(int channels, int bytesPerSample) {
    if (bytesPerSample == 1 && channels == 1) return AL_FORMAT_MONO8;
    if (bytesPerSample == 1 && channels == 2) return AL_FORMAT_STEREO8;
    if (bytesPerSample == 2 && channels == 1) return AL_FORMAT_MONO16;
    if (bytesPerSample == 2 && channels == 2) return AL_FORMAT_STEREO16;
    return 0;
}

}  // namespace

tvxAudio::tvxAudio() {
    audio = this;
    const OpenALOutput& output = OpenOutputOnce();
    alcDevice = output.device;
    alcContext = output.context;
    // Position only gives a direction (pan); it never attenuates.
    alDistanceModel(AL_NONE);
    ChannelSource(kMusicChannel);
}

void tvxAudio::CloseOutput() {
    if (!g_output.device) return;
    if (g_output.context) {
        alcMakeContextCurrent(g_output.context);
        if (audio) {
            for (tvxChannel& channel : audio->channels) {
                if (!channel.source) continue;
                alSourceStop(channel.source);
                alSourcei(channel.source, AL_BUFFER, 0);
                alDeleteSources(1, &channel.source);
                channel.source = 0;
            }
        }
        alcMakeContextCurrent(nullptr);
        alcDestroyContext(g_output.context);
        g_output.context = nullptr;
    }
    alcCloseDevice(g_output.device);
    g_output.device = nullptr;
    if (audio) {
        audio->alcDevice = nullptr;
        audio->alcContext = nullptr;
    }
}

tvxAudio::~tvxAudio() {
    // Only a replaced device is ever destroyed (tests); its sources go back
    // to OpenAL so that the current device can have them.
    // Samples are not touched here: they may have been destroyed before
    // this device, and each gives up its own buffer when it goes.
    for (tvxChannel& channel : channels)
        if (channel.source) alDeleteSources(1, &channel.source);
    if (audio == this) audio = nullptr;
}

// [SECTION] Sources ----------------------------------------------------------

// A channel keeps the source it obtained. When OpenAL refuses a new one, the
// channel takes the source of the first sound channel whose sound is over
// (ChannelState 0); with none, it has no source and reports 0.
unsigned int tvxAudio::ChannelSource(int channel) {
    tvxChannel& record = channels[channel];
    if (record.source) return record.source;
    alGetError();
    ALuint source = 0;
    alGenSources(1, &source);
    if (alGetError() != AL_NO_ERROR) {
        source = 0;
        for (int other = 0; other < kSoundChannels; ++other) {
            if (channels[other].source && ChannelState(other) == 0) {
                source = channels[other].source;
                channels[other].source = 0;
                break;
            }
        }
    }
    record.source = source;
    return source;
}

// [SECTION] Samples ----------------------------------------------------------

// A buffer can be deleted only when no source holds it: sources whose sound
// ended let go of their buffer first; a buffer OpenAL still refuses to delete
// stays in the list for the next attempt.
void tvxAudio::ReleaseDiscarded() {
    std::vector<unsigned int>& names = tvxSample::discarded;
    if (names.empty()) return;
    for (tvxChannel& channel : channels)
        if (channel.state != 0 && channel.source && SourceState(channel.source) == AL_STOPPED)
            alSourcei(channel.source, AL_BUFFER, 0);
    size_t kept = 0;
    for (unsigned int name : names) {
        alGetError();
        alDeleteBuffers(1, &name);
        if (alGetError() != AL_NO_ERROR) names[kept++] = name;
    }
    names.resize(kept);
}

tvxSample* tvxAudio::LoadSample(String path) {
    ReleaseDiscarded();
    tvxSample* sample = gc_new<tvxSample>();
    if (!LoadSample__UNSAFE__(sample, path)) return nullptr;
    return sample;
}

bool tvxAudio::LoadSample__UNSAFE__(tvxSample* sample, String path) {
    ZqGame* host = ZqGame::_game;
    if (!host) return false;
    int length = 0, channelCount = 0, format = 0, hertz = 0;
    unsigned char* data = host->LoadAudioData(path, &length, &channelCount, &format, &hertz);
    if (!data) return false;
    // A block OpenAL cannot take (more than two channels, samples wider
    // than 16 bits, no rate) is refused here instead of being handed over.
    ALenum alFormat = OpenALFormat(channelCount, format);
    if (alFormat == 0 || hertz <= 0) {
        std::free(data);
        return false;
    }
    ALuint buffer = 0;
    alGenBuffers(1, &buffer);
    alBufferData(buffer, alFormat, data, format * channelCount * length, hertz);
    std::free(data);
    sample->Discard();  // a reloaded sample gives up its old buffer
    sample->buffer = buffer;
    return true;
}

// [SECTION] Channels ---------------------------------------------------------

int tvxAudio::PlaySample(tvxSample* sample, int channel, int flags) {
    ReleaseDiscarded();
    if (!ValidChannel(channel) || !sample) return -1;
    ALuint source = ChannelSource(channel);
    if (!source) return -1;
    tvxChannel& record = channels[channel];
    alSourceStop(source);
    alSourcei(source, AL_BUFFER, static_cast<ALint>(sample->buffer));
    alSourcei(source, AL_LOOPING, flags != 0 ? AL_TRUE : AL_FALSE);
    alSourcePlay(source);
    gc_assign(record.sample, sample);
    record.flags = flags;
    record.state = 1;
    return 0;
}

void tvxAudio::StopChannel(int channel) {
    if (!ValidChannel(channel)) return;
    tvxChannel& record = channels[channel];
    if (record.state == 0) return;
    alSourceStop(record.source);
    record.state = 0;
}

void tvxAudio::PauseChannel(int channel) {
    if (!ValidChannel(channel)) return;
    tvxChannel& record = channels[channel];
    if (record.state != 1) return;
    if (SourceState(record.source) == AL_STOPPED) {
        record.state = 0;  // the sound had already ended
    } else {
        alSourcePause(record.source);
        record.state = 2;
    }
}

void tvxAudio::ResumeChannel(int channel) {
    if (!ValidChannel(channel)) return;
    tvxChannel& record = channels[channel];
    if (record.state != 2) return;
    alSourcePlay(record.source);
    record.state = 1;
}

int tvxAudio::ChannelState(int channel) {
    if (!ValidChannel(channel)) return 0;
    tvxChannel& record = channels[channel];
    if (record.state == 1 && SourceState(record.source) == AL_STOPPED) record.state = 0;
    return record.state;
}

void tvxAudio::SetVolume(int channel, float volume) {
    if (!ValidChannel(channel)) return;
    alSourcef(ChannelSource(channel), AL_GAIN, volume);
}

void tvxAudio::SetPan(int channel, float pan) {
    if (!ValidChannel(channel)) return;
    alSource3f(ChannelSource(channel), AL_POSITION, std::sin(pan), 0.0f, -std::cos(pan));
}

void tvxAudio::SetRate(int channel, float rate) {
    if (!ValidChannel(channel)) return;
    alSourcef(ChannelSource(channel), AL_PITCH, rate);
}

// [SECTION] Focus ------------------------------------------------------------

void tvxAudio::Suspend() {
    for (tvxChannel& channel : channels)
        if (channel.state == 1 && channel.source && SourceState(channel.source) == AL_PLAYING)
            alSourcePause(channel.source);
}

void tvxAudio::Resume() {
    for (tvxChannel& channel : channels)
        if (channel.state == 1 && channel.source && SourceState(channel.source) == AL_PAUSED)
            alSourcePlay(channel.source);
}

// [SECTION] Music ------------------------------------------------------------

// Music is loaded whole and played as a sample on channel 32. The sample of
// the last file stays in the cache; while the file is unchanged (same stamp)
// a new PlayMusic replays it instead of decoding the file again.
int tvxAudio::PlayMusic(String path, int flags) {
    StopMusic();
    tvxFileStamp stamp;
    bool stamped = tvxStampFile(ZqGame::_game, path, &stamp);
    if (stamped && musicSample && musicSample->buffer != 0 && stamp == musicStamp) {
        PlaySample(musicSample, kMusicChannel, flags);
        return 0;
    }

    // The cached tune is out of date, or another file is asked for: its
    // buffer is released once the music source lets go of it.
    if (musicSample) musicSample->Discard();
    musicSample = nullptr;
    musicStamp = tvxFileStamp();

    tvxSample* sample = LoadSample(path);
    if (!sample) return -1;
    if (stamped) {
        gc_assign(musicSample, sample);
        musicStamp = std::move(stamp);
    }
    PlaySample(sample, kMusicChannel, flags);
    return 0;
}

void tvxAudio::StopMusic() {
    StopChannel(kMusicChannel);
}
void tvxAudio::PauseMusic() {
    PauseChannel(kMusicChannel);
}
void tvxAudio::ResumeMusic() {
    ResumeChannel(kMusicChannel);
}
int tvxAudio::MusicState() {
    return ChannelState(kMusicChannel);
}
void tvxAudio::SetMusicVolume(float volume) {
    SetVolume(kMusicChannel, volume);
}

// [SECTION] Collector --------------------------------------------------------

void tvxAudio::mark() {
    for (tvxChannel& channel : channels)
        if (channel.state != 0 && channel.source && SourceState(channel.source) != AL_STOPPED)
            gc_enqueue(channel.sample);
    gc_enqueue(musicSample);
}
