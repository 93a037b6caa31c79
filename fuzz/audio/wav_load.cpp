// Fuzz target wav_load: the WAV reader on arbitrary bytes. It must never
// crash, and never allocate more than the input holds: whatever it returns
// is a part of the input.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "audio/wav_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;  // fmemopen refuses an empty buffer
    std::FILE* file = ::fmemopen(const_cast<uint8_t*>(data), size, "rb");
    if (!file) return 0;
    int length = -1, channels = -1, format = -1, hertz = -1;
    unsigned char* block = LoadWAV(file, &length, &channels, &format, &hertz);
    std::fclose(file);
    if (block) {
        if (length < 0 || channels <= 0 || format <= 0 || hertz < 0) std::abort();
        // The samples came out of the input, so they cannot outnumber it.
        if (static_cast<uint64_t>(length) * channels * format > size) std::abort();
        std::free(block);
    }
    return 0;
}
