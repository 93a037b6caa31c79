// Helpers for the audio tests: a temporary folder, the command-line tools
// that make independent test files (sox, oggenc, oggdec), file bytes, a host
// whose LoadAudioData is the real loader, and OpenAL Soft configuration.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "audio/audio_file.h"
#include "runtime/lang/game.h"

// A fresh folder under $TMPDIR (or /tmp), removed with everything in it.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

// Runs a shell command line; true when it exits with status 0.
bool RunTool(const std::string& command);
// The command's standard output (trailing white space trimmed).
std::string ToolOutput(const std::string& command);
// Makes `file` with sox from no input: `format` are sox's output options
// (e.g. "-r 22050 -b 16 -c 2"), `effects` its effects (e.g. "synth 0.5 sine 440").
bool MakeSound(const std::string& file, const std::string& format, const std::string& effects);

std::vector<uint8_t> ReadBytes(const std::string& file);

// What is wrong with the header of a wave file that OpenAL Soft's wave
// driver wrote, or "" when its RIFF and data sizes match the file's length
// and it holds at least a tenth of a second of sound. The driver writes the
// sizes only when the device is closed.
std::string WaveHeaderProblem(const std::string& file);
// The environment for the OpenAL Soft wave driver writing to `file` (its
// configuration beside it), for this process and the processes it starts.
void UseWaveOutput(const std::string& file);
void WriteBytes(const std::string& file, const std::vector<uint8_t>& bytes);

// Tells OpenAL Soft to read `text` as its last configuration file. Must run
// before the first OpenAL call of the process.
void UseAlsoftConfig(const TempDir& dir, const std::string& text);

// Waits until OpenAL reports the source stopped (its sound ended), polling
// the source without touching any channel state; false after the timeout.
bool WaitForSourceToStop(unsigned int source, double timeoutSeconds = 5.0);

// The host as the program has it for sound: files opened by path, audio
// decoded by tvxLoadAudioFile.
class AudioTestHost : public ZqGame {
  public:
    unsigned char* LoadAudioData(String path, int* length, int* channels, int* format, int* hertz) override {
        return tvxLoadAudioFile(this, path, length, channels, format, hertz);
    }
};

// Installs one AudioTestHost as ZqGame::_game (once per process).
void InstallAudioTestHost();
