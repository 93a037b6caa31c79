// Actions: the one question the game asks about input ("is action A held
// on pad P?"), answered from the keyboard, the joysticks, the iCade mapping
// and the virtual buttons (padState) together.
//
// Actions: 0 up, 3 left, 5 right, 8 down, 10..15 buttons, 98 back (pads
// only), 99 back. Keys are tested as held, never as hits; callers that want
// one response per press latch it themselves. Pad -1 means the keyboard and
// the virtual buttons alone; pads 0..3 add that joystick's buttons (and its
// stick when asked); any other pad holds nothing.
#include <cmath>

#include "game/my_app.h"
#include "input/zq_input.h"

namespace {

constexpr int kNone = -1;
constexpr float kStickThreshold = 0.4f;

enum StickTest { kNoStick, kStickUp, kStickLeft, kStickRight, kStickDown };

struct ActionRow {
    int action;
    int keys[4];
    int buttons[3];   // joystick buttons, pads 0..3 only
    int virtuals[3];  // padState entries
    StickTest stick;
    bool padsOnly;  // never held for pad -1
};

// With iCadeControls 0.
constexpr ActionRow kNormalActions[] = {
    {0, {38, 87, kNone, kNone}, {9, kNone, kNone}, {0, kNone, kNone}, kStickUp, false},
    {3, {37, 65, kNone, kNone}, {8, kNone, kNone}, {3, kNone, kNone}, kStickLeft, false},
    {5, {39, 68, kNone, kNone}, {10, kNone, kNone}, {5, kNone, kNone}, kStickRight, false},
    {8, {40, 83, kNone, kNone}, {11, kNone, kNone}, {8, kNone, kNone}, kStickDown, false},
    {10, {90, 74, 32, 13}, {0, kNone, kNone}, {10, kNone, kNone}, kNoStick, false},
    {11, {88, 75, 17, kNone}, {1, kNone, kNone}, {11, kNone, kNone}, kNoStick, false},
    {12, {67, 76, 16, kNone}, {2, kNone, kNone}, {12, kNone, kNone}, kNoStick, false},
    {13, {86, 73, kNone, kNone}, {3, kNone, kNone}, {13, kNone, kNone}, kNoStick, false},
    {14, {66, 85, kNone, kNone}, {4, kNone, kNone}, {14, kNone, kNone}, kNoStick, false},
    {15, {78, 79, kNone, kNone}, {5, kNone, kNone}, {15, kNone, kNone}, kNoStick, false},
    {98, {27, 192, 46, 8}, {6, 7, 14}, {16, 17, 19}, kNoStick, true},
    {99, {27, 192, 46, 8}, {6, 7, 14}, {16, 17, 19}, kNoStick, false},
};

// With iCadeControls 1: letters arrive as iCade characters instead, no
// stick is read and 98 is never held.
constexpr ActionRow kICadeActions[] = {
    {0, {38, kNone, kNone, kNone}, {9, kNone, kNone}, {0, kNone, kNone}, kNoStick, false},
    {3, {37, kNone, kNone, kNone}, {8, kNone, kNone}, {3, kNone, kNone}, kNoStick, false},
    {5, {39, kNone, kNone, kNone}, {10, kNone, kNone}, {5, kNone, kNone}, kNoStick, false},
    {8, {40, kNone, kNone, kNone}, {11, kNone, kNone}, {8, kNone, kNone}, kNoStick, false},
    {10, {32, 13, kNone, kNone}, {0, kNone, kNone}, {10, kNone, kNone}, kNoStick, false},
    {11, {17, kNone, kNone, kNone}, {1, kNone, kNone}, {11, kNone, kNone}, kNoStick, false},
    {12, {16, kNone, kNone, kNone}, {2, kNone, kNone}, {12, kNone, kNone}, kNoStick, false},
    {13, {kNone, kNone, kNone, kNone}, {3, kNone, kNone}, {13, kNone, kNone}, kNoStick, false},
    {14, {kNone, kNone, kNone, kNone}, {4, kNone, kNone}, {14, kNone, kNone}, kNoStick, false},
    {15, {kNone, kNone, kNone, kNone}, {5, kNone, kNone}, {15, kNone, kNone}, kNoStick, false},
    {99, {27, 46, 8, kNone}, {7, 6, 14}, {16, 17, 19}, kNoStick, false},
};

template <size_t N>
const ActionRow* FindRow(const ActionRow (&table)[N], int action) {
    for (const ActionRow& row : table)
        if (row.action == action) return &row;
    return nullptr;
}

}  // namespace

bool c_MyApp::StickHeld(int test, int pad) {
    switch (test) {
        case kStickUp:
            return p_StickY(0, pad) < -kStickThreshold;
        case kStickDown:
            return p_StickY(0, pad) > kStickThreshold;
        case kStickLeft:
            return zq_input_JoyX(0, pad) < -kStickThreshold;
        case kStickRight:
            return zq_input_JoyX(0, pad) > kStickThreshold;
        default:
            return false;
    }
}

int c_MyApp::p_PlayKey(int action, int useStick, int pad) {
    if (pad < -1 || pad > 3) return 0;
    const bool joystick = pad >= 0;
    const ActionRow* row =
        iCadeControls == 1 ? FindRow(kICadeActions, action) : FindRow(kNormalActions, action);
    if (row) {
        if (row->padsOnly && !joystick) return 0;
        for (int key : row->keys)
            if (key != kNone && zq_input_KeyDown(key)) return 1;
        for (int v : row->virtuals)
            if (v != kNone && padState[v] != 0) return 1;
        if (joystick) {
            for (int button : row->buttons)
                if (button != kNone && zq_input_JoyDown(button, pad)) return 1;
            if (useStick == 1 && StickHeld(row->stick, pad)) return 1;
        }
        return 0;
    }
    // Actions without a row (16 and 17) stand for their virtual buttons alone.
    if (action >= 0 && action < padState.Length()) return padState[action] != 0 ? 1 : 0;
    return 0;
}

int c_MyApp::p_PlayKeyAll(int action, int useStick) {
    int sum = 0;
    for (int pad = 0; pad <= 3; ++pad) sum += p_PlayKey(action, useStick, pad);
    return sum;
}

float c_MyApp::p_StickY(int stick, int pad) {
    if (pad < 0 || stick < 0 || stick > 1) return 0.0f;
    float y = zq_input_JoyY(stick, pad);
    // settings 15 and 16: 0 inverts that stick's vertical reading.
    return settings[15 + stick] == 0 ? -y : y;
}
