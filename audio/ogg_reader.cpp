// LoadOGG: decodes a whole Ogg Vorbis stream through stb_vorbis into one
// growing buffer of interleaved 16-bit samples.
#include "audio/ogg_reader.h"

#include <climits>
#include <cstdlib>

// The implementation is in libstb; include the declarations only.
#define STB_VORBIS_HEADER_ONLY
#include <stb_vorbis.h>

namespace {

// Frames stb_vorbis may hand back in one call, per channel (a long Vorbis
// block gives at most half its size, 4096 for the largest blocks).
constexpr int kFrameValues = 4096;
// Longest decoded stream, in 16-bit values: 2 GiB of samples.
constexpr long kMaxValues = INT_MAX / 2;

}  // namespace

unsigned char* LoadOGG(std::FILE* file, int* length, int* channels, int* format, int* hertz) {
    int error = 0;
    stb_vorbis* vorbis = stb_vorbis_open_file(file, 0, &error, nullptr);
    if (!vorbis) return nullptr;
    stb_vorbis_info info = stb_vorbis_get_info(vorbis);
    const int channelCount = info.channels;
    const long reserve = static_cast<long>(channelCount) * kFrameValues;

    // Capacity and use are counted in 16-bit values; the buffer doubles
    // whenever less than one call's worth of room would remain.
    long capacity = reserve;
    long used = 0;
    auto* values = static_cast<short*>(std::malloc(static_cast<size_t>(capacity) * sizeof(short)));
    while (values) {
        if (capacity - used < reserve) {
            // The decoded bytes must stay countable in an int (OpenAL's size).
            if (capacity > kMaxValues / 2) {
                std::free(values);
                values = nullptr;
                break;
            }
            auto* grown =
                static_cast<short*>(std::realloc(values, static_cast<size_t>(capacity) * 2 * sizeof(short)));
            if (!grown) {
                std::free(values);
                values = nullptr;
                break;
            }
            values = grown;
            capacity *= 2;
        }
        int frames = stb_vorbis_get_frame_short_interleaved(vorbis, channelCount, values + used,
                                                            static_cast<int>(capacity - used));
        if (frames == 0) break;
        used += static_cast<long>(frames) * channelCount;
    }
    stb_vorbis_close(vorbis);
    if (!values) return nullptr;

    if (auto* shrunk = static_cast<short*>(std::realloc(values, used > 0 ? used * sizeof(short) : 1)))
        values = shrunk;
    *length = static_cast<int>(used / channelCount);
    *channels = channelCount;
    *format = 2;
    *hertz = static_cast<int>(info.sample_rate);
    return reinterpret_cast<unsigned char*>(values);
}
