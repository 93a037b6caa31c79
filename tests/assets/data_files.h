// Readers for the generated data files, for the asset tests: whole files,
// PNG pixels, 16-bit PCM WAV contents and recursive file listings.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace assets_test {

std::optional<std::vector<uint8_t>> readFile(const std::string& path);

struct Png {
    int width = 0, height = 0;
    std::vector<uint8_t> rgba;  // 4 channels, straight alpha
    uint8_t alpha(int x, int y) const { return rgba[(size_t(y) * width + x) * 4 + 3]; }
};
// Decodes a PNG file to RGBA; nullopt when it cannot be decoded.
std::optional<Png> loadPng(const std::string& path);
// True when any pixel of the rectangle has non-zero alpha.
bool anyOpaque(const Png& png, int x, int y, int w, int h);

struct Wav {
    int format = 0, channels = 0, rate = 0, bits = 0;
    std::vector<int16_t> samples;  // only filled for 16-bit PCM
};
// Parses a RIFF WAVE file; nullopt when the structure is broken.
std::optional<Wav> loadWav(const std::string& path);

// Every regular file below `root`, as paths relative to it, sorted.
std::vector<std::string> listFiles(const std::string& root);

}  // namespace assets_test
