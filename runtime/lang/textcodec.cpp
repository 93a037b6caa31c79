// Text encoding and decoding: UTF-8 output for the console, the state file
// and data buffers; encoding detection for text files.
//
// The decoder accepts exactly one- to three-byte UTF-8 (overlong forms and
// encoded surrogates as they come); anything else, including a sequence cut
// off by the end of the data, makes the caller fall back to single bytes.
#include <cstdlib>
#include <vector>

#include "runtime/lang/readstream.h"
#include "runtime/lang/string.h"

void String::AppendUtf8(std::string& out) const {
    for (int i = 0; i < Length(); ++i) {
        unsigned u = (*this)[i];
        if (u < 0x80) {
            out += static_cast<char>(u);
        } else if (u < 0x800) {
            out += static_cast<char>(0xC0 + (u >> 6));
            out += static_cast<char>(0x80 + (u & 0x3F));
        } else {
            out += static_cast<char>(0xE0 + (u >> 12));
            out += static_cast<char>(0x80 + ((u >> 6) & 0x3F));
            out += static_cast<char>(0x80 + (u & 0x3F));
        }
    }
}

std::string String::ToUtf8() const {
    std::string out;
    out.reserve(static_cast<size_t>(Length()));
    AppendUtf8(out);
    return out;
}

bool String::DecodeUtf8(const uint8_t* bytes, int count, String& out) {
    std::u16string units;
    units.reserve(static_cast<size_t>(count));
    auto continuation = [&](int at) { return at < count && (bytes[at] & 0xC0) == 0x80; };
    for (int i = 0; i < count;) {
        unsigned b = bytes[i];
        if (b < 0x80) {
            units += static_cast<Char>(b);
            i += 1;
        } else if ((b & 0xE0) == 0xC0 && continuation(i + 1)) {
            units += static_cast<Char>(((b & 0x1F) << 6) | (bytes[i + 1] & 0x3F));
            i += 2;
        } else if ((b & 0xF0) == 0xE0 && continuation(i + 1) && continuation(i + 2)) {
            units +=
                static_cast<Char>(((b & 0x0F) << 12) | ((bytes[i + 1] & 0x3F) << 6) | (bytes[i + 2] & 0x3F));
            i += 3;
        } else {
            return false;
        }
    }
    out = String(units);
    return true;
}

namespace {

String utf16(const uint8_t* bytes, int count, bool bigEndian) {
    int n = (count - 2) / 2;
    std::u16string units(static_cast<size_t>(n), u'\0');
    for (int i = 0; i < n; ++i) {
        unsigned first = bytes[2 + 2 * i], second = bytes[3 + 2 * i];
        units[i] = static_cast<Char>(bigEndian ? (first << 8 | second) : (second << 8 | first));
    }
    return String(units);
}

}  // namespace

String String::FromFileBytes(const uint8_t* bytes, int count) {
    if (count <= 0) return String();
    if (count >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF) return utf16(bytes, count, true);
    if (count >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) return utf16(bytes, count, false);
    int start = (count >= 3 && bytes[0] == 239 && bytes[1] == 187 && bytes[2] == 191) ? 3 : 0;
    String text;
    if (DecodeUtf8(bytes + start, count - start, text)) return text;
    // Not UTF-8: every byte is one unit of the same value (Latin-1).
    std::u16string units(bytes + start, bytes + count);
    return String(units);
}

String String::Load(std::FILE* stream) {
    // A stream that cannot be read whole (a read error, or more than a
    // String can hold) loads as the empty string, like a missing file.
    std::vector<uint8_t> bytes;
    if (!zq_ReadWholeStream(stream, bytes)) return String();
    return FromFileBytes(bytes.data(), static_cast<int>(bytes.size()));
}
