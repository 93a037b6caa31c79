// Reading and writing display-list files (see list_file.h).
#include "bench/graphics/list_file.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

// The record elements a file keeps, in file order.
constexpr int kKept[] = {0, 1, 2, 3, 4, 5, 6, 7, 10, 11, 12, 13};

}  // namespace

bool ReadListFile(const std::string& path, ListFile& out, std::string& error) {
    std::ifstream in(path);
    if (!in) {
        error = "cannot open " + path;
        return false;
    }
    out = ListFile();
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream words(line);
        std::string key;
        words >> key;
        bool ok = true;
        if (key == "size") {
            ok = static_cast<bool>(words >> out.width >> out.height);
        } else if (key == "scale") {
            ok = static_cast<bool>(words >> out.sx >> out.sy >> out.marginX >> out.marginY);
        } else if (key == "imagescale") {
            ok = static_cast<bool>(words >> out.imageScale);
        } else if (key == "clear") {
            ok = static_cast<bool>(words >> out.clear[0] >> out.clear[1] >> out.clear[2] >> out.clear[3]);
        } else if (key == "image") {
            ListImage image;
            ok = static_cast<bool>(words >> image.slot >> image.file >> image.frameWidth >>
                                   image.frameHeight >> image.frames);
            out.images.push_back(image);
        } else if (key == "record") {
            std::array<float, 15> r{};
            for (int k : kKept) ok = ok && static_cast<bool>(words >> r[static_cast<size_t>(k)]);
            out.records.push_back(r);
        } else {
            ok = false;
        }
        if (!ok) {
            error = path + ":" + std::to_string(number) + ": cannot read \"" + line + "\"";
            return false;
        }
    }
    return true;
}

bool WriteListFile(const std::string& path, const ListFile& list, const std::string& comment) {
    std::FILE* f = std::fopen(path.c_str(), "w");
    if (!f) return false;
    std::istringstream lines(comment);
    for (std::string line; std::getline(lines, line);) std::fprintf(f, "# %s\n", line.c_str());
    std::fprintf(f, "size %d %d\n", list.width, list.height);
    std::fprintf(f, "scale %.9g %.9g %.9g %.9g\n", list.sx, list.sy, list.marginX, list.marginY);
    std::fprintf(f, "imagescale %.9g\n", list.imageScale);
    std::fprintf(f, "clear %.9g %.9g %.9g %.9g\n", list.clear[0], list.clear[1], list.clear[2],
                 list.clear[3]);
    for (const ListImage& i : list.images)
        std::fprintf(f, "image %d %s %d %d %d\n", i.slot, i.file.c_str(), i.frameWidth, i.frameHeight,
                     i.frames);
    for (const auto& r : list.records) {
        std::fprintf(f, "record");
        for (int k : kKept) std::fprintf(f, " %.9g", r[static_cast<size_t>(k)]);
        std::fprintf(f, "\n");
    }
    return std::fclose(f) == 0;
}
