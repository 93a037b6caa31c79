// ZqGlfwGame::PollJoystick: GLFW joysticks read through the GLFW-2 layer,
// laid out by the input device's joystick logic.
#include "input/joystick_layout.h"
#include "runtime/glfw2/glfw2.h"
#include "runtime/host/glfw_game.h"

namespace {

class Glfw2JoystickReader final : public JoystickReader {
  public:
    bool Present(int number) override {
        return glfw2::glfwGetJoystickParam(number, glfw2::GLFW_PRESENT) != 0;
    }
    int ReadAxes(int number, float* axes, int maxAxes) override {
        return glfw2::glfwGetJoystickPos(number, axes, maxAxes);
    }
    int ReadButtons(int number, unsigned char* buttons, int maxButtons) override {
        return glfw2::glfwGetJoystickButtons(number, buttons, maxButtons);
    }
};

// GLFW numbers of the joysticks that are units 0..3 (-1 for none);
// rescanned whenever unit 0 is polled.
int pjoys[kJoyUnitCount] = {-1, -1, -1, -1};

}  // namespace

bool ZqGlfwGame::PollJoystick(int port, Array<float> joyx, Array<float> joyy, Array<float> joyz,
                              Array<bool> buttons) {
    Glfw2JoystickReader reader;
    return PollJoystickFrom(reader, pjoys, port, joyx, joyy, joyz, buttons);
}
