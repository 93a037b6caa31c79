// LoadWAV: a sequential RIFF WAVE reader. Every number is little-endian.
// See wav_reader.h for what it accepts and the allocation bound.
#include "audio/wav_reader.h"

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

// A stream reader that knows how many bytes are left, so that no chunk size
// is trusted beyond the end of the file.
class ChunkReader {
  public:
    explicit ChunkReader(std::FILE* file) : file_(file) {
        long start = std::ftell(file);
        if (start < 0 || std::fseek(file, 0, SEEK_END) != 0) return;
        long end = std::ftell(file);
        if (end < start || std::fseek(file, start, SEEK_SET) != 0) return;
        remaining_ = end - start;
    }

    bool Bytes(void* out, long count) {
        if (count > remaining_) return false;
        if (std::fread(out, 1, static_cast<size_t>(count), file_) != static_cast<size_t>(count)) return false;
        remaining_ -= count;
        return true;
    }
    bool Tag(const char* expected) {
        char tag[4];
        return Bytes(tag, 4) && std::memcmp(tag, expected, 4) == 0;
    }
    bool U16(uint32_t* out) {
        uint8_t b[2];
        if (!Bytes(b, 2)) return false;
        *out = b[0] | (uint32_t{b[1]} << 8);
        return true;
    }
    bool U32(uint32_t* out) {
        uint8_t b[4];
        if (!Bytes(b, 4)) return false;
        *out = b[0] | (uint32_t{b[1]} << 8) | (uint32_t{b[2]} << 16) | (uint32_t{b[3]} << 24);
        return true;
    }
    bool Skip(long count) {
        if (count > remaining_ || std::fseek(file_, count, SEEK_CUR) != 0) return false;
        remaining_ -= count;
        return true;
    }
    // The next `count` bytes in a new malloc'ed block (at least 1 byte long).
    unsigned char* Block(long count) {
        if (count > remaining_) return nullptr;
        auto* block = static_cast<unsigned char*>(std::malloc(count > 0 ? static_cast<size_t>(count) : 1));
        if (!block) return nullptr;
        if (!Bytes(block, count)) {
            std::free(block);
            return nullptr;
        }
        return block;
    }

  private:
    std::FILE* file_;
    long remaining_ = -1;  // -1: the stream cannot tell, so every read fails
};

}  // namespace

unsigned char* LoadWAV(std::FILE* file, int* length, int* channels, int* format, int* hertz) {
    ChunkReader in(file);
    uint32_t riffSize, fmtSize, code, channelCount, rate, byteRate, blockAlign, bits;
    if (!in.Tag("RIFF") || !in.U32(&riffSize) || !in.Tag("WAVE")) return nullptr;
    if (!in.Tag("fmt ") || !in.U32(&fmtSize)) return nullptr;
    if (!in.U16(&code) || code != 1) return nullptr;
    if (!in.U16(&channelCount) || !in.U32(&rate) || !in.U32(&byteRate) || !in.U16(&blockAlign) ||
        !in.U16(&bits))
        return nullptr;
    uint32_t bytesPerSample = bits >> 3;
    // No channels or sub-byte samples would make the frame size 0.
    if (channelCount == 0 || bytesPerSample == 0 || rate > INT_MAX) return nullptr;
    if (fmtSize > 16 && !in.Skip(static_cast<long>(fmtSize - 16))) return nullptr;

    for (;;) {
        char tag[4];
        uint32_t size;
        if (!in.Bytes(tag, 4) || !in.U32(&size)) return nullptr;  // end of file without "data"
        if (std::memcmp(tag, "data", 4) != 0) {
            if (!in.Skip(static_cast<long>(size))) return nullptr;
            continue;
        }
        if (size > INT_MAX) return nullptr;
        unsigned char* block = in.Block(static_cast<long>(size));
        if (!block) return nullptr;
        *length = static_cast<int>(size / (channelCount * bytesPerSample));
        *channels = static_cast<int>(channelCount);
        *format = static_cast<int>(bytesPerSample);
        *hertz = static_cast<int>(rate);
        return block;
    }
}
