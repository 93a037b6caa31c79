// The text decoder on arbitrary file bytes: never reads outside the input,
// never yields more units than bytes, and whatever it yields survives a
// trip through the UTF-8 encoder and the strict decoder unchanged.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "runtime/lang/string.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 20)) return 0;
    int count = static_cast<int>(size);
    String text = String::FromFileBytes(data, count);
    check(text.Length() <= count);

    std::string bytes = text.ToUtf8();
    String back;
    check(String::DecodeUtf8(reinterpret_cast<const uint8_t*>(bytes.data()), static_cast<int>(bytes.size()),
                             back));
    check(back == text);

    // The stream reader gives the same text as the byte decoder.
    if (size > 0) {
        std::FILE* stream = fmemopen(const_cast<uint8_t*>(data), size, "rb");
        if (stream) {
            check(String::Load(stream) == text);
            std::fclose(stream);
        }
    }
    return 0;
}
