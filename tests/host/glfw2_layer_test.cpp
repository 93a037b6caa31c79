// The GLFW-2-interface layer: key numbering, the gamepad presentation, the
// replaceable clock, and the window semantics the host relies on (opened,
// active, the close callback), with a real window under Xvfb.
#include <gtest/gtest.h>

#include "input/joystick_layout.h"
#include "runtime/glfw2/gamepad.h"
#include "runtime/glfw2/glfw2.h"
#include "runtime/glfw2/keymap.h"
#include "tests/host/host_harness.h"
#include "tests/host/x11_driver.h"

using namespace glfw2;

namespace {

// GLFW 3's numbers for a few keys, as its header defines them.
constexpr int kV3Escape = 256, kV3Right = 262, kV3Delete = 261, kV3F1 = 290, kV3KeypadEnter = 335,
              kV3Menu = 348, kV3PrintScreen = 283;

TEST(KeyNumbering, SpecialKeysUseTheV2NumbersAndPrintableKeysTheirAscii) {
    EXPECT_EQ(KeyFromV3(kV3Escape), GLFW_KEY_ESC);
    EXPECT_EQ(GLFW_KEY_ESC, 257);
    EXPECT_EQ(KeyFromV3(kV3Right), GLFW_KEY_RIGHT);
    EXPECT_EQ(GLFW_KEY_RIGHT, 286);
    EXPECT_EQ(KeyFromV3(kV3Delete), GLFW_KEY_DEL);
    EXPECT_EQ(KeyFromV3(kV3F1), GLFW_KEY_F1);
    EXPECT_EQ(KeyFromV3(kV3KeypadEnter), GLFW_KEY_KP_ENTER);
    EXPECT_EQ(KeyFromV3(kV3Menu), GLFW_KEY_MENU);
    EXPECT_EQ(GLFW_KEY_MENU, 325);
    EXPECT_EQ(KeyFromV3('A'), 'A');
    EXPECT_EQ(KeyFromV3('7'), '7');
    EXPECT_EQ(KeyFromV3(' '), ' ');
    EXPECT_EQ(KeyFromV3(kV3PrintScreen), GLFW_KEY_UNKNOWN);
    EXPECT_EQ(KeyFromV3('a'), GLFW_KEY_UNKNOWN);  // v3 reports letters as capitals only
}

TEST(KeyNumbering, EveryV2SpecialKeyRoundTrips) {
    for (int key = GLFW_KEY_ESC; key <= GLFW_KEY_LAST; ++key) {
        int v3 = KeyToV3(key);
        ASSERT_GE(v3, 0) << key;
        EXPECT_EQ(KeyFromV3(v3), key);
    }
    EXPECT_EQ(KeyToV3(GLFW_KEY_SPECIAL), -1);
    EXPECT_EQ(KeyToV3(GLFW_KEY_LAST + 1), -1);
    EXPECT_EQ(KeyToV3(-5), -1);
}

// A v3 gamepad state at rest: sticks centred, triggers released.
GamepadState RestingPad() {
    GamepadState s{};
    s.axes[4] = s.axes[5] = -1.0f;
    return s;
}

TEST(GamepadShape, ButtonsFollowTheFourteenButtonOrderWithTheDpadLast) {
    // v3 order: A B X Y LB RB Back Start Guide LThumb RThumb Up Right Down Left.
    const int v3ForOutput[kGamepadButtons] = {0, 1, 2, 3, 4, 5, 6, 7, 9, 10, 14, 11, 12, 13};
    for (int out = 0; out < kGamepadButtons; ++out) {
        GamepadState s = RestingPad();
        s.buttons[v3ForOutput[out]] = 1;
        float axes[kGamepadAxes];
        unsigned char buttons[kGamepadButtons];
        ShapeGamepad(s, axes, buttons);
        for (int i = 0; i < kGamepadButtons; ++i) EXPECT_EQ(buttons[i], i == out ? 1 : 0) << "output " << out;
    }
    GamepadState guide = RestingPad();
    guide.buttons[8] = 1;
    float axes[kGamepadAxes];
    unsigned char buttons[kGamepadButtons];
    ShapeGamepad(guide, axes, buttons);
    for (unsigned char b : buttons) EXPECT_EQ(b, 0);
}

TEST(GamepadShape, AxesUseV2SignsAndCombineTheTriggers) {
    GamepadState s = RestingPad();
    s.axes[0] = 0.25f;   // left X
    s.axes[1] = -0.5f;   // left Y: up in v3
    s.axes[2] = 0.75f;   // right X
    s.axes[3] = 0.125f;  // right Y: down in v3
    float axes[kGamepadAxes];
    unsigned char buttons[kGamepadButtons];
    ShapeGamepad(s, axes, buttons);
    EXPECT_FLOAT_EQ(axes[0], 0.25f);
    EXPECT_FLOAT_EQ(axes[1], 0.5f);  // up is positive
    EXPECT_FLOAT_EQ(axes[2], 0.0f);  // both triggers released
    EXPECT_FLOAT_EQ(axes[3], -0.125f);
    EXPECT_FLOAT_EQ(axes[4], 0.75f);

    s.axes[4] = 1.0f;  // left trigger fully pressed
    ShapeGamepad(s, axes, buttons);
    EXPECT_FLOAT_EQ(axes[2], 1.0f);
    s.axes[4] = -1.0f;
    s.axes[5] = 0.0f;  // right trigger half pressed
    ShapeGamepad(s, axes, buttons);
    EXPECT_FLOAT_EQ(axes[2], -0.5f);
}

// The whole road of a standard pad: the layer's shape read by the input
// device's first layout puts the d-pad on outputs 8..11 as left, up, right,
// down and the triggers on trigger[0] / trigger[1].
TEST(GamepadShape, ThroughTheFirstLayoutTheDpadIsOutputs8To11LeftUpRightDown) {
    const int dpadV3[4] = {14, 11, 12, 13};  // left, up, right, down
    for (int d = 0; d < 4; ++d) {
        GamepadState s = RestingPad();
        s.buttons[dpadV3[d]] = 1;
        s.axes[5] = 1.0f;  // right trigger pressed
        float axes[kGamepadAxes];
        unsigned char buttons[kGamepadButtons];
        ShapeGamepad(s, axes, buttons);
        ASSERT_EQ(JoystickLayoutFor(kGamepadAxes, kGamepadButtons), 1);
        Array<float> stickX(2), stickY(2), trigger(2);
        Array<bool> out(32);
        ApplyJoystickLayout(axes, kGamepadAxes, buttons, kGamepadButtons, stickX, stickY, trigger, out);
        for (int b = 0; b < 32; ++b) EXPECT_EQ(out[b], b == 8 + d) << "d-pad " << d << " output " << b;
        EXPECT_FLOAT_EQ(trigger[0], -1.0f);
        EXPECT_FLOAT_EQ(trigger[1], 1.0f);
    }
}

TEST(Clock, TimeAndSleepGoThroughTheInstalledClock) {
    ManualClock clock;
    ClockGuard guard(&clock);
    EXPECT_DOUBLE_EQ(glfwGetTime(), 100.0);
    glfwSleep(0.25);
    EXPECT_DOUBLE_EQ(glfwGetTime(), 100.25);
    glfwSleep(-1);  // nothing to wait for
    glfwSleep(0);
    EXPECT_EQ(clock.sleeps, 1);
    glfwSetTime(5);
    EXPECT_DOUBLE_EQ(glfwGetTime(), 5.0);
    clock.now += 1;
    EXPECT_DOUBLE_EQ(glfwGetTime(), 6.0);
}

class LayerWindow : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { ASSERT_TRUE(glfwInit()); }
    void TearDown() override {
        glfwCloseWindow();
        glfwSetWindowCloseCallback(nullptr);
    }
    static bool Open() { return glfwOpenWindow(320, 240, 8, 8, 8, 0, 0, 0, GLFW_WINDOW) == 1; }
    // Polls until `done` holds or about two seconds pass.
    template <class Done>
    static bool PollUntil(Done done) {
        for (int i = 0; i < 200 && !done(); ++i) {
            glfwPollEvents();
            glfwSleep(0.01);
        }
        return done();
    }
};

