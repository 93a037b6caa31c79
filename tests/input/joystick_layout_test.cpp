// The joystick layouts, the rescan of GLFW joysticks into units, and the
// limits on what a reading may touch.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "input/input_device.h"
#include "input/joystick_layout.h"
#include "runtime/glfw2/gamepad.h"
#include "tests/input/scripted_joysticks.h"

namespace {

struct Outputs {
    c_JoyState* joy = gc_new<c_JoyState>()->m_new();

    void Apply(const std::vector<float>& axes, const std::vector<unsigned char>& buttons) {
        // Exactly-sized heap copies: a read past the reported counts is an
        // address-sanitizer error.
        std::unique_ptr<float[]> a(new float[axes.size() + 1]);
        std::unique_ptr<unsigned char[]> b(new unsigned char[buttons.size() + 1]);
        std::copy(axes.begin(), axes.end(), a.get());
        std::copy(buttons.begin(), buttons.end(), b.get());
        ApplyJoystickLayout(a.get(), static_cast<int>(axes.size()), b.get(), static_cast<int>(buttons.size()),
                            joy->stickX, joy->stickY, joy->trigger, joy->buttons);
    }
    std::vector<int> DownButtons() const {
        std::vector<int> down;
        for (int i = 0; i < joy->buttons.Length(); ++i)
            if (joy->buttons[i]) down.push_back(i);
        return down;
    }
};

// Which output button each source button lands on: presses one source
// button at a time.
std::vector<int> OutputsOfEachSource(int axisCount, int buttonCount) {
    std::vector<int> mapping;
    for (int source = 0; source < buttonCount; ++source) {
        std::vector<unsigned char> buttons(buttonCount, 0);
        buttons[source] = 1;
        Outputs out;
        out.Apply(std::vector<float>(axisCount, 0.0f), buttons);
        std::vector<int> down = out.DownButtons();
        mapping.push_back(down.empty() ? -1 : down.size() == 1 ? down[0] : 100);
    }
    return mapping;
}

// A gamepad state through the GLFW-2 layer's v2 shape and the input
// device's layout.
c_JoyState* ThroughTheLayer(const glfw2::GamepadState& state) {
    float axes[glfw2::kGamepadAxes];
    unsigned char buttons[glfw2::kGamepadButtons];
    glfw2::ShapeGamepad(state, axes, buttons);
    c_JoyState* joy = gc_new<c_JoyState>()->m_new();
    ApplyJoystickLayout(axes, glfw2::kGamepadAxes, buttons, glfw2::kGamepadButtons, joy->stickX, joy->stickY,
                        joy->trigger, joy->buttons);
    return joy;
}

}  // namespace

TEST(JoystickLayout, OnlyFiveAxesAndFourteenButtonsSelectLayoutOne) {
    EXPECT_EQ(JoystickLayoutFor(5, 14), 1);
    EXPECT_EQ(JoystickLayoutFor(4, 14), 2);
    EXPECT_EQ(JoystickLayoutFor(6, 14), 2);
    EXPECT_EQ(JoystickLayoutFor(5, 13), 2);
    EXPECT_EQ(JoystickLayoutFor(5, 15), 2);
    EXPECT_EQ(JoystickLayoutFor(0, 0), 2);
}

TEST(JoystickLayout, LayoutOneAxes) {
    Outputs out;
    out.Apply({0.1f, 0.2f, 0.3f, 0.4f, 0.5f}, std::vector<unsigned char>(14, 0));
    EXPECT_FLOAT_EQ(out.joy->stickX[0], 0.1f);
    EXPECT_FLOAT_EQ(out.joy->stickY[0], 0.2f);
    EXPECT_FLOAT_EQ(out.joy->trigger[0], 0.3f);
    EXPECT_FLOAT_EQ(out.joy->stickX[1], 0.5f);   // fifth axis
    EXPECT_FLOAT_EQ(out.joy->stickY[1], -0.4f);  // fourth axis negated
    EXPECT_FLOAT_EQ(out.joy->trigger[1], -0.3f);
}

