// Replays a fuzz corpus through one LLVMFuzzerTestOneInput target, so every
// committed corpus file (each fixed crash among them) is a regression test.
// Arguments are files or folders; folders are read one level deep, in name
// order. An empty or missing corpus folder is an error: it would hide a
// mistyped path behind a passing test.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace fs = std::filesystem;

static void replay(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // A distinct heap copy, so the sanitizers see reads past the end.
    std::vector<uint8_t> exact(bytes.begin(), bytes.end());
    LLVMFuzzerTestOneInput(exact.empty() ? nullptr : exact.data(), exact.size());
}

int main(int argc, char** argv) {
    size_t count = 0;
    for (int i = 1; i < argc; ++i) {
        fs::path arg(argv[i]);
        std::vector<fs::path> files;
        if (fs::is_directory(arg)) {
            for (const auto& entry : fs::directory_iterator(arg))
                if (entry.is_regular_file()) files.push_back(entry.path());
            std::sort(files.begin(), files.end());
        } else if (fs::is_regular_file(arg)) {
            files.push_back(arg);
        }
        for (const auto& f : files) replay(f);
        count += files.size();
    }
    std::printf("replayed %zu inputs\n", count);
    return count > 0 ? 0 : 1;
}
