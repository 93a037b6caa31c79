// String operations. Text decoding and encoding live in textcodec.cpp.
#include "runtime/lang/string.h"

#include <cstdlib>
#include <cstring>
#include <cwctype>
#include <vector>

String::Rep String::nullRep = {1, 0};

String::Rep* String::Alloc(int64_t length) {
    if (length > 2147483647) std::abort();
    auto* rep = static_cast<Rep*>(std::malloc(sizeof(Rep) + 2 * static_cast<size_t>(length)));
    if (!rep) std::abort();  // out of memory
    rep->refcount = 1;
    rep->length = static_cast<int>(length);
    return rep;
}

void String::release() const {
    if (rep_ != &nullRep && --rep_->refcount == 0) std::free(rep_);
}

String& String::operator=(const String& other) noexcept {
    other.retain();
    release();
    rep_ = other.rep_;
    return *this;
}

String& String::operator=(String&& other) noexcept {
    if (this != &other) {
        release();
        rep_ = other.rep_;
        other.rep_ = &nullRep;
    }
    return *this;
}

String::String(const char* text) : rep_(&nullRep) {
    int n = text ? static_cast<int>(std::strlen(text)) : 0;
    if (n == 0) return;
    rep_ = Alloc(n);
    for (int i = 0; i < n; ++i) rep_->data()[i] = static_cast<Char>(static_cast<signed char>(text[i]));
}

String::String(const Char* units, int count) : rep_(&nullRep) {
    if (count <= 0) return;
    rep_ = Alloc(count);
    std::memcpy(rep_->data(), units, 2 * static_cast<size_t>(count));
}

namespace {
std::string format_int(int value) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%i", value);
    return buf;
}

std::string format_float(float value) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.17lg", static_cast<double>(value));
    std::string text(buf);
    if (text.find('.') == std::string::npos && text.find('e') == std::string::npos) text += ".0";
    return text;
}
}  // namespace

String::String(int value) : String(format_int(value).c_str()) {}

String::String(float value) : String(format_float(value).c_str()) {}

String String::FromChar(int unit) {
    Char c = static_cast<Char>(unit);
    return String(&c, 1);
}

String String::operator+(const String& other) const {
    if (other.IsEmpty()) return *this;
    if (IsEmpty()) return other;
    Rep* rep = Alloc(static_cast<int64_t>(Length()) + other.Length());
    std::memcpy(rep->data(), Data(), 2 * static_cast<size_t>(Length()));
    std::memcpy(rep->data() + Length(), other.Data(), 2 * static_cast<size_t>(other.Length()));
    return String(rep);
}

bool String::operator==(const String& other) const {
    if (rep_ == other.rep_) return true;
    return Length() == other.Length() &&
           std::memcmp(Data(), other.Data(), 2 * static_cast<size_t>(Length())) == 0;
}

int String::Compare(const String& other) const {
    int n = Length() < other.Length() ? Length() : other.Length();
    for (int i = 0; i < n; ++i)
        if ((*this)[i] != other[i]) return (*this)[i] - other[i];
    return Length() - other.Length();
}

String String::Slice(int from, int to) const {
    int len = Length();
    if (from < 0) {
        from += len;
        if (from < 0) from = 0;
    } else if (from > len) {
        from = len;
    }
    if (to < 0) {
        to += len;
    } else if (to > len) {
        to = len;
    }
    if (to <= from) return String();
    if (from == 0 && to == len) return *this;
    return String(Data() + from, to - from);
}

int String::Find(const String& find, int start) const {
    if (start < 0) start = 0;
    if (start > Length()) return -1;
    // string_view's search looks for the first unit before comparing the rest.
    size_t at =
        std::u16string_view(Data(), Length()).find(std::u16string_view(find.Data(), find.Length()), start);
    return at == std::u16string_view::npos ? -1 : static_cast<int>(at);
}