TEST(JoystickLayout, LayoutTwoAxesTakeTriggersFromButtonsSixAndSeven) {
    Outputs out;
    std::vector<unsigned char> buttons(12, 0);
    buttons[7] = 1;
    out.Apply({0.1f, 0.2f, 0.3f, 0.4f}, buttons);
    EXPECT_FLOAT_EQ(out.joy->stickX[0], 0.1f);
    EXPECT_FLOAT_EQ(out.joy->stickY[0], 0.2f);
    EXPECT_FLOAT_EQ(out.joy->trigger[0], 0.0f);
    EXPECT_FLOAT_EQ(out.joy->stickX[1], 0.3f);
    EXPECT_FLOAT_EQ(out.joy->stickY[1], -0.4f);
    EXPECT_FLOAT_EQ(out.joy->trigger[1], 1.0f);

    buttons[6] = 1;
    buttons[7] = 2;  // only the state 1 counts as pressed
    out.Apply({0.1f, 0.2f, 0.3f, 0.4f}, buttons);
    EXPECT_FLOAT_EQ(out.joy->trigger[0], 1.0f);
    EXPECT_FLOAT_EQ(out.joy->trigger[1], 0.0f);
}

TEST(JoystickLayout, AxesNotReportedReadAsZero) {
    Outputs out;
    out.Apply({0.7f}, std::vector<unsigned char>(2, 0));
    EXPECT_FLOAT_EQ(out.joy->stickX[0], 0.7f);
    EXPECT_FLOAT_EQ(out.joy->stickY[0], 0.0f);
    EXPECT_FLOAT_EQ(out.joy->stickX[1], 0.0f);
    EXPECT_FLOAT_EQ(out.joy->stickY[1], 0.0f);
}

TEST(JoystickLayout, LayoutOneButtonList) {
    // Sources 0..7 keep their place, 8 and 9 go to 12 and 13, and the last
    // four (10..13) to 8..11.
    EXPECT_EQ(OutputsOfEachSource(5, 14), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 12, 13, 8, 9, 10, 11}));
}

TEST(JoystickLayout, LayoutTwoButtonList) {
    // 16 buttons: the last four are 12..15. Sources 6 and 7 feed only the
    // triggers.
    EXPECT_EQ(OutputsOfEachSource(4, 16),
              (std::vector<int>{2, 0, 1, 3, 4, 5, -1, -1, 6, 7, 12, 13, 8, 9, 10, 11}));
}

TEST(JoystickLayout, NegativeEntriesCountFromTheEndOfTheReportedButtons) {
    // 10 buttons: the last four are 6..9, so 8 and 9 feed both a listed
    // place and a negative entry.
    Outputs out;
    std::vector<unsigned char> buttons(10, 0);
    buttons[9] = 1;
    out.Apply({0, 0, 0, 0}, buttons);
    EXPECT_EQ(out.DownButtons(), (std::vector<int>{7, 11}));
    buttons[9] = 0;
    buttons[6] = 1;
    out.Apply({0, 0, 0, 0}, buttons);
    EXPECT_EQ(out.DownButtons(), (std::vector<int>{8}));
}

TEST(JoystickLayout, FewerThanFourButtonsLeaveTheNegativeEntriesUp) {
    Outputs out;
    out.Apply({0, 0}, {1, 1, 1});  // every reported button pressed
    EXPECT_EQ(out.DownButtons(), (std::vector<int>{0, 1, 2, 9, 10, 11}));
    out.Apply({}, {});
    EXPECT_TRUE(out.DownButtons().empty());
}

