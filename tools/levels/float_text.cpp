// Shortest float texts through the C library's exact conversions: printf's
// correctly rounded "%.*e" proposes the digits, strtof checks that they read
// back. See float_text.h.
#include "tools/levels/float_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace levels {
namespace {

// A positive decimal d1.d2d3... × 10^exponent.
struct Decimal {
    std::string digits;  // d1 d2 ..., no point; d1 is not 0
    int exponent = 0;
};

// Parses printf's "d.ddde±x".
Decimal Parse(const char* text) {
    Decimal d;
    const char* p = text;
    for (; *p != 'e'; ++p)
        if (*p != '.') d.digits += *p;
    d.exponent = std::atoi(p + 1);
    return d;
}

std::string Scientific(const Decimal& d) {
    std::string s(1, d.digits[0]);
    if (d.digits.size() > 1) s += "." + d.digits.substr(1);
    char exponent[8];
    std::snprintf(exponent, sizeof exponent, "e%+03d", d.exponent);
    return s + exponent;
}

bool ReadsBack(const Decimal& d, float magnitude) {
    return std::strtof(Scientific(d).c_str(), nullptr) == magnitude;
}

// The same number of digits, one unit up in the last place.
Decimal NextUp(Decimal d) {
    int i = static_cast<int>(d.digits.size()) - 1;
    for (; i >= 0 && d.digits[i] == '9'; --i) d.digits[i] = '0';
    if (i >= 0) {
        ++d.digits[i];
    } else {  // 99..9 -> 100..0
        d.digits.insert(d.digits.begin(), '1');
        d.digits.pop_back();
        ++d.exponent;
    }
    return d;
}

// The fewest digits that read back to `magnitude` (> 0, finite), nearest to
// it among those. Nine digits always read back.
Decimal Shortest(float magnitude) {
    char text[32];
    for (int precision = 1; precision < 9; ++precision) {
        std::snprintf(text, sizeof text, "%.*e", precision - 1, static_cast<double>(magnitude));
        Decimal nearest = Parse(text);
        if (ReadsBack(nearest, magnitude)) return nearest;
        // At a power of two the gap to the float below is half the gap
        // above: the nearest text can fall short below while the next one
        // up still reads back.
        Decimal up = NextUp(nearest);
        if (ReadsBack(up, magnitude)) return up;
    }
    std::snprintf(text, sizeof text, "%.8e", static_cast<double>(magnitude));
    return Parse(text);
}

std::string Fixed(const Decimal& d, float magnitude) {
    int length = static_cast<int>(d.digits.size());
    if (d.exponent >= length - 1) {
        // An integer: printf's exact digits, as to_chars writes them (the
        // shortest digits followed by zeros may name another number).
        char text[48];
        std::snprintf(text, sizeof text, "%.0f", static_cast<double>(magnitude));
        return text;
    }
    if (d.exponent >= 0) return d.digits.substr(0, d.exponent + 1) + "." + d.digits.substr(d.exponent + 1);
    return "0." + std::string(-d.exponent - 1, '0') + d.digits;
}

}  // namespace

std::string FloatText(float v) {
    std::string sign = std::signbit(v) ? "-" : "";
    if (std::isnan(v)) return sign + "nan";
    if (std::isinf(v)) return sign + "inf";
    if (v == 0) return sign + "0";
    float magnitude = std::fabs(v);
    Decimal d = Shortest(magnitude);
    std::string fixed = Fixed(d, magnitude), scientific = Scientific(d);
    return sign + (fixed.size() <= scientific.size() ? fixed : scientific);
}

}  // namespace levels
