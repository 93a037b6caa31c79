// skitterwind-levels: the game's generated levels as data and pictures.
//
//   skitterwind-levels json FIRST [LAST]   levels FIRST..LAST as a JSON array
//   skitterwind-levels png LEVEL FILE      a map of one level as a PNG
//   skitterwind-levels atlas FILE          levels 1..100 as a contact sheet
//
// Built on the game library without a window or sound. Exit status 0 on
// success, 1 on a file that cannot be written, 2 on bad arguments.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/levels/level_map.h"
#include "tools/levels/level_source.h"

namespace {

constexpr int kMaxLevel = 100000;

int Usage() {
    std::fprintf(stderr,
                 "usage: skitterwind-levels json FIRST [LAST]\n"
                 "       skitterwind-levels png LEVEL FILE\n"
                 "       skitterwind-levels atlas FILE\n"
                 "levels are numbered from 1 (at most %d)\n",
                 kMaxLevel);
    return 2;
}

// A level number 1..kMaxLevel, or 0 for anything else.
int LevelArg(const char* s) {
    char* end = nullptr;
    long v = std::strtol(s, &end, 10);
    return (*s != '\0' && *end == '\0' && v >= 1 && v <= kMaxLevel) ? static_cast<int>(v) : 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    std::string command = argv[1];
    if (command == "json" && (argc == 3 || argc == 4)) {
        int first = LevelArg(argv[2]);
        int last = argc == 4 ? LevelArg(argv[3]) : first;
        if (first == 0 || last < first) return Usage();
        std::vector<levels::Level> built;
        for (int n = first; n <= last; ++n) built.push_back(levels::Build(n));
        std::fputs(levels::ToJson(built).c_str(), stdout);
        return 0;
    }
    if (command == "png" && argc == 4) {
        int level = LevelArg(argv[2]);
        if (level == 0) return Usage();
        if (!levels::WriteMapPng(levels::Build(level), argv[3])) {
            std::fprintf(stderr, "skitterwind-levels: cannot write %s\n", argv[3]);
            return 1;
        }
        return 0;
    }
    if (command == "atlas" && argc == 3) {
        if (!levels::WriteAtlasPng(argv[2])) {
            std::fprintf(stderr, "skitterwind-levels: cannot write %s\n", argv[2]);
            return 1;
        }
        return 0;
    }
    return Usage();
}