TEST(JoystickLayout, GamepadShapePutsTheDpadOnOutputsEightToEleven) {
    // The GLFW-2 layer's gamepad: ..., 8 left stick, 9 right stick, then the
    // d-pad as 10 left, 11 up, 12 right, 13 down.
    const char* names[] = {"left", "up", "right", "down"};
    for (int d = 0; d < 4; ++d) {
        ScriptedJoysticks::Pad pad = GamepadShape();
        pad.buttons[10 + d] = 1;
        Outputs out;
        out.Apply(pad.axes, pad.buttons);
        EXPECT_EQ(out.DownButtons(), std::vector<int>{8 + d}) << names[d];
    }
}

TEST(JoystickLayout, TheLayersGamepadGivesTheDpadAsLeftUpRightDown) {
    // From a GLFW 3 gamepad state through the layer's v2 presentation.
    const int v3Dpad[4] = {14, 11, 12, 13};  // v3 d-pad left, up, right, down
    for (int d = 0; d < 4; ++d) {
        glfw2::GamepadState state{};
        state.axes[4] = state.axes[5] = -1.0f;  // triggers released
        state.buttons[v3Dpad[d]] = 1;
        c_JoyState* joy = ThroughTheLayer(state);
        for (int i = 0; i < 32; ++i)
            EXPECT_EQ(joy->buttons[i], i == 8 + d) << "d-pad " << d << " output " << i;
        EXPECT_FLOAT_EQ(joy->trigger[0], 0.0f);
    }
}

TEST(JoystickLayout, TheBrowsersStandardPadReachesTheSameOutputs) {
    // A pad in the browser's standard layout (17 buttons, 4 axes), read by
    // the web's GLFW layer: d-pad buttons 12 up, 13 down, 14 left, 15 right.
    const int standardDpad[4] = {14, 12, 15, 13};  // left, up, right, down
    for (int d = 0; d < 4; ++d) {
        float raw[4] = {0, 0, 0, 0};
        unsigned char pressed[17] = {};
        pressed[standardDpad[d]] = 1;
        glfw2::GamepadState state{};
        ASSERT_TRUE(glfw2::GamepadFromStandardLayout(raw, 4, pressed, 17, state));
        c_JoyState* joy = ThroughTheLayer(state);
        for (int i = 0; i < 32; ++i)
            EXPECT_EQ(joy->buttons[i], i == 8 + d) << "d-pad " << d << " output " << i;
        EXPECT_FLOAT_EQ(joy->trigger[0], 0.0f) << "triggers released";
    }
}

TEST(JoystickLayout, TheBrowsersStandardPadSticksTriggersAndShortPads) {
    // Down is positive on the browser's sticks, up on the layer's.
    float raw[4] = {0.25f, 0.5f, -0.75f, -1.0f};
    unsigned char pressed[16] = {};
    pressed[0] = 1;  // south
    pressed[6] = 1;  // left trigger, a button there
    glfw2::GamepadState state{};
    ASSERT_TRUE(glfw2::GamepadFromStandardLayout(raw, 4, pressed, 16, state));
    float axes[glfw2::kGamepadAxes];
    unsigned char buttons[glfw2::kGamepadButtons];
    glfw2::ShapeGamepad(state, axes, buttons);
    EXPECT_FLOAT_EQ(axes[0], 0.25f);
    EXPECT_FLOAT_EQ(axes[1], -0.5f);
    EXPECT_FLOAT_EQ(axes[2], 1.0f) << "left trigger fully pressed, right released";
    EXPECT_FLOAT_EQ(axes[3], 1.0f);
    EXPECT_FLOAT_EQ(axes[4], -0.75f);
    EXPECT_EQ(buttons[0], 1);
    EXPECT_EQ(buttons[6], 0) << "a trigger is no back button, though both are 6 in their lists";

    // Too few buttons or axes: not a standard pad, the state left alone.
    glfw2::GamepadState untouched{};
    untouched.axes[0] = 9.0f;
    EXPECT_FALSE(glfw2::GamepadFromStandardLayout(raw, 4, pressed, 15, untouched));
    EXPECT_FALSE(glfw2::GamepadFromStandardLayout(raw, 3, pressed, 16, untouched));
    EXPECT_FLOAT_EQ(untouched.axes[0], 9.0f);
}

