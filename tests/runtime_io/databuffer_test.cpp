// Byte buffers: allocation and loading, and every peek, poke and copy with
// its clamping. Hostile addresses and counts must never reach memory outside
// the buffer or the array (the sanitizer build checks the "never").
#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "runtime/lang/databuffer.h"
#include "runtime/lang/game.h"

namespace {

// Hostile values for addresses, offsets and counts.
const int kHostile[] = {INT_MIN, INT_MIN + 1, -100000, -1, 0, 1, 3, 4, 5, 100000, INT_MAX - 1, INT_MAX};

c_DataBuffer* buffer_of(const std::vector<int>& bytes) {
    c_DataBuffer* buffer = gc_new<c_DataBuffer>()->m_new(static_cast<int>(bytes.size()));
    for (size_t i = 0; i < bytes.size(); ++i) buffer->data[i] = static_cast<unsigned char>(bytes[i]);
    return buffer;
}

std::vector<int> contents(c_DataBuffer* buffer) {
    return std::vector<int>(buffer->data, buffer->data + buffer->length);
}

std::vector<int> elements(const Array<int>& array) {
    return std::vector<int>(array.begin(), array.end());
}

void no_debugger() {
    if (!std::freopen("/dev/null", "r", stdin)) std::abort();
    dup2(2, 1);
}

}  // namespace

// [Rule] allocation, loading and discarding --------------------------------

TEST(DataBufferLife, NewAllocatesOnceOnly) {
    c_DataBuffer* buffer = gc_new<c_DataBuffer>()->m_new(16);
    EXPECT_NE(buffer->data, nullptr);
    EXPECT_EQ(buffer->length, 16);
    EXPECT_EXIT((no_debugger(), buffer->m_new(8)), testing::ExitedWithCode(TOLVAR_FATAL_EXIT_STATUS),
                "Tolvar Runtime Error : Allocate DataBuffer failed");
    EXPECT_FALSE(buffer->_New(4));
    buffer->Discard();
    EXPECT_EQ(buffer->data, nullptr);
    EXPECT_EQ(buffer->length, 0);
    EXPECT_TRUE(buffer->_New(4, std::malloc(4)));  // takes the block
    EXPECT_EQ(buffer->length, 4);
    EXPECT_EQ(gc_new<c_DataBuffer>()->m_new(-3)->length, 0);
}

TEST(DataBufferLife, LoadReadsTheFileThroughTheHost) {
    ZqGame host;
    ZqGame::_game = &host;
    char name[] = "/tmp/tolvar_buffer_XXXXXX";
    int fd = mkstemp(name);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, "\x01\x02\xFF", 3), 3);
    close(fd);

    c_DataBuffer* loaded = c_DataBuffer::m_Load(String(name));
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(contents(loaded), (std::vector<int>{1, 2, 255}));
    EXPECT_FALSE(loaded->_Load(String(name)));  // already has data
    EXPECT_EQ(c_DataBuffer::m_Load(String("/nonexistent/file")), nullptr);
    unlink(name);
    ZqGame::_game = nullptr;
}

// [Rule] byte peeks and pokes are clamped to buffer and array --------------

TEST(DataBufferBytes, PokeAndPeekClampToBothSides) {
    c_DataBuffer* buffer = buffer_of({0, 0, 0, 0});
    Array<int> source(std::vector<int>{0x101, -1, 0x80, 7, 9}.data(), 5);
    buffer->p_PokeBytes(1, source, 0, 10);  // 3 fit in the buffer
    EXPECT_EQ(contents(buffer), (std::vector<int>{0, 1, 255, 128}));
    buffer->p_PokeBytes(0, source, 4, 10);  // 1 left in the array
    EXPECT_EQ(contents(buffer), (std::vector<int>{9, 1, 255, 128}));

    Array<int> target(4);
    buffer->p_PeekBytes(1, target, 1, 10);
    EXPECT_EQ(elements(target), (std::vector<int>{0, 1, -1, -128}));
    EXPECT_EQ(elements(buffer->p_PeekBytes2(2, 99)), (std::vector<int>{-1, -128}));
    EXPECT_EQ(buffer->p_PeekBytes2(4, 1).Length(), 0);
}

TEST(DataBufferBytes, HostileAddressesOffsetsAndCountsTouchNothingOutside) {
    c_DataBuffer* buffer = buffer_of({1, 2, 3, 4});
    Array<int> array(std::vector<int>{5, 6, 7, 8}.data(), 4);
    for (int address : kHostile)
        for (int offset : kHostile)
            for (int count : kHostile) {
                buffer->p_PokeBytes(address, array, offset, count);
                buffer->p_PeekBytes(address, array, offset, count);
            }
    for (int address : kHostile)
        for (int count : kHostile) {
            Array<int> peeked = buffer->p_PeekBytes2(address, count);
            EXPECT_LE(peeked.Length(), 4);
        }
    // Only valid ranges ever moved data, and only between the two.
    for (int v : contents(buffer)) EXPECT_TRUE(v >= 1 && v <= 8);
}

