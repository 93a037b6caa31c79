// Helpers for the audio tests (see sound_tools.h).
#include "sound_tools.h"

#include <AL/al.h>

#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

TempDir::TempDir() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/tolvar-audio-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (::mkdtemp(buffer.data())) path_ = buffer.data();
}

TempDir::~TempDir() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
}

bool RunTool(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

std::string ToolOutput(const std::string& command) {
    std::string out;
    if (FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r")) {
        char chunk[256];
        size_t n;
        while ((n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) out.append(chunk, n);
        ::pclose(pipe);
    }
    while (!out.empty() && std::isspace(static_cast<unsigned char>(out.back()))) out.pop_back();
    return out;
}

bool MakeSound(const std::string& file, const std::string& format, const std::string& effects) {
    return RunTool("sox -n " + format + " '" + file + "' " + effects);
}

std::vector<uint8_t> ReadBytes(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& file, const std::vector<uint8_t>& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void UseAlsoftConfig(const TempDir& dir, const std::string& text) {
    std::string file = dir / "alsoft.conf";
    WriteBytes(file, std::vector<uint8_t>(text.begin(), text.end()));
    ::setenv("ALSOFT_CONF", file.c_str(), 1);
}

namespace {

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

}  // namespace

std::string WaveHeaderProblem(const std::string& file) {
    std::vector<uint8_t> b = ReadBytes(file);
    if (b.size() < 44 || std::string(b.begin(), b.begin() + 4) != "RIFF")
        return file + ": no RIFF header (" + std::to_string(b.size()) + " bytes)";
    if (Le32(b, 4) != b.size() - 8)
        return "RIFF size " + std::to_string(Le32(b, 4)) + " for a file of " + std::to_string(b.size());
    for (size_t at = 12; at + 8 <= b.size(); at += 8 + Le32(b, at + 4)) {
        if (std::string(b.begin() + at, b.begin() + at + 4) != "data") continue;
        const size_t data = b.size() - at - 8;
        if (Le32(b, at + 4) != data)
            return "data size " + std::to_string(Le32(b, at + 4)) + " for " + std::to_string(data) + " bytes";
        if (data < 4410) return "almost no sound: " + std::to_string(data) + " bytes";
        return "";
    }
    return "no data chunk";
}

void UseWaveOutput(const std::string& file) {
    const std::string config = file + ".conf",
                      text = "[general]\ndrivers = wave\n[wave]\nfile = " + file + "\n";
    WriteBytes(config, std::vector<uint8_t>(text.begin(), text.end()));
    ::setenv("ALSOFT_CONF", config.c_str(), 1);
    ::setenv("ALSOFT_DRIVERS", "wave", 1);
}

void InstallAudioTestHost() {
    static AudioTestHost host;
    ZqGame::_game = &host;
}

bool WaitForSourceToStop(unsigned int source, double timeoutSeconds) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    for (;;) {
        ALint state = AL_STOPPED;
        alGetSourcei(source, AL_SOURCE_STATE, &state);
        if (state == AL_STOPPED) return true;
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}
