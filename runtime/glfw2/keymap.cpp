// The v2 <-> v3 key tables. glfw2.h is read first: glfw3.h defines many of
// the v2 names as macros with v3 values, so only names that v3 lacks
// (GLFW_KEY_ESC, GLFW_KEY_SPECIAL) are used from it below.
#include "runtime/glfw2/keymap.h"

#include "runtime/glfw2/glfw2.h"

namespace {
constexpr int kV2FirstSpecial = glfw2::GLFW_KEY_ESC;
constexpr int kV2Special = glfw2::GLFW_KEY_SPECIAL;
}  // namespace

#include <GLFW/glfw3.h>

namespace glfw2 {
namespace {

// The v3 key of each v2 special key, in v2 order from ESC (257).
// clang-format off
constexpr int kSpecialToV3[] = {
    GLFW_KEY_ESCAPE,
    GLFW_KEY_F1,  GLFW_KEY_F2,  GLFW_KEY_F3,  GLFW_KEY_F4,  GLFW_KEY_F5,  GLFW_KEY_F6,  GLFW_KEY_F7,
    GLFW_KEY_F8,  GLFW_KEY_F9,  GLFW_KEY_F10, GLFW_KEY_F11, GLFW_KEY_F12, GLFW_KEY_F13, GLFW_KEY_F14,
    GLFW_KEY_F15, GLFW_KEY_F16, GLFW_KEY_F17, GLFW_KEY_F18, GLFW_KEY_F19, GLFW_KEY_F20, GLFW_KEY_F21,
    GLFW_KEY_F22, GLFW_KEY_F23, GLFW_KEY_F24, GLFW_KEY_F25,
    GLFW_KEY_UP, GLFW_KEY_DOWN, GLFW_KEY_LEFT, GLFW_KEY_RIGHT,
    GLFW_KEY_LEFT_SHIFT, GLFW_KEY_RIGHT_SHIFT, GLFW_KEY_LEFT_CONTROL, GLFW_KEY_RIGHT_CONTROL,
    GLFW_KEY_LEFT_ALT, GLFW_KEY_RIGHT_ALT,
    GLFW_KEY_TAB, GLFW_KEY_ENTER, GLFW_KEY_BACKSPACE, GLFW_KEY_INSERT, GLFW_KEY_DELETE,
    GLFW_KEY_PAGE_UP, GLFW_KEY_PAGE_DOWN, GLFW_KEY_HOME, GLFW_KEY_END,
    GLFW_KEY_KP_0, GLFW_KEY_KP_1, GLFW_KEY_KP_2, GLFW_KEY_KP_3, GLFW_KEY_KP_4,
    GLFW_KEY_KP_5, GLFW_KEY_KP_6, GLFW_KEY_KP_7, GLFW_KEY_KP_8, GLFW_KEY_KP_9,
    GLFW_KEY_KP_DIVIDE, GLFW_KEY_KP_MULTIPLY, GLFW_KEY_KP_SUBTRACT, GLFW_KEY_KP_ADD, GLFW_KEY_KP_DECIMAL,
    GLFW_KEY_KP_EQUAL, GLFW_KEY_KP_ENTER, GLFW_KEY_NUM_LOCK, GLFW_KEY_CAPS_LOCK, GLFW_KEY_SCROLL_LOCK,
    GLFW_KEY_PAUSE, GLFW_KEY_LEFT_SUPER, GLFW_KEY_RIGHT_SUPER, GLFW_KEY_MENU,
};
// clang-format on
constexpr int kSpecialCount = static_cast<int>(sizeof kSpecialToV3 / sizeof kSpecialToV3[0]);
static_assert(kV2FirstSpecial + kSpecialCount - 1 == 325, "v2 special keys end at GLFW_KEY_MENU (325)");

// v3's printable keys use their ASCII codes, as v2 does; any other code
// below 256 is no v3 key.
bool IsV3Printable(int key) {
    switch (key) {
        case GLFW_KEY_SPACE:
        case GLFW_KEY_APOSTROPHE:
        case GLFW_KEY_SEMICOLON:
        case GLFW_KEY_EQUAL:
        case GLFW_KEY_LEFT_BRACKET:
        case GLFW_KEY_BACKSLASH:
        case GLFW_KEY_RIGHT_BRACKET:
        case GLFW_KEY_GRAVE_ACCENT:
        case GLFW_KEY_WORLD_1:
        case GLFW_KEY_WORLD_2:
            return true;
        default:
            return (key >= GLFW_KEY_COMMA && key <= GLFW_KEY_9) || (key >= GLFW_KEY_A && key <= GLFW_KEY_Z);
    }
}

}  // namespace

int KeyFromV3(int v3key) {
    if (v3key >= 0 && v3key < kV2Special) return IsV3Printable(v3key) ? v3key : -1;
    for (int i = 0; i < kSpecialCount; ++i)
        if (kSpecialToV3[i] == v3key) return kV2FirstSpecial + i;
    return -1;
}

int KeyToV3(int v2key) {
    if (v2key >= 0 && v2key < kV2Special) return IsV3Printable(v2key) ? v2key : -1;
    int i = v2key - kV2FirstSpecial;
    return i >= 0 && i < kSpecialCount ? kSpecialToV3[i] : -1;
}

}  // namespace glfw2
