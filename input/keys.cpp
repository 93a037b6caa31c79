// TransKey's table is built once at compile time: an array indexed by the
// GLFW-2 key number 0..316 (the highest mapped key is the keypad's decimal
// point), 0 for every key that is not mapped. The GLFW-2 numbers are those of
// the host's GLFW-2 layer.
#include "input/keys.h"

#include <array>
#include <cstdint>

namespace {

// GLFW-2 special-key numbers (printable keys keep their ASCII codes).
constexpr int kGlfwEsc = 257;
constexpr int kGlfwF1 = 258;
constexpr int kGlfwUp = 283;
constexpr int kGlfwDown = 284;
constexpr int kGlfwLeft = 285;
constexpr int kGlfwRight = 286;
constexpr int kGlfwLShift = 287;
constexpr int kGlfwRShift = 288;
constexpr int kGlfwLCtrl = 289;
constexpr int kGlfwRCtrl = 290;
constexpr int kGlfwTab = 293;
constexpr int kGlfwEnter = 294;
constexpr int kGlfwBackspace = 295;
constexpr int kGlfwInsert = 296;
constexpr int kGlfwDel = 297;
constexpr int kGlfwPageUp = 298;
constexpr int kGlfwPageDown = 299;
constexpr int kGlfwHome = 300;
constexpr int kGlfwEnd = 301;
constexpr int kGlfwKp0 = 302;
constexpr int kGlfwKpDivide = 312;
constexpr int kGlfwKpMultiply = 313;
constexpr int kGlfwKpSubtract = 314;
constexpr int kGlfwKpAdd = 315;
constexpr int kGlfwKpDecimal = 316;

constexpr int kTableSize = kGlfwKpDecimal + 1;

constexpr std::array<std::uint8_t, kTableSize> BuildTable() {
    std::array<std::uint8_t, kTableSize> t{};
    for (int c = '0'; c <= '9'; ++c) t[c] = static_cast<std::uint8_t>(c);
    for (int c = 'A'; c <= 'Z'; ++c) t[c] = static_cast<std::uint8_t>(c);

    t[' '] = 32;
    t['"'] = 222;
    t['\''] = 222;
    t[','] = 188;
    t['-'] = 189;
    t['.'] = 190;
    t['/'] = 191;
    t[';'] = 186;
    t['='] = 187;
    t['['] = 219;
    t['\\'] = 220;
    t[']'] = 221;
    t['`'] = 192;
    t['~'] = 192;

    t[kGlfwEsc] = 27;
    for (int i = 0; i < 12; ++i) t[kGlfwF1 + i] = static_cast<std::uint8_t>(112 + i);
    t[kGlfwUp] = 38;
    t[kGlfwDown] = 40;
    t[kGlfwLeft] = 37;
    t[kGlfwRight] = 39;
    t[kGlfwLShift] = 16;
    t[kGlfwRShift] = 16;
    t[kGlfwLCtrl] = 17;
    t[kGlfwRCtrl] = 17;
    t[kGlfwTab] = 9;
    t[kGlfwEnter] = 13;
    t[kGlfwBackspace] = 8;
    t[kGlfwInsert] = 45;
    t[kGlfwDel] = 46;
    t[kGlfwPageUp] = 33;
    t[kGlfwPageDown] = 34;
    t[kGlfwHome] = 36;
    t[kGlfwEnd] = 35;
    for (int i = 0; i < 10; ++i) t[kGlfwKp0 + i] = static_cast<std::uint8_t>(96 + i);
    t[kGlfwKpDivide] = 111;
    t[kGlfwKpMultiply] = 106;
    t[kGlfwKpSubtract] = 109;
    t[kGlfwKpAdd] = 107;
    t[kGlfwKpDecimal] = 110;
    return t;
}

constexpr std::array<std::uint8_t, kTableSize> kTransKeyTable = BuildTable();

}  // namespace

int TransKey(int glfwKey) {
    if (glfwKey < 0 || glfwKey >= kTableSize) return 0;
    return kTransKeyTable[glfwKey];
}

int KeyToChar(int code) {
    switch (code) {
        case 8:   // backspace
        case 9:   // tab
        case 13:  // enter
        case 27:  // escape
            return code;
        case 46:  // delete
            return 127;
        case 45:  // insert
            return kKeyCharSpecialBase + code;
        default:
            // page up, page down, end, home, left, up, right, down
            if (code >= 33 && code <= 40) return kKeyCharSpecialBase + code;
            return 0;
    }
}
