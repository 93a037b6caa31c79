// Readers for generated data files (see data_files.h).
#include "data_files.h"

#include <stb_image.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace assets_test {

std::optional<std::vector<uint8_t>> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::optional<Png> loadPng(const std::string& path) {
    Png png;
    int channels = 0;
    stbi_uc* data = stbi_load(path.c_str(), &png.width, &png.height, &channels, 4);
    if (!data) return std::nullopt;
    png.rgba.assign(data, data + size_t(png.width) * png.height * 4);
    stbi_image_free(data);
    return png;
}

bool anyOpaque(const Png& png, int x, int y, int w, int h) {
    for (int yy = y; yy < y + h; ++yy)
        for (int xx = x; xx < x + w; ++xx)
            if (png.alpha(xx, yy) != 0) return true;
    return false;
}

namespace {
uint32_t le32(const uint8_t* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24;
}
uint16_t le16(const uint8_t* p) {
    return uint16_t(p[0] | p[1] << 8);
}
}  // namespace

std::optional<Wav> loadWav(const std::string& path) {
    auto bytes = readFile(path);
    if (!bytes || bytes->size() < 12) return std::nullopt;
    const std::vector<uint8_t>& b = *bytes;
    if (std::string(b.begin(), b.begin() + 4) != "RIFF" ||
        std::string(b.begin() + 8, b.begin() + 12) != "WAVE")
        return std::nullopt;
    Wav wav;
    bool haveFormat = false, haveData = false;
    for (size_t pos = 12; pos + 8 <= b.size();) {
        std::string id(b.begin() + pos, b.begin() + pos + 4);
        size_t size = le32(&b[pos + 4]);
        size_t body = pos + 8;
        if (body + size > b.size()) return std::nullopt;
        if (id == "fmt " && size >= 16) {
            wav.format = le16(&b[body]);
            wav.channels = le16(&b[body + 2]);
            wav.rate = int(le32(&b[body + 4]));
            wav.bits = le16(&b[body + 14]);
            haveFormat = true;
        } else if (id == "data") {
            if (wav.bits == 16)
                for (size_t i = 0; i + 1 < size; i += 2) wav.samples.push_back(int16_t(le16(&b[body + i])));
            haveData = true;
        }
        pos = body + size + (size & 1);
    }
    if (!haveFormat || !haveData) return std::nullopt;
    return wav;
}

std::vector<std::string> listFiles(const std::string& root) {
    std::vector<std::string> out;
    std::error_code ec;
    for (auto it = std::filesystem::recursive_directory_iterator(root, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
        if (it->is_regular_file()) out.push_back(std::filesystem::relative(it->path(), root).string());
    std::sort(out.begin(), out.end());
    return out;
}

}  // namespace assets_test