TEST_F(LayerWindow, OneWindowAtATimeAndEveryCallIsSafeWithoutOne) {
    ASSERT_TRUE(Open());
    EXPECT_EQ(glfwGetWindowParam(GLFW_OPENED), 1);
    EXPECT_EQ(glfwOpenWindow(320, 240, 8, 8, 8, 0, 0, 0, GLFW_WINDOW), 0);
    glfwCloseWindow();
    EXPECT_EQ(glfwGetWindowParam(GLFW_OPENED), 0);
    EXPECT_EQ(glfwGetWindowParam(GLFW_ACTIVE), 0);
    int w = -1, h = -1;
    glfwGetWindowSize(&w, &h);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(h, 0);
    glfwSwapBuffers();
    glfwSwapInterval(1);
    glfwWaitEvents();  // returns at once: nothing could wake it
    EXPECT_EQ(glfwGetKey(GLFW_KEY_RIGHT), GLFW_RELEASE);
    ASSERT_TRUE(Open());
    EXPECT_EQ(glfwGetWindowParam(GLFW_OPENED), 1);
}

int refusals = 0;
int RefuseClose() {
    return ++refusals, 0;
}
int AcceptClose() {
    return 1;
}

TEST_F(LayerWindow, ACloseCallbackAnsweringZeroKeepsTheWindowOpen) {
    ASSERT_TRUE(Open());
    glfwSetWindowTitle("layer-close-test");
    glfwSetWindowCloseCallback(RefuseClose);
    refusals = 0;
    PollUntil([] { return xdriver::FindWindow("layer-close-test") != 0; });
    xdriver::SendDeleteRequest(xdriver::FindWindow("layer-close-test"));
    EXPECT_TRUE(PollUntil([] { return refusals == 1; }));
    EXPECT_EQ(glfwGetWindowParam(GLFW_OPENED), 1);

    glfwSetWindowCloseCallback(AcceptClose);
    xdriver::SendDeleteRequest(xdriver::FindWindow("layer-close-test"));
    EXPECT_TRUE(PollUntil([] { return glfwGetWindowParam(GLFW_OPENED) == 0; }));
}

