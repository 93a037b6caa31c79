// The zq_input_ front end: key-code arithmetic, range checks, the answers
// before a device is installed, and the installed device as a collector root.
#include <gtest/gtest.h>

#include "input/zq_input.h"
#include "tests/input/scripted_joysticks.h"

namespace {

class FrontEndTest : public ::testing::Test {
  protected:
    JoystickHost host;
    c_InputDevice* device = nullptr;

    void SetUp() override {
        ZqGame::_game = &host;
        device = gc_new<c_InputDevice>()->m_new();
        zq_input_SetInputDevice(device);
    }
    void TearDown() override {
        zq_input_SetInputDevice(nullptr);
        ZqGame::_game = nullptr;
    }
};

bool OnFreeList(const gc_object* object) {
    for (const gc_object* o = gc_free_list.succ; o != &gc_free_list; o = o->succ)
        if (o == object) return true;
    return false;
}

}  // namespace

TEST_F(FrontEndTest, KeysAndCharacters) {
    device->p_KeyEvent(kInputKeyDown, 39);
    device->p_KeyEvent(kInputChar, 65575);
    EXPECT_TRUE(zq_input_KeyDown(39));
    EXPECT_EQ(zq_input_KeyHit(39), 1);
    EXPECT_EQ(zq_input_GetChar(), 65575);
    EXPECT_EQ(zq_input_GetChar(), 0);
    EXPECT_FALSE(zq_input_KeyDown(512));
    EXPECT_EQ(zq_input_KeyHit(-1), 0);
}

TEST_F(FrontEndTest, MouseButtonsMapToCodesOneUpAndCheckTheirRange) {
    device->p_MouseEvent(kInputMouseDown, 2, 11, 12);
    EXPECT_TRUE(zq_input_MouseDown(2));
    EXPECT_EQ(zq_input_MouseHit(2), 1);
    EXPECT_FLOAT_EQ(zq_input_MouseX(), 11);
    EXPECT_FLOAT_EQ(zq_input_MouseY(), 12);

    device->p_KeyEvent(kInputKeyDown, 511);
    EXPECT_TRUE(zq_input_MouseDown(510));  // code 511
    EXPECT_EQ(zq_input_MouseHit(510), 1);
    device->p_KeyEvent(kInputKeyDown, 0);
    EXPECT_FALSE(zq_input_MouseDown(-1));  // would be code 0
    EXPECT_EQ(zq_input_MouseHit(-1), 0);
    EXPECT_FALSE(zq_input_MouseDown(511));
    EXPECT_EQ(zq_input_MouseHit(511), 0);
    EXPECT_FALSE(zq_input_MouseDown(2147483647));  // no overflow into a valid code
    EXPECT_EQ(zq_input_MouseHit(-2147483647 - 1), 0);
}

TEST_F(FrontEndTest, TouchesAreTheirOwnRange) {
    device->p_TouchEvent(kInputTouchDown, 5, 1, 2);
    EXPECT_TRUE(zq_input_TouchDown(5));
    EXPECT_FLOAT_EQ(zq_input_TouchX(5), 1);
    EXPECT_FLOAT_EQ(zq_input_TouchY(5), 2);
    device->p_KeyEvent(kInputKeyDown, 416);  // the back key sits where finger 32 would
    EXPECT_FALSE(zq_input_TouchDown(32));
    EXPECT_FALSE(zq_input_TouchDown(-1));
    EXPECT_FLOAT_EQ(zq_input_TouchX(32), 0);
    EXPECT_FLOAT_EQ(zq_input_TouchX(-1), 0);
    EXPECT_FLOAT_EQ(zq_input_TouchY(-1), 0);
}

TEST_F(FrontEndTest, JoystickButtonsByUnit) {
    host.joysticks.pads[0] = GamepadShape();
    host.joysticks.pads[1] = GamepadShape();
    host.joysticks.pads[1].buttons[7] = 1;
    host.joysticks.pads[1].axes[4] = 0.25f;
    device->p_BeginUpdate();
    EXPECT_TRUE(zq_input_JoyDown(7, 1));
    EXPECT_EQ(zq_input_JoyHit(7, 1), 1);
    EXPECT_FALSE(zq_input_JoyDown(7, 0));
    EXPECT_FLOAT_EQ(zq_input_JoyX(1, 1), 0.25f);
    EXPECT_FLOAT_EQ(zq_input_JoyY(1, 1), 0.0f);
}

