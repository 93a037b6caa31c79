// The text decoder of files (encoding detection) and the UTF-8 encoder.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "runtime/lang/string.h"

namespace {

String decode(const std::vector<uint8_t>& bytes) {
    return String::FromFileBytes(bytes.data(), static_cast<int>(bytes.size()));
}

std::u16string units(const String& text) {
    return std::u16string(text.Data(), text.Data() + text.Length());
}

std::string hex(const std::string& bytes) {
    std::string out;
    char two[4];
    for (unsigned char b : bytes) {
        std::snprintf(two, sizeof two, "%02X ", b);
        out += two;
    }
    return out;
}

}  // namespace

// [Rule] byte-order marks choose the encoding -----------------------------

TEST(TextDecoding, Utf16WithByteOrderMarkBothWays) {
    EXPECT_EQ(units(decode({0xFE, 0xFF, 0x00, 0x41, 0x20, 0xAC})), u"A\u20ac");
    EXPECT_EQ(units(decode({0xFF, 0xFE, 0x41, 0x00, 0xAC, 0x20})), u"A\u20ac");
    // A final odd byte is ignored; the mark alone is empty.
    EXPECT_EQ(units(decode({0xFE, 0xFF, 0x00, 0x41, 0x42})), u"A");
    EXPECT_TRUE(decode({0xFF, 0xFE}).IsEmpty());
    EXPECT_TRUE(decode({0xFE, 0xFF, 0x00}).IsEmpty());
    // Surrogates and zero units pass through as units.
    EXPECT_EQ(units(decode({0xFF, 0xFE, 0x3D, 0xD8, 0x00, 0x00})), (std::u16string{0xD83D, 0}));
}

TEST(TextDecoding, Utf8ByteOrderMarkIsSkipped) {
    EXPECT_TRUE(decode({239, 187, 191}).IsEmpty());
    EXPECT_EQ(units(decode({239, 187, 191, 'h', 0xC3, 0xA9})), u"h\u00e9");
    // A mark followed by malformed text falls back from after the mark.
    EXPECT_EQ(units(decode({239, 187, 191, 'a', 0xE9})), u"a\u00e9");
    // Only two bytes of a mark: decoding starts at byte 0 (and EF BB 41 is
    // malformed, so every byte is a unit).
    EXPECT_EQ(units(decode({239, 187, 'A'})), u"\u00ef\u00bbA");
    EXPECT_TRUE(decode({}).IsEmpty());
}

// [Rule] UTF-8 of one to three bytes, else single bytes --------------------

TEST(TextDecoding, Utf8OfOneToThreeBytes) {
    EXPECT_EQ(units(decode({'a', 0xC3, 0xA9, 0xE2, 0x82, 0xAC, 0x7F})), u"a\u00e9\u20ac\u007f");
    // Overlong forms and encoded surrogates are accepted as they come.
    EXPECT_EQ(units(decode({0xC0, 0x80, 0xE0, 0x80, 0xAF})), (std::u16string{0, 0x2F}));
    EXPECT_EQ(units(decode({0xED, 0xA0, 0x80})), (std::u16string{0xD800}));
}

TEST(TextDecoding, MalformedUtf8FallsBackToSingleBytes) {
    // Latin-1: E9 between ASCII letters.
    EXPECT_EQ(units(decode({'c', 'a', 'f', 0xE9, 's'})), u"caf\u00e9s");
    // Cut off by the end of the data, in a two- and a three-byte sequence.
    EXPECT_EQ(units(decode({'x', 0xC3})), u"x\u00c3");
    EXPECT_EQ(units(decode({'x', 0xE2, 0x82})), u"x\u00e2\u0082");
    // A stray continuation byte; a four-byte lead; a missing continuation.
    EXPECT_EQ(units(decode({0x80, 'a'})), u"\u0080a");
    EXPECT_EQ(units(decode({0xF0, 0x9F, 0x98, 0x80})), u"\u00f0\u009f\u0098\u0080");
    EXPECT_EQ(units(decode({0xC3, 'A', 0xC3, 0xA9})), u"\u00c3A\u00c3\u00a9");
    // One bad byte anywhere turns the whole file to single bytes.
    EXPECT_EQ(units(decode({0xC3, 0xA9, 0xFF})), u"\u00c3\u00a9\u00ff");
}

TEST(TextDecoding, StrictDecoderLeavesItsOutputOnFailure) {
    String out("kept");
    const uint8_t bad[] = {'a', 0xC3};
    EXPECT_FALSE(String::DecodeUtf8(bad, 2, out));
    EXPECT_EQ(out, String("kept"));
}

// [Rule] streams are read whole, across chunk boundaries -------------------

TEST(TextDecoding, LoadReadsTheWholeStream) {
    // A euro sign straddling the 4096-byte chunk boundary.
    std::string bytes(4095, 'a');
    bytes += "\xE2\x82\xAC";
    bytes += std::string(5000, 'b');
    std::FILE* file = std::tmpfile();
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::rewind(file);
    String text = String::Load(file);
    std::fclose(file);
    ASSERT_EQ(text.Length(), 4095 + 1 + 5000);
    EXPECT_EQ(text[4095], u'\u20ac');
    EXPECT_EQ(text[4096], u'b');

    std::FILE* empty = std::tmpfile();
    EXPECT_TRUE(String::Load(empty).IsEmpty());
    std::fclose(empty);
}

// [Rule] UTF-8 encoding is per unit ----------------------------------------

TEST(TextEncoding, EachUnitOnItsOwn) {
    EXPECT_EQ(hex(String(u"\u007f\u0080\u07ff\u0800\uffff").ToUtf8()), "7F C2 80 DF BF E0 A0 80 EF BF BF ");
    // A surrogate pair is two three-byte sequences, not one four-byte one.
    EXPECT_EQ(hex(String(u"\U0001F600").ToUtf8()), "ED A0 BD ED B8 80 ");
    EXPECT_EQ(String(u"\u0000", 1).ToUtf8(), std::string(1, '\0'));
}

TEST(TextEncoding, EveryUnitRoundTripsThroughTheDecoder) {
    std::u16string all;
    for (int u = 0; u <= 0xFFFF; ++u) all += static_cast<char16_t>(u);
    String text(all);
    std::string bytes = text.ToUtf8();
    String back;
    ASSERT_TRUE(String::DecodeUtf8(reinterpret_cast<const uint8_t*>(bytes.data()),
                                   static_cast<int>(bytes.size()), back));
    EXPECT_EQ(back, text);
}