TEST_F(LayerWindow, ActiveMeansFocused) {
    ASSERT_TRUE(Open());
    glfwSetWindowTitle("layer-focus-test");
    ASSERT_TRUE(PollUntil([] { return xdriver::FindWindow("layer-focus-test") != 0; }));
    unsigned long window = xdriver::FindWindow("layer-focus-test");
    xdriver::Xdotool("windowfocus --sync " + std::to_string(window));
    EXPECT_TRUE(PollUntil([] { return glfwGetWindowParam(GLFW_ACTIVE) == 1; }));
    xdriver::Xdotool("windowfocus --sync " + std::to_string(xdriver::RootWindowId()));
    EXPECT_TRUE(PollUntil([] { return glfwGetWindowParam(GLFW_ACTIVE) == 0; }));
    EXPECT_EQ(glfwGetWindowParam(GLFW_OPENED), 1);
}

// A title outlives its window: the full-screen window that a switch opens,
// and the windowed one after it, carry the last title set.
TEST_F(LayerWindow, EveryNewWindowCarriesTheLastTitleSet) {
    ASSERT_TRUE(Open());
    glfwSetWindowTitle("layer-title-test");
    ASSERT_TRUE(PollUntil([] { return xdriver::FindWindow("layer-title-test") != 0; }));
    glfwCloseWindow();
    ASSERT_EQ(glfwOpenWindow(640, 480, 8, 8, 8, 0, 0, 0, GLFW_FULLSCREEN), 1);
    EXPECT_TRUE(PollUntil([] { return xdriver::FindWindow("layer-title-test") != 0; }))
        << "the full-screen window has a title";
    glfwCloseWindow();
    ASSERT_TRUE(Open());
    EXPECT_TRUE(PollUntil([] { return xdriver::FindWindow("layer-title-test") != 0; }));
}

int lastKey = 0, lastAction = -1, presses = 0;
void RecordKey(int key, int action) {
    lastKey = key;
    lastAction = action;
    if (action == GLFW_PRESS) ++presses;
}

TEST_F(LayerWindow, KeysArriveInV2NumberingAndHeldKeysReadPressed) {
    ASSERT_TRUE(Open());
    glfwSetWindowTitle("layer-key-test");
    glfwSetKeyCallback(RecordKey);
    ASSERT_TRUE(PollUntil([] { return xdriver::FindWindow("layer-key-test") != 0; }));
    xdriver::Xdotool("windowfocus --sync " + std::to_string(xdriver::FindWindow("layer-key-test")));
    presses = 0;
    xdriver::Xdotool("keydown Right");
    EXPECT_TRUE(PollUntil([] { return presses == 1; }));
    EXPECT_EQ(lastKey, GLFW_KEY_RIGHT);
    EXPECT_EQ(glfwGetKey(GLFW_KEY_RIGHT), GLFW_PRESS);
    xdriver::Xdotool("keyup Right");
    EXPECT_TRUE(PollUntil([] { return lastAction == GLFW_RELEASE; }));
    EXPECT_EQ(glfwGetKey(GLFW_KEY_RIGHT), GLFW_RELEASE);
    glfwSetKeyCallback(nullptr);
}

// The X server repeats a held key; v3 reports the repeats apart, and the
// layer hands them on as presses only while key repeat is enabled.
TEST_F(LayerWindow, HeldKeyRepeatsArePressesOnlyWithKeyRepeatEnabled) {
    ASSERT_TRUE(Open());
    glfwSetWindowTitle("layer-repeat-test");
    glfwSetKeyCallback(RecordKey);
    ASSERT_TRUE(PollUntil([] { return xdriver::FindWindow("layer-repeat-test") != 0; }));
    xdriver::Xdotool("windowfocus --sync " + std::to_string(xdriver::FindWindow("layer-repeat-test")));
    for (bool repeat : {true, false}) {
        if (repeat) {
            glfwEnable(GLFW_KEY_REPEAT);
        } else {
            glfwDisable(GLFW_KEY_REPEAT);
        }
        presses = 0;
        lastAction = -1;
        xdriver::Xdotool("keydown Right");
        // Longer than the server's repeat delay.
        for (int i = 0; i < 120; ++i) {
            glfwPollEvents();
            glfwSleep(0.01);
        }
        xdriver::Xdotool("keyup Right");
        PollUntil([] { return lastAction == GLFW_RELEASE; });
        if (repeat) {
            EXPECT_GT(presses, 1);
        } else {
            EXPECT_EQ(presses, 1);
        }
    }
    glfwSetKeyCallback(nullptr);
}

}  // namespace