TEST_F(FrontEndTest, JoystickArgumentsOutsideTheirRangesAnswerZero) {
    // Every code of the space is down: nothing out of range may land on one.
    for (int code = 1; code < 512; ++code) device->p_KeyEvent(kInputKeyDown, code);
    EXPECT_TRUE(zq_input_JoyDown(31, 3));  // code 383
    EXPECT_FALSE(zq_input_JoyDown(0, 4));  // code 384, the first touch
    EXPECT_FALSE(zq_input_JoyDown(0, 8));  // 256 | 256 would alias unit 0
    EXPECT_FALSE(zq_input_JoyDown(32, 0));
    EXPECT_FALSE(zq_input_JoyDown(1000, 0));  // code above 511
    EXPECT_EQ(zq_input_JoyHit(1000, 0), 0);
    EXPECT_FALSE(zq_input_JoyDown(-1, 0));
    EXPECT_FALSE(zq_input_JoyDown(0, -1));
    EXPECT_EQ(zq_input_JoyHit(0, 1 << 28), 0);
    EXPECT_FLOAT_EQ(zq_input_JoyX(2, 0), 0);
    EXPECT_FLOAT_EQ(zq_input_JoyY(0, 4), 0);
}

TEST_F(FrontEndTest, KeyboardSwitchReachesTheHostAndAnswersTrue) {
    EXPECT_TRUE(zq_input_EnableKeyboard());
    EXPECT_TRUE(host.KeyboardEnabled());
    EXPECT_TRUE(zq_input_DisableKeyboard());
    EXPECT_FALSE(host.KeyboardEnabled());
}

TEST_F(FrontEndTest, AccelerometerReadsTheDevice) {
    device->p_MotionEvent(kInputAccel, 0, 0.5f, 0.75f, 1);
    EXPECT_FLOAT_EQ(zq_input_AccelX(), 0.5f);
    EXPECT_FLOAT_EQ(zq_input_AccelY(), 0.75f);
}

TEST_F(FrontEndTest, WithoutADeviceEveryQueryAnswersZero) {
    device->p_KeyEvent(kInputKeyDown, 65);
    zq_input_SetInputDevice(nullptr);
    EXPECT_FALSE(zq_input_KeyDown(65));
    EXPECT_EQ(zq_input_KeyHit(65), 0);
    EXPECT_EQ(zq_input_GetChar(), 0);
    EXPECT_FALSE(zq_input_MouseDown(0));
    EXPECT_FALSE(zq_input_TouchDown(0));
    EXPECT_FALSE(zq_input_JoyDown(0, 0));
    EXPECT_FLOAT_EQ(zq_input_MouseX(), 0);
    EXPECT_FLOAT_EQ(zq_input_TouchX(0), 0);
    EXPECT_FLOAT_EQ(zq_input_JoyX(0, 0), 0);
    EXPECT_FLOAT_EQ(zq_input_AccelX(), 0);
    EXPECT_TRUE(zq_input_EnableKeyboard());
}

TEST_F(FrontEndTest, InstalledDeviceAndItsRecordsSurviveCollection) {
    c_JoyState* joy = device->joyStates[2];
    c_InputDevice* dropped = gc_new<c_InputDevice>()->m_new();
    gc_collect_all();
    gc_collect_all();
    EXPECT_FALSE(OnFreeList(device));
    EXPECT_FALSE(OnFreeList(joy));
    EXPECT_FALSE(OnFreeList(joy->buttons.rep));
    EXPECT_FALSE(OnFreeList(device->hitCounts.rep));
    EXPECT_TRUE(OnFreeList(dropped));
    device->p_KeyEvent(kInputKeyDown, 70);
    device->p_BeginUpdate();
    EXPECT_TRUE(zq_input_KeyDown(70));
}