// [Rule] copies are clamped and correct for overlapping ranges -------------

TEST(DataBufferCopy, OverlappingCopiesWithinOneBuffer) {
    c_DataBuffer* buffer = buffer_of({1, 2, 3, 4, 5, 6});
    buffer->p_CopyBytes(0, buffer, 2, 4);  // forwards overlap: copy runs backwards
    EXPECT_EQ(contents(buffer), (std::vector<int>{1, 2, 1, 2, 3, 4}));
    buffer->p_CopyBytes(2, buffer, 0, 4);
    EXPECT_EQ(contents(buffer), (std::vector<int>{1, 2, 3, 4, 3, 4}));
}

TEST(DataBufferCopy, CopiesClampToBothBuffers) {
    c_DataBuffer* from = buffer_of({1, 2, 3, 4, 5, 6});
    c_DataBuffer* to = buffer_of({0, 0, 0});
    from->p_CopyBytes(1, to, 1, 100);
    EXPECT_EQ(contents(to), (std::vector<int>{0, 2, 3}));
    from->p_CopyBytes(5, to, 0, 100);
    EXPECT_EQ(contents(to), (std::vector<int>{6, 2, 3}));
    from->p_CopyBytes(0, nullptr, 0, 3);
    for (int address : kHostile)
        for (int destination : kHostile)
            for (int count : kHostile) from->p_CopyBytes(address, to, destination, count);
    EXPECT_EQ(contents(from), (std::vector<int>{1, 2, 3, 4, 5, 6}));
}

// [Rule] strings are poked and peeked in utf8 or ascii ---------------------

TEST(DataBufferStrings, PokeUtf8WritesWhatFitsAndReturnsTheFullLength) {
    c_DataBuffer* buffer = buffer_of({0, 0, 0, 0, 0});
    // Two bytes before the end: "é€" is 5 bytes, 2 are written.
    EXPECT_EQ(buffer->p_PokeString(3, String(u"\u00e9\u20ac"), String("utf8")), 5);
    EXPECT_EQ(contents(buffer), (std::vector<int>{0, 0, 0, 0xC3, 0xA9}));
    EXPECT_EQ(buffer->p_PokeString(-2, String("ab"), String("utf8")), 2);
    EXPECT_EQ(buffer->p_PokeString(INT_MAX, String("ab"), String("utf8")), 2);
    EXPECT_EQ(contents(buffer), (std::vector<int>{0, 0, 0, 0xC3, 0xA9}));
}

TEST(DataBufferStrings, PokeAsciiWritesLowBytes) {
    c_DataBuffer* buffer = buffer_of({0, 0, 0});
    EXPECT_EQ(buffer->p_PokeString(1, String(u"A\u0141Z"), String("ascii")), 3);
    EXPECT_EQ(contents(buffer), (std::vector<int>{0, 'A', 0x41}));
    EXPECT_EQ(buffer->p_PokeString(INT_MIN, String("xyz"), String("ascii")), 3);
}

TEST(DataBufferStrings, PeekDecodesOrFallsBackToSignedBytes) {
    c_DataBuffer* buffer = buffer_of({'h', 0xC3, 0xA9, 0xFF, 'i'});
    EXPECT_EQ(buffer->p_PeekString(0, 3, String("utf8")), String(u"h\u00e9"));
    EXPECT_EQ(buffer->p_PeekString(0, 5, String("ascii")), String(u"h\u00c3\u00a9\u00ffi"));
    // Malformed UTF-8: one unit per byte, widened as a signed byte.
    EXPECT_EQ(buffer->p_PeekString(2, 99, String("utf8")), String(u"\uffa9\uffffi"));
    EXPECT_EQ(buffer->p_PeekString2(3, String("ascii")), String(u"\u00ffi"));
    for (int address : kHostile)
        for (int count : kHostile) {
            EXPECT_LE(buffer->p_PeekString(address, count, String("utf8")).Length(), 5);
            EXPECT_LE(buffer->p_PeekString2(address, String("ascii")).Length(), 5);
        }
}

TEST(DataBufferStrings, UnknownEncodingIsARuntimeError) {
    c_DataBuffer* buffer = buffer_of({0, 0});
    EXPECT_EXIT((no_debugger(), buffer->p_PokeString(0, String("a"), String("latin1"))),
                testing::ExitedWithCode(TOLVAR_FATAL_EXIT_STATUS),
                "Tolvar Runtime Error : Invalid string encoding:latin1");
    EXPECT_EXIT((no_debugger(), buffer->p_PeekString(0, 1, String("UTF8"))),
                testing::ExitedWithCode(TOLVAR_FATAL_EXIT_STATUS), "Invalid string encoding:UTF8");
}
