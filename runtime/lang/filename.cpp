// The lossless file-name codec (see filename.h).
#include "runtime/lang/filename.h"

namespace {

constexpr unsigned kEscapeBase = 0xDC00;  // + byte, for bytes 0x80..0xFF

bool continuation(const std::string& bytes, size_t at) {
    return at < bytes.size() && (static_cast<unsigned char>(bytes[at]) & 0xC0) == 0x80;
}

unsigned byte_at(const std::string& bytes, size_t at) {
    return static_cast<unsigned char>(bytes[at]);
}

// Length of the well-formed, shortest-form UTF-8 sequence at `at` and its
// code point, or 0 when the byte starts none.
int sequence(const std::string& bytes, size_t at, unsigned& code) {
    unsigned b = byte_at(bytes, at);
    if (b < 0x80) {
        code = b;
        return 1;
    }
    if ((b & 0xE0) == 0xC0 && continuation(bytes, at + 1)) {
        code = (b & 0x1F) << 6 | (byte_at(bytes, at + 1) & 0x3F);
        return code >= 0x80 ? 2 : 0;
    }
    if ((b & 0xF0) == 0xE0 && continuation(bytes, at + 1) && continuation(bytes, at + 2)) {
        code = (b & 0x0F) << 12 | (byte_at(bytes, at + 1) & 0x3F) << 6 | (byte_at(bytes, at + 2) & 0x3F);
        bool surrogate = code >= 0xD800 && code <= 0xDFFF;
        return code >= 0x800 && !surrogate ? 3 : 0;
    }
    if ((b & 0xF8) == 0xF0 && continuation(bytes, at + 1) && continuation(bytes, at + 2) &&
        continuation(bytes, at + 3)) {
        code = (b & 0x07) << 18 | (byte_at(bytes, at + 1) & 0x3F) << 12 |
               (byte_at(bytes, at + 2) & 0x3F) << 6 | (byte_at(bytes, at + 3) & 0x3F);
        return code >= 0x10000 && code <= 0x10FFFF ? 4 : 0;
    }
    return 0;
}

void put_utf8(std::string& out, unsigned code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | code >> 6);
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | code >> 12);
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | code >> 18);
        out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

}  // namespace

String zq_FileNameText(const std::string& bytes) {
    std::u16string units;
    units.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size();) {
        unsigned code = 0;
        int n = sequence(bytes, i, code);
        if (n == 0) {
            units += static_cast<Char>(kEscapeBase + byte_at(bytes, i));
            i += 1;
        } else if (code >= 0x10000) {
            code -= 0x10000;
            units += static_cast<Char>(0xD800 + (code >> 10));
            units += static_cast<Char>(0xDC00 + (code & 0x3FF));
            i += 4;
        } else {
            units += static_cast<Char>(code);
            i += static_cast<size_t>(n);
        }
    }
    return String(units);
}

bool zq_FileNameBytes(const String& text, std::string& out) {
    out.clear();
    out.reserve(static_cast<size_t>(text.Length()));
    for (int i = 0; i < text.Length(); ++i) {
        unsigned u = text[i];
        if (u == 0) return false;
        bool high = u >= 0xD800 && u <= 0xDBFF;
        unsigned next = i + 1 < text.Length() ? text[i + 1] : 0;
        if (high && next >= 0xDC00 && next <= 0xDFFF) {
            put_utf8(out, 0x10000 + ((u - 0xD800) << 10) + (next - 0xDC00));
            ++i;
        } else if (u >= kEscapeBase + 0x80 && u <= kEscapeBase + 0xFF) {
            out += static_cast<char>(u - kEscapeBase);
        } else {
            put_utf8(out, u);
        }
    }
    return true;
}
