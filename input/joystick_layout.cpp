// The two layouts are data: six axis rules and fourteen button-list entries
// each, applied by one routine so that both layouts share every range check.
#include "input/joystick_layout.h"

#include <algorithm>

namespace {

// One stick or trigger output: an axis value times a sign, or a button as
// 1 / 0.
struct AxisRule {
    bool fromButton;
    int index;
    float sign;
};

struct JoystickLayout {
    AxisRule outputs[6];                // stickX[0], stickY[0], trigger[0], stickX[1], stickY[1], trigger[1]
    int buttonList[kJoyLayoutButtons];  // source button per output button; -k = k-th from the end
};

constexpr AxisRule Axis(int index, float sign = 1.0f) {
    return {false, index, sign};
}
constexpr AxisRule Button(int index) {
    return {true, index, 1.0f};
}

constexpr JoystickLayout kLayoutOne = {
    {Axis(0), Axis(1), Axis(2), Axis(4), Axis(3, -1.0f), Axis(2, -1.0f)},
    {0, 1, 2, 3, 4, 5, 6, 7, -4, -3, -2, -1, 8, 9},
};

constexpr JoystickLayout kLayoutTwo = {
    {Axis(0), Axis(1), Button(6), Axis(2), Axis(3, -1.0f), Button(7)},
    {1, 2, 0, 3, 4, 5, 8, 9, -4, -3, -2, -1, 10, 11},
};

template <class T>
void Store(Array<T>& array, int index, T value) {
    if (index < array.Length()) array[index] = value;
}

}  // namespace

int JoystickLayoutFor(int axisCount, int buttonCount) {
    return buttonCount == 14 && axisCount == 5 ? 1 : 2;
}

void ApplyJoystickLayout(const float* axes, int axisCount, const unsigned char* buttons, int buttonCount,
                         Array<float> stickX, Array<float> stickY, Array<float> trigger,
                         Array<bool> outButtons) {
    const JoystickLayout& layout = JoystickLayoutFor(axisCount, buttonCount) == 1 ? kLayoutOne : kLayoutTwo;
    int a = std::clamp(axisCount, 0, kJoyReadAxes);
    int b = std::clamp(buttonCount, 0, kJoyReadButtons);

    auto axis = [&](int i) { return i < a ? axes[i] : 0.0f; };
    auto pressed = [&](int i) {
        if (i < 0) i += b;  // -k: the k-th reported button from the end
        return i >= 0 && i < b && buttons[i] == 1;
    };
    auto value = [&](const AxisRule& rule) {
        return rule.fromButton ? (pressed(rule.index) ? 1.0f : 0.0f) : rule.sign * axis(rule.index);
    };

    for (int stick = 0; stick < 2; ++stick) {
        Store(stickX, stick, value(layout.outputs[3 * stick]));
        Store(stickY, stick, value(layout.outputs[3 * stick + 1]));
        Store(trigger, stick, value(layout.outputs[3 * stick + 2]));
    }
    for (int i = 0; i < outButtons.Length(); ++i) {
        outButtons[i] = i < kJoyLayoutButtons && pressed(layout.buttonList[i]);
    }
}

void RescanJoysticks(JoystickReader& reader, int pjoys[kJoyUnitCount]) {
    int found = 0;
    for (int number = 0; number < kJoyNumberCount && found < kJoyUnitCount; ++number) {
        if (reader.Present(number)) pjoys[found++] = number;
    }
    while (found < kJoyUnitCount) pjoys[found++] = -1;
}

bool PollJoystickFrom(JoystickReader& reader, int pjoys[kJoyUnitCount], int unit, Array<float> stickX,
                      Array<float> stickY, Array<float> trigger, Array<bool> outButtons) {
    if (unit == 0) RescanJoysticks(reader, pjoys);
    if (unit < 0 || unit >= kJoyUnitCount || pjoys[unit] == -1) return false;

    float axes[kJoyReadAxes] = {};
    unsigned char buttons[kJoyReadButtons] = {};
    int axisCount = reader.ReadAxes(pjoys[unit], axes, kJoyReadAxes);
    int buttonCount = reader.ReadButtons(pjoys[unit], buttons, kJoyReadButtons);
    ApplyJoystickLayout(axes, axisCount, buttons, buttonCount, stickX, stickY, trigger, outButtons);
    return true;
}
