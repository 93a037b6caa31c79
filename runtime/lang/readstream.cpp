// Reading a whole stream into memory (see readstream.h).
#include "runtime/lang/readstream.h"

bool zq_ReadWholeStream(std::FILE* stream, std::vector<uint8_t>& bytes) {
    uint8_t chunk[4096];
    for (;;) {
        size_t n = std::fread(chunk, 1, sizeof chunk, stream);
        if (bytes.size() + n > zq_max_loaded_bytes) {
            bytes.clear();
            return false;
        }
        bytes.insert(bytes.end(), chunk, chunk + n);
        if (n < sizeof chunk) break;
    }
    if (std::ferror(stream)) {
        bytes.clear();
        return false;
    }
    return true;
}
