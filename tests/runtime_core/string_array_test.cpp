// Strings and arrays, by rule: slicing, splitting, joining, replacing,
// number conversions, representation sharing, array resizing and slicing.
#include <climits>
#include <string>

#include "runtime/lang/array.h"
#include "runtime/lang/string.h"
#include "tests/runtime_core/gc_test_support.h"

namespace {

using ArrayTest = CollectorTest;

String S(const char* text) {
    return String(text);
}

std::string text_of(const String& s) {
    return s.ToNarrow();
}

std::vector<std::string> texts_of(const Array<String>& pieces) {
    std::vector<std::string> out;
    for (const String& piece : pieces) out.push_back(text_of(piece));
    return out;
}

TEST(StringSlice, NegativeAndOutOfRangeBoundsAreClamped) {
    String s = S("abcdef");
    EXPECT_EQ(text_of(s.Slice(-3, -1)), "de");
    EXPECT_EQ(text_of(s.Slice(1, 3)), "bc");
    EXPECT_EQ(text_of(s.Slice(-100, 2)), "ab");
    EXPECT_EQ(text_of(s.Slice(4)), "ef");
    EXPECT_TRUE(s.Slice(4, 2).SameRep(String()));
    EXPECT_TRUE(s.Slice(9, 12).IsEmpty());
    EXPECT_TRUE(s.Slice(2, -10).IsEmpty());
    EXPECT_TRUE(s.Slice(0, 100).SameRep(s));
    EXPECT_TRUE(s.Slice(-6).SameRep(s));
    EXPECT_FALSE(s.Slice(0, 5).SameRep(s));
}

TEST(StringSplit, PiecesBetweenNonOverlappingOccurrences) {
    using V = std::vector<std::string>;
    EXPECT_EQ(texts_of(S("a,,b").Split(S(","))), (V{"a", "", "b"}));
    EXPECT_EQ(texts_of(S(",a,").Split(S(","))), (V{"", "a", ""}));
    EXPECT_EQ(texts_of(S("").Split(S(","))), (V{""}));
    EXPECT_EQ(S("").Split(S("")).Length(), 0);
    EXPECT_EQ(texts_of(S("abc").Split(S(""))), (V{"a", "b", "c"}));
    EXPECT_EQ(texts_of(S("aaaa").Split(S("aa"))), (V{"", "", ""}));
    EXPECT_EQ(texts_of(S("aaa").Split(S("aa"))), (V{"", "a"}));
    EXPECT_EQ(texts_of(S("k: v: w").Split(S(": "))), (V{"k", "v", "w"}));
    String whole = S("no separator here");
    Array<String> one = whole.Split(S("|"));
    ASSERT_EQ(one.Length(), 1);
    EXPECT_TRUE(one[0].SameRep(whole));
}

TEST(StringJoin, SeparatorBetweenEachTwo) {
    EXPECT_TRUE(S(",").Join(Array<String>()).SameRep(String()));
    Array<String> one(1);
    one[0] = S("solo");
    EXPECT_TRUE(S(",").Join(one).SameRep(one[0]));
    Array<String> three = S("a|b|c").Split(S("|"));
    EXPECT_EQ(text_of(S(", ").Join(three)), "a, b, c");
    EXPECT_EQ(text_of(String().Join(three)), "abc");
    Array<String> blanks(3);
    EXPECT_TRUE(String().Join(blanks).IsEmpty());
    EXPECT_EQ(text_of(S("-").Join(blanks)), "--");
}

TEST(StringReplace, EveryNonOverlappingOccurrenceLeftToRight) {
    EXPECT_EQ(text_of(S("a+b+c").Replace(S("+"), S(" plus "))), "a plus b plus c");
    EXPECT_EQ(text_of(S("aaaa").Replace(S("aa"), S("b"))), "bb");
    EXPECT_EQ(text_of(S("aaa").Replace(S("aa"), S("a"))), "aa");
    EXPECT_EQ(text_of(S("%20x%20").Replace(S("%20"), String())), "x");
    String none = S("nothing to do");
    EXPECT_TRUE(none.Replace(S("zz"), S("y")).SameRep(none));
    EXPECT_TRUE(none.Replace(String(), S("y")).SameRep(none));
}

TEST(StringNumbers, ToIntReadsLikeAtoiOnTheFirst63Units) {
    EXPECT_EQ(S(" 42abc").ToInt(), 42);
    EXPECT_EQ(S("abc").ToInt(), 0);
    EXPECT_EQ(S("-17").ToInt(), -17);
    EXPECT_EQ(S("\t+8").ToInt(), 8);
    EXPECT_EQ(String().ToInt(), 0);
    // 60 zeros then 123 then more digits: only "000...0123" counts.
    std::string numeral = std::string(60, '0') + "1234567890";
    EXPECT_EQ(S(numeral.c_str()).ToInt(), 123);
    // Units are narrowed to their low 8 bits: U+0135 reads as '5'.
    Char units[] = {u'1', 0x0135};
    EXPECT_EQ(String(units, 2).ToInt(), 15);
}

TEST(StringNumbers, IntAndFloatFormatting) {
    EXPECT_EQ(text_of(String(0)), "0");
    EXPECT_EQ(text_of(String(-2147483647 - 1)), "-2147483648");
    EXPECT_EQ(text_of(String(2.0f)), "2.0");
    EXPECT_EQ(text_of(String(1.0f)), "1.0");
    EXPECT_EQ(text_of(String(0.5f)), "0.5");
    EXPECT_EQ(text_of(String(0.1f)), "0.10000000149011612");
    EXPECT_EQ(text_of(String(1e20f)), "1.0000000200408773e+20");
    EXPECT_EQ(text_of(String(-3.0f)), "-3.0");
    EXPECT_EQ(text_of(String(1e-7f)), "1.0000000116860974e-07");
}

TEST(StringBasics, ConstructionComparisonAndSharing) {
    String bytes = S("A\xe9");  // byte 233 widens as a signed value
    ASSERT_EQ(bytes.Length(), 2);
    EXPECT_EQ(bytes[1], 0xFFE9);
    EXPECT_TRUE(S("").SameRep(String()));
    EXPECT_TRUE(String(static_cast<const Char*>(nullptr), 0).SameRep(String()));

    String a = S("abc");
    EXPECT_TRUE((a + String()).SameRep(a));
    EXPECT_TRUE((String() + a).SameRep(a));
    EXPECT_EQ(text_of(a + S("de")), "abcde");
    String copy = a;
    EXPECT_TRUE(copy.SameRep(a));
    String& alias = copy;
    copy = alias;  // self-assignment keeps the representation alive
    EXPECT_EQ(text_of(copy), "abc");
    EXPECT_EQ(S("abc"), a);
    EXPECT_NE(S("abd"), a);
    EXPECT_NE(S("ab"), a);
    EXPECT_LT(S("ab").Compare(a), 0);
    EXPECT_GT(S("b").Compare(a), 0);
    EXPECT_EQ(text_of(S("MiXeD 1").ToLower()), "mixed 1");
    EXPECT_EQ(text_of(S("MiXeD 1").ToUpper()), "MIXED 1");
    EXPECT_EQ(String::FromChar(0x263A)[0], 0x263A);
}

// ---- arrays ----

TEST_F(ArrayTest, ResizeKeepsThePrefixAndZeroFillsTheRest) {
    Array<int> numbers(3);
    for (int i = 0; i < 3; ++i) numbers[i] = i + 1;
    Array<int> longer = numbers.Resize(5);
    ASSERT_EQ(longer.Length(), 5);
    EXPECT_NE(longer.rep, numbers.rep);
    EXPECT_EQ(longer[2], 3);
    EXPECT_EQ(longer[4], 0);
    Array<int> shorter = numbers.Resize(2);
    ASSERT_EQ(shorter.Length(), 2);
    EXPECT_EQ(shorter[1], 2);
    EXPECT_EQ(numbers.Resize(0).rep, &Array<int>::Rep::nullRep);
    EXPECT_EQ(numbers.Resize(-1).rep, &Array<int>::Rep::nullRep);
    EXPECT_EQ(Array<int>(-4).rep, &Array<int>::Rep::nullRep);

    Array<String> words = S("x y").Split(S(" "));
    Array<String> more = words.Resize(4);
    EXPECT_TRUE(more[1].SameRep(words[1]));
    EXPECT_TRUE(more[3].SameRep(String()));
}

TEST_F(ArrayTest, SliceCopiesTheClampedRange) {
    Array<String> words = S("a b c d e").Split(S(" "));
    EXPECT_EQ(texts_of(words.Slice(-3, -1)), (std::vector<std::string>{"c", "d"}));
    EXPECT_EQ(texts_of(words.Slice(3)), (std::vector<std::string>{"d", "e"}));
    EXPECT_EQ(words.Slice(4, 2).rep, &Array<String>::Rep::nullRep);
    Array<String> all = words.Slice(0);
    EXPECT_NE(all.rep, words.rep) << "a slice is a copy, even of the whole array";
    EXPECT_EQ(all.Length(), 5);
    EXPECT_TRUE(all[4].SameRep(words[4]));
}

TEST_F(ArrayTest, SizesAreRoundedAndCounted) {
    int before = gc_new_bytes;
    Array<bool> flags(3);
    // The header and three bytes, rounded up to 8: 40 on 64 bits, 24 on 32.
    const int size = (static_cast<int>(sizeof(Array<bool>::Rep)) + 3 + 7) / 8 * 8;
    EXPECT_EQ(flags.rep->gc_size(), size);
    EXPECT_EQ(gc_new_bytes - before, size);
    EXPECT_FALSE(flags[2]);
}

}  // namespace
