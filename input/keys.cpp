// TransKey's table is built once at compile time: an array indexed by the
// GLFW-2 key number 0..316 (the highest mapped key is the keypad's decimal
// point), 0 for every key that is not mapped. Only the layer's constants are
// used here, so the input library does not link GLFW.
#include "input/keys.h"

#include <array>
#include <cstdint>

#include "runtime/glfw2/glfw2.h"

namespace {

using namespace glfw2;

constexpr int kTableSize = GLFW_KEY_KP_DECIMAL + 1;

constexpr std::array<std::uint8_t, kTableSize> BuildTable() {
    std::array<std::uint8_t, kTableSize> t{};
    for (int c = '0'; c <= '9'; ++c) t[c] = static_cast<std::uint8_t>(c);
    for (int c = 'A'; c <= 'Z'; ++c) t[c] = static_cast<std::uint8_t>(c);

    t[GLFW_KEY_SPACE] = 32;
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

    t[GLFW_KEY_ESC] = 27;
    for (int i = 0; i < 12; ++i) t[GLFW_KEY_F1 + i] = static_cast<std::uint8_t>(112 + i);
    t[GLFW_KEY_UP] = 38;
    t[GLFW_KEY_DOWN] = 40;
    t[GLFW_KEY_LEFT] = 37;
    t[GLFW_KEY_RIGHT] = 39;
    t[GLFW_KEY_LSHIFT] = 16;
    t[GLFW_KEY_RSHIFT] = 16;
    t[GLFW_KEY_LCTRL] = 17;
    t[GLFW_KEY_RCTRL] = 17;
    t[GLFW_KEY_TAB] = 9;
    t[GLFW_KEY_ENTER] = 13;
    t[GLFW_KEY_BACKSPACE] = 8;
    t[GLFW_KEY_INSERT] = 45;
    t[GLFW_KEY_DEL] = 46;
    t[GLFW_KEY_PAGEUP] = 33;
    t[GLFW_KEY_PAGEDOWN] = 34;
    t[GLFW_KEY_HOME] = 36;
    t[GLFW_KEY_END] = 35;
    for (int i = 0; i < 10; ++i) t[GLFW_KEY_KP_0 + i] = static_cast<std::uint8_t>(96 + i);
    t[GLFW_KEY_KP_DIVIDE] = 111;
    t[GLFW_KEY_KP_MULTIPLY] = 106;
    t[GLFW_KEY_KP_SUBTRACT] = 109;
    t[GLFW_KEY_KP_ADD] = 107;
    t[GLFW_KEY_KP_DECIMAL] = 110;
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
