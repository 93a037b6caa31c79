// Byte buffers (see databuffer.h for ownership and the clamping rule).
#include "runtime/lang/databuffer.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>

#include "runtime/lang/errors.h"
#include "runtime/lang/game.h"

namespace {

// Bytes available from `start` in a range of `size`; none when `start` lies
// outside it.
int64_t room(int start, int size) {
    return (start < 0 || start > size) ? 0 : int64_t{size} - start;
}

// min(count, each room), never below 0.
int clamp_count(int count, std::initializer_list<int64_t> rooms) {
    int64_t n = count;
    for (int64_t r : rooms) n = std::min(n, r);
    return static_cast<int>(std::max<int64_t>(n, 0));
}

enum class Encoding { utf8, ascii };

Encoding encoding_named(const String& name) {
    if (name == String("utf8")) return Encoding::utf8;
    if (name == String("ascii")) return Encoding::ascii;
    zqError(String("Invalid string encoding:") + name);
}

}  // namespace

// [SECTION] ZqDataBuffer -----------------------------------------------------

ZqDataBuffer::~ZqDataBuffer() {
    std::free(data);
}

bool ZqDataBuffer::_New(int size, void* memory) {
    if (data) return false;
    if (size < 0) size = 0;
    if (!memory) memory = std::malloc(size > 0 ? static_cast<size_t>(size) : 1);
    if (!memory) return false;
    data = static_cast<unsigned char*>(memory);
    length = size;
    return true;
}

bool ZqDataBuffer::_Load(String path) {
    if (data) return false;
    data = ZqGame::_game->LoadData(path, &length);
    return data != nullptr;
}

void ZqDataBuffer::Discard() {
    std::free(data);
    data = nullptr;
    length = 0;
}

// [SECTION] c_DataBuffer -----------------------------------------------------

c_DataBuffer* c_DataBuffer::m_new(int size) {
    if (!_New(size)) zqError(String("Allocate DataBuffer failed"));
    return this;
}

c_DataBuffer* c_DataBuffer::m_Load(String path) {
    c_DataBuffer* buffer = gc_new<c_DataBuffer>();
    return buffer->_Load(path) ? buffer : nullptr;
}

void c_DataBuffer::p_PokeBytes(int address, Array<int> bytes, int offset, int count) {
    int n = clamp_count(count, {room(address, length), room(offset, bytes.Length())});
    for (int i = 0; i < n; ++i) data[address + i] = static_cast<unsigned char>(bytes[offset + i]);
}

void c_DataBuffer::p_PeekBytes(int address, Array<int> bytes, int offset, int count) {
    int n = clamp_count(count, {room(address, length), room(offset, bytes.Length())});
    for (int i = 0; i < n; ++i) bytes[offset + i] = static_cast<signed char>(data[address + i]);
}

Array<int> c_DataBuffer::p_PeekBytes2(int address, int count) {
    int n = clamp_count(count, {room(address, length)});
    Array<int> bytes(n);
    p_PeekBytes(address, bytes, 0, n);
    return bytes;
}

void c_DataBuffer::p_CopyBytes(int address, c_DataBuffer* destination, int destinationAddress, int count) {
    if (!destination) return;
    int n = clamp_count(count, {room(address, length), room(destinationAddress, destination->length)});
    // memmove copies overlapping ranges within one buffer correctly in
    // either direction.
    if (n > 0) std::memmove(destination->data + destinationAddress, data + address, static_cast<size_t>(n));
}

int c_DataBuffer::p_PokeString(int address, String text, String encoding) {
    switch (encoding_named(encoding)) {
        case Encoding::utf8: {
            std::string bytes = text.ToUtf8();
            int full = static_cast<int>(std::min<size_t>(bytes.size(), INT32_MAX));
            int n = clamp_count(full, {room(address, length)});
            if (n > 0) std::memcpy(data + address, bytes.data(), static_cast<size_t>(n));
            return full;
        }
        case Encoding::ascii: {
            int n = clamp_count(text.Length(), {room(address, length)});
            for (int i = 0; i < n; ++i) data[address + i] = static_cast<unsigned char>(text[i]);
            return text.Length();
        }
    }
    return 0;
}

String c_DataBuffer::p_PeekString(int address, int count, String encoding) {
    Encoding kind = encoding_named(encoding);
    int n = clamp_count(count, {room(address, length)});
    if (n == 0) return String();
    const unsigned char* bytes = data + address;
    if (kind == Encoding::utf8) {
        String text;
        if (String::DecodeUtf8(bytes, n, text)) return text;
        // Malformed: one unit per byte, widened as a signed 8-bit value.
        std::u16string units(static_cast<size_t>(n), u'\0');
        for (int i = 0; i < n; ++i) units[i] = static_cast<Char>(static_cast<signed char>(bytes[i]));
        return String(units);
    }
    return String(std::u16string(bytes, bytes + n));
}

String c_DataBuffer::p_PeekString2(int address, String encoding) {
    int64_t rest = int64_t{length} - address;  // no overflow for any address
    return p_PeekString(address, static_cast<int>(std::clamp<int64_t>(rest, 0, INT32_MAX)), encoding);
}