int String::FindLast(const String& find, int start) const {
    int n = find.Length();
    if (start > Length() - n) start = Length() - n;
    for (int i = start; i >= 0; --i)
        if (std::memcmp(Data() + i, find.Data(), 2 * static_cast<size_t>(n)) == 0) return i;
    return -1;
}

bool String::StartsWith(const String& prefix) const {
    return prefix.Length() <= Length() &&
           std::memcmp(Data(), prefix.Data(), 2 * static_cast<size_t>(prefix.Length())) == 0;
}

bool String::EndsWith(const String& suffix) const {
    return suffix.Length() <= Length() && std::memcmp(Data() + Length() - suffix.Length(), suffix.Data(),
                                                      2 * static_cast<size_t>(suffix.Length())) == 0;
}

Array<String> String::Split(const String& separator) const {
    if (separator.IsEmpty()) {
        Array<String> units(Length());
        for (int i = 0; i < Length(); ++i) units[i] = String(Data() + i, 1);
        return units;
    }
    // One scan records where each occurrence starts.
    std::vector<int> matches;
    for (int at = Find(separator); at >= 0; at = Find(separator, at + separator.Length()))
        matches.push_back(at);
    Array<String> pieces(static_cast<int>(matches.size()) + 1);
    int start = 0;
    for (size_t i = 0; i < matches.size(); ++i) {
        pieces[static_cast<int>(i)] = Slice(start, matches[i]);
        start = matches[i] + separator.Length();
    }
    pieces[pieces.Length() - 1] = Slice(start);  // the whole receiver when nothing matched
    return pieces;
}

String String::Join(const Array<String>& pieces) const {
    int count = pieces.Length();
    if (count == 0) return String();
    if (count == 1) return pieces[0];
    int64_t total = static_cast<int64_t>(Length()) * (count - 1);
    for (const String& piece : pieces) total += piece.Length();
    if (total == 0) return String();
    Rep* rep = Alloc(total);
    Char* out = rep->data();
    for (int i = 0; i < count; ++i) {
        if (i > 0) {
            std::memcpy(out, Data(), 2 * static_cast<size_t>(Length()));
            out += Length();
        }
        std::memcpy(out, pieces[i].Data(), 2 * static_cast<size_t>(pieces[i].Length()));
        out += pieces[i].Length();
    }
    return String(rep);
}

String String::Replace(const String& find, const String& replacement) const {
    if (find.IsEmpty()) return *this;
    int at = Find(find);
    if (at < 0) return *this;
    std::u16string out;
    int start = 0;
    for (; at >= 0; at = Find(find, start)) {
        out.append(Data() + start, Data() + at);
        out.append(replacement.Data(), replacement.Data() + replacement.Length());
        start = at + find.Length();
    }
    out.append(Data() + start, Data() + Length());
    return String(out);
}

int String::ToInt() const {
    char buf[64];
    int n = Length() < 63 ? Length() : 63;
    for (int i = 0; i < n; ++i) buf[i] = static_cast<char>((*this)[i] & 0xff);
    buf[n] = 0;
    // strtol, not atoi: the same digits and sign rule, with no undefined
    // behaviour on overflow.
    return static_cast<int>(std::strtol(buf, nullptr, 10));
}

float String::ToFloat() const {
    return std::strtof(ToNarrow().c_str(), nullptr);
}

String String::ToLower() const {
    if (IsEmpty()) return *this;
    Rep* rep = Alloc(Length());
    for (int i = 0; i < Length(); ++i) rep->data()[i] = static_cast<Char>(std::towlower((*this)[i]));
    return String(rep);
}

String String::ToUpper() const {
    if (IsEmpty()) return *this;
    Rep* rep = Alloc(Length());
    for (int i = 0; i < Length(); ++i) rep->data()[i] = static_cast<Char>(std::towupper((*this)[i]));
    return String(rep);
}

std::string String::ToNarrow() const {
    std::string out(static_cast<size_t>(Length()), '\0');
    for (int i = 0; i < Length(); ++i) out[i] = static_cast<char>((*this)[i] & 0xff);
    return out;
}