TEST(JoystickLayout, OutputsPastTheListStayUpAndAreCleared) {
    Outputs out;
    for (int i = 0; i < 32; ++i) out.joy->buttons[i] = true;
    out.Apply({0, 0, 0, 0}, std::vector<unsigned char>(32, 1));
    std::vector<int> down = out.DownButtons();
    ASSERT_EQ(down.size(), 14u);
    EXPECT_EQ(down.back(), 13);
}

TEST(JoystickLayout, CountsBeyondTheReadLimitsAreClamped) {
    float axes[6] = {0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f};
    unsigned char buttons[32] = {};
    buttons[31] = 1;  // the last of the 32 readable buttons
    c_JoyState* joy = gc_new<c_JoyState>()->m_new();
    ApplyJoystickLayout(axes, 1000, buttons, 1000, joy->stickX, joy->stickY, joy->trigger, joy->buttons);
    EXPECT_TRUE(joy->buttons[11]);  // -1 = button 31, not button 999
    EXPECT_FLOAT_EQ(joy->stickX[1], 0.3f);
}

TEST(JoystickLayout, ShortOutputArraysAreNotOverrun) {
    float axes[5] = {0.1f, 0.2f, 0.3f, 0.4f, 0.5f};
    unsigned char buttons[14] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    Array<float> one(1);
    Array<bool> four(4);
    ApplyJoystickLayout(axes, 5, buttons, 14, one, one, one, four);
    ApplyJoystickLayout(axes, 5, buttons, 14, Array<float>(), Array<float>(), Array<float>(), Array<bool>());
    EXPECT_TRUE(four[3]);
}

TEST(JoystickRescan, UnitsAreTheFirstFourPresentJoysticksInNumberOrder) {
    ScriptedJoysticks joysticks;
    int pjoys[kJoyUnitCount] = {7, 7, 7, 7};
    RescanJoysticks(joysticks, pjoys);
    EXPECT_EQ(std::vector<int>(pjoys, pjoys + 4), (std::vector<int>{-1, -1, -1, -1}));

    joysticks.pads[3] = GamepadShape();
    RescanJoysticks(joysticks, pjoys);
    EXPECT_EQ(std::vector<int>(pjoys, pjoys + 4), (std::vector<int>{3, -1, -1, -1}));

    for (int n : {15, 1, 9, 12, 14}) joysticks.pads[n] = GamepadShape();
    RescanJoysticks(joysticks, pjoys);
    EXPECT_EQ(std::vector<int>(pjoys, pjoys + 4), (std::vector<int>{1, 3, 9, 12}));
}

TEST(JoystickPoll, UnitZeroRescansAndLaterUnitsUseThatScan) {
    ScriptedJoysticks joysticks;
    joysticks.pads[3] = GamepadShape();
    joysticks.pads[3].axes[0] = 0.75f;
    int pjoys[kJoyUnitCount] = {-1, -1, -1, -1};
    c_JoyState* joy = gc_new<c_JoyState>()->m_new();
    auto poll = [&](int unit) {
        return PollJoystickFrom(joysticks, pjoys, unit, joy->stickX, joy->stickY, joy->trigger, joy->buttons);
    };

    EXPECT_FALSE(poll(1));  // nothing scanned yet
    EXPECT_TRUE(poll(0));
    EXPECT_FLOAT_EQ(joy->stickX[0], 0.75f);
    EXPECT_EQ(joysticks.readNumbers, std::vector<int>{3});
    EXPECT_FALSE(poll(1));
    EXPECT_FALSE(poll(-1));
    EXPECT_FALSE(poll(4));

    joysticks.pads[5] = GamepadShape();
    EXPECT_FALSE(poll(1));  // a new joystick appears at the next unit-0 poll
    EXPECT_TRUE(poll(0));
    EXPECT_TRUE(poll(1));
    EXPECT_EQ(joysticks.readNumbers, (std::vector<int>{3, 3, 5}));
}
