// Reading a stream into memory (see readstream.h).
#include "runtime/lang/readstream.h"

bool zq_ReadStreamHead(std::FILE* stream, std::vector<uint8_t>& bytes, size_t limit) {
    uint8_t chunk[4096];
    while (bytes.size() < limit) {
        size_t want = std::min(sizeof chunk, limit - bytes.size());
        size_t n = std::fread(chunk, 1, want, stream);
        bytes.insert(bytes.end(), chunk, chunk + n);
        if (n < want) break;
    }
    if (std::ferror(stream)) {
        bytes.clear();
        return false;
    }
    return true;
}

bool zq_ReadWholeStream(std::FILE* stream, std::vector<uint8_t>& bytes) {
    // One byte past the limit tells a stream that is too long from one
    // that ends exactly there.
    if (!zq_ReadStreamHead(stream, bytes, zq_max_loaded_bytes + 1) || bytes.size() > zq_max_loaded_bytes) {
        bytes.clear();
        return false;
    }
    return true;
}
