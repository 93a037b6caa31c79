// String: an immutable sequence of 16-bit units, reference counted.
//
// Ownership and invariants
// - A String holds one pointer to a Rep: {refcount, length, units...} in one
//   block of 8 + 2 * length bytes from the system allocator. Copying a
//   String shares the Rep and counts it; the last release frees the block.
// - String::nullRep is the one static empty representation. Every empty
//   result points at it; its count is never touched and it is never freed,
//   which also makes empty strings safe to copy from any thread.
// - Counts are plain integers: a non-empty String belongs to one thread (the
//   main thread). Worker threads work on their own std::string/bytes.
// - Units are not interpreted: surrogate pairs are two units.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "runtime/lang/array.h"

using Char = char16_t;

class String {
  public:
    struct Rep {
        int refcount;
        int length;
        Char* data() { return reinterpret_cast<Char*>(this + 1); }
        const Char* data() const { return reinterpret_cast<const Char*>(this + 1); }
    };
    static Rep nullRep;

    constexpr String() noexcept : rep_(&nullRep) {}
    String(const String& other) noexcept : rep_(other.rep_) { retain(); }
    String(String&& other) noexcept : rep_(other.rep_) { other.rep_ = &nullRep; }
    ~String() { release(); }
    String& operator=(const String& other) noexcept;
    String& operator=(String&& other) noexcept;

    // Zero-terminated 8-bit text, one unit per byte, each byte widened as a
    // signed 8-bit value (bytes 128..255 become units FF80..FFFF).
    String(const char* text);  // NOLINT(google-explicit-constructor): literals read naturally
    // `count` units copied from `units`.
    String(const Char* units, int count);
    String(std::u16string_view units) : String(units.data(), static_cast<int>(units.size())) {}
    // Decimal text, as "%i" formats it.
    explicit String(int value);
    // "%.17lg" of the value widened to double, with ".0" appended when the
    // text holds neither "." nor "e" (1 gives "1.0").
    explicit String(float value);
    // One unit.
    static String FromChar(int unit);

    int Length() const { return rep_->length; }
    bool IsEmpty() const { return rep_->length == 0; }
    Char operator[](int index) const { return rep_->data()[index]; }
    const Char* Data() const { return rep_->data(); }
    // True when both values share one representation (for tests and fast paths).
    bool SameRep(const String& other) const { return rep_ == other.rep_; }

    String operator+(const String& other) const;
    String& operator+=(const String& other) { return *this = *this + other; }
    bool operator==(const String& other) const;
    bool operator!=(const String& other) const { return !(*this == other); }
    // Ordering by 16-bit unit values; shorter first on a common prefix.
    int Compare(const String& other) const;
    bool operator<(const String& other) const { return Compare(other) < 0; }

    // Units [from, to): negative bounds count from the end, out-of-range
    // bounds are clamped; the whole string shares the representation.
    String Slice(int from, int to) const;
    String Slice(int from) const { return Slice(from, Length()); }

    // Index of the first occurrence of `find` at or after `start`, or -1.
    int Find(const String& find, int start = 0) const;
    // Index of the last occurrence of `find` starting at or before `start`, or -1.
    int FindLast(const String& find) const { return FindLast(find, Length()); }
    int FindLast(const String& find, int start) const;
    bool Contains(const String& find) const { return Find(find) >= 0; }
    bool StartsWith(const String& prefix) const;
    bool EndsWith(const String& suffix) const;

    // Non-overlapping pieces between occurrences of `separator`; an empty
    // separator gives one string per unit.
    Array<String> Split(const String& separator) const;
    // The pieces with this string between each two.
    String Join(const Array<String>& pieces) const;
    // Every non-overlapping occurrence of `find` replaced; an empty `find`
    // returns the receiver unchanged.
    String Replace(const String& find, const String& replacement) const;

    // atoi of the first 63 units narrowed to 8 bits.
    int ToInt() const;
    float ToFloat() const;
    String ToLower() const;
    String ToUpper() const;

    // UTF-8, each unit on its own (surrogates as three bytes each), no BOM.
    std::string ToUtf8() const;
    void AppendUtf8(std::string& out) const;
    // Low 8 bits of each unit.
    std::string ToNarrow() const;
    // Decodes UTF-8 by the strict rule of the text loader; on a malformed
    // sequence returns false and leaves `out` unchanged.
    static bool DecodeUtf8(const uint8_t* bytes, int count, String& out);
    // Builds a string from a file's bytes with encoding detection (UTF-16
    // with a byte-order mark, UTF-8 with or without one, else single bytes).
    static String FromFileBytes(const uint8_t* bytes, int count);
    // Reads the stream to its end and decodes it as FromFileBytes does.
    static String Load(std::FILE* stream);

  private:
    explicit String(Rep* rep) noexcept : rep_(rep) {}
    // A new representation of `length` units, count 1, units uninitialised.
    // A length past the int range cannot be represented: treated like a
    // failing system allocator.
    static Rep* Alloc(int64_t length);
    void retain() const {
        if (rep_ != &nullRep) ++rep_->refcount;
    }
    void release() const;

    Rep* rep_;
};

inline String operator+(const char* a, const String& b) {
    return String(a) + b;
}

// Narrow and wide literals alike: String(u"text") works through the view.
