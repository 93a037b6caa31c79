// Test doubles for joystick readings: no joystick hardware exists on the
// test machines, so GLFW's joysticks are replaced by scripted pads, and a
// host whose PollJoystick runs the real rescan and layout logic over them.
#pragma once

#include <map>
#include <vector>

#include "input/joystick_layout.h"
#include "runtime/lang/game.h"

// GLFW joysticks by number, each with the axes and buttons it reports.
class ScriptedJoysticks : public JoystickReader {
  public:
    struct Pad {
        std::vector<float> axes;
        std::vector<unsigned char> buttons;
    };
    std::map<int, Pad> pads;
    std::vector<int> readNumbers;  // GLFW numbers whose axes were read, in order

    bool Present(int number) override { return pads.count(number) != 0; }
    int ReadAxes(int number, float* axes, int maxAxes) override {
        readNumbers.push_back(number);
        return Copy(pads.at(number).axes, axes, maxAxes);
    }
    int ReadButtons(int number, unsigned char* buttons, int maxButtons) override {
        return Copy(pads.at(number).buttons, buttons, maxButtons);
    }

  private:
    template <class T>
    static int Copy(const std::vector<T>& from, T* to, int max) {
        int n = static_cast<int>(from.size()) < max ? static_cast<int>(from.size()) : max;
        for (int i = 0; i < n; ++i) to[i] = from[i];
        return n;
    }
};

// A host whose only service is PollJoystick, as the real host does it:
// pjoys kept between calls, readings from the scripted joysticks.
class JoystickHost : public ZqGame {
  public:
    ScriptedJoysticks joysticks;
    int pjoys[kJoyUnitCount] = {-1, -1, -1, -1};
    std::vector<int> polledUnits;

    bool PollJoystick(int unit, Array<float> stickX, Array<float> stickY, Array<float> trigger,
                      Array<bool> buttons) override {
        polledUnits.push_back(unit);
        return PollJoystickFrom(joysticks, pjoys, unit, stickX, stickY, trigger, buttons);
    }
};

// A pad in the GLFW-2 layer's gamepad shape: 5 axes, 14 buttons.
inline ScriptedJoysticks::Pad GamepadShape() {
    return {std::vector<float>(5, 0.0f), std::vector<unsigned char>(14, 0)};
}
