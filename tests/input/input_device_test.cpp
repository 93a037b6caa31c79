// The input device's rules: key states and hits, the hit and character
// queues, pointer mirroring, joysticks polled through the host, and the
// range checks on everything that arrives from outside.
#include <gtest/gtest.h>

#include "input/input_device.h"
#include "tests/input/scripted_joysticks.h"

namespace {

class InputDeviceTest : public ::testing::Test {
  protected:
    c_InputDevice* device = gc_new<c_InputDevice>()->m_new();
    JoystickHost host;

    void SetUp() override { ZqGame::_game = &host; }
    void TearDown() override { ZqGame::_game = nullptr; }

    void Press(int code) { device->p_KeyEvent(kInputKeyDown, code); }
    void Release(int code) { device->p_KeyEvent(kInputKeyUp, code); }
    void Update() {
        device->p_EndUpdate();
        device->p_BeginUpdate();
    }
    bool AnyJoystickKeyDown() {
        for (int code = 256; code < 384; ++code)
            if (device->p_KeyDown(code)) return true;
        return false;
    }
};

}  // namespace

TEST_F(InputDeviceTest, StartsWithFourJoystickRecordsAndNothingDown) {
    ASSERT_EQ(device->joyStates.Length(), 4);
    for (int unit = 0; unit < 4; ++unit) {
        c_JoyState* joy = device->joyStates[unit];
        ASSERT_NE(joy, nullptr);
        EXPECT_EQ(joy->stickX.Length(), 2);
        EXPECT_EQ(joy->buttons.Length(), 32);
    }
    for (int code = 0; code < 512; ++code) EXPECT_FALSE(device->p_KeyDown(code));
    EXPECT_EQ(device->p_GetChar(), 0);
}

TEST_F(InputDeviceTest, PressCountsOneHitAndRepeatsAddNone) {
    Press(65);
    Press(65);  // auto-repeat
    EXPECT_TRUE(device->p_KeyDown(65));
    EXPECT_EQ(device->p_KeyHit(65), 1);
    Release(65);
    EXPECT_FALSE(device->p_KeyDown(65));
    EXPECT_EQ(device->p_KeyHit(65), 1);  // the hit stays until the update ends
    Press(65);
    EXPECT_EQ(device->p_KeyHit(65), 2);
    Release(66);  // releasing a key that is up changes nothing
    EXPECT_FALSE(device->p_KeyDown(66));
}

TEST_F(InputDeviceTest, HeldKeyGivesOneHitOverThreeUpdates) {
    device->p_BeginUpdate();
    Press(39);
    int hits[3], down[3];
    for (int u = 0; u < 3; ++u) {
        if (u > 0) Press(39);  // repeat presses keep arriving while held
        hits[u] = device->p_KeyHit(39);
        down[u] = device->p_KeyDown(39);
        Update();
    }
    EXPECT_EQ(hits[0], 1);
    EXPECT_EQ(hits[1], 0);
    EXPECT_EQ(hits[2], 0);
    EXPECT_TRUE(down[0] && down[1] && down[2]);
}

TEST_F(InputDeviceTest, EndUpdateClearsHitsAndCharactersButNotDownStates) {
    Press(13);
    device->p_KeyEvent(kInputChar, 'x');
    device->p_EndUpdate();
    EXPECT_EQ(device->p_KeyHit(13), 0);
    EXPECT_TRUE(device->p_KeyDown(13));
    EXPECT_EQ(device->p_GetChar(), 0);
    EXPECT_EQ(device->hitQueueLength, 0);
}

TEST_F(InputDeviceTest, HitQueueHoldsThirtyThreeHitsAndDropsTheRest) {
    for (int code = 100; code < 140; ++code) Press(code);
    int counted = 0;
    for (int code = 100; code < 140; ++code) {
        EXPECT_TRUE(device->p_KeyDown(code)) << code;  // down even when its hit is dropped
        counted += device->p_KeyHit(code);
    }
    EXPECT_EQ(counted, 33);
    EXPECT_EQ(device->p_KeyHit(132), 1);
    EXPECT_EQ(device->p_KeyHit(133), 0);
    // A full queue also drops repeated hits on a code already queued.
    Release(100);
    Press(100);
    EXPECT_EQ(device->p_KeyHit(100), 1);
    device->p_EndUpdate();
    for (int code = 100; code < 140; ++code) EXPECT_EQ(device->p_KeyHit(code), 0) << code;
}

TEST_F(InputDeviceTest, CharacterQueueHoldsThirtyTwoInOrder) {
    for (int i = 0; i < 40; ++i) device->p_KeyEvent(kInputChar, 1000 + i);
    for (int i = 0; i < 32; ++i) EXPECT_EQ(device->p_GetChar(), 1000 + i);
    EXPECT_EQ(device->p_GetChar(), 0);
    EXPECT_EQ(device->p_GetChar(), 0);
    device->p_EndUpdate();
    device->p_KeyEvent(kInputChar, 65575);
    EXPECT_EQ(device->p_GetChar(), 65575);
}

TEST_F(InputDeviceTest, LeftButtonAndFirstTouchMirrorEachOther) {
    device->p_MouseEvent(kInputMouseDown, 0, 10, 20);
    EXPECT_TRUE(device->p_KeyDown(1));
    EXPECT_TRUE(device->p_KeyDown(384));
    EXPECT_EQ(device->p_KeyHit(1), 1);
    EXPECT_EQ(device->p_KeyHit(384), 1);
    device->p_MouseEvent(kInputMouseUp, 0, 50, 60);
    EXPECT_FALSE(device->p_KeyDown(1));
    EXPECT_FALSE(device->p_KeyDown(384));

    device->p_EndUpdate();
    device->p_TouchEvent(kInputTouchDown, 0, 5, 6);
    EXPECT_TRUE(device->p_KeyDown(1));
    EXPECT_EQ(device->p_KeyHit(1), 1);
    device->p_TouchEvent(kInputTouchUp, 0, 0, 0);
    EXPECT_FALSE(device->p_KeyDown(1));
    EXPECT_FALSE(device->p_KeyDown(384));

    device->p_MouseEvent(kInputMouseDown, 1, 0, 0);  // other buttons have no mirror
    EXPECT_TRUE(device->p_KeyDown(2));
    EXPECT_FALSE(device->p_KeyDown(385));
}

TEST_F(InputDeviceTest, PressAndMoveRecordThePointerAndReleaseKeepsIt) {
    device->p_MouseEvent(kInputMouseDown, 0, 10, 20);
    EXPECT_FLOAT_EQ(device->p_MouseX(), 10);
    EXPECT_FLOAT_EQ(device->p_TouchY(0), 20);
    device->p_MouseEvent(kInputMouseUp, 0, 50, 60);
    EXPECT_FLOAT_EQ(device->p_MouseX(), 10);
    EXPECT_FLOAT_EQ(device->p_MouseY(), 20);
    device->p_MouseEvent(kInputMouseMove, -1, 30, 40);
    EXPECT_FLOAT_EQ(device->p_TouchX(0), 30);
    EXPECT_FLOAT_EQ(device->p_MouseY(), 40);

    device->p_TouchEvent(kInputTouchDown, 3, 7, 8);  // other fingers leave the mouse alone
    EXPECT_TRUE(device->p_KeyDown(387));
    EXPECT_FLOAT_EQ(device->p_TouchX(3), 7);
    EXPECT_FLOAT_EQ(device->p_MouseX(), 30);
    device->p_TouchEvent(kInputTouchMove, 0, 1, 2);
    EXPECT_FLOAT_EQ(device->p_MouseX(), 1);
    EXPECT_FLOAT_EQ(device->p_MouseY(), 2);
}

TEST_F(InputDeviceTest, OutOfRangeEventsAreIgnored) {
    for (int code : {-1, 512, 1 << 30, -(1 << 30)}) {
        Press(code);
        Release(code);
        device->p_PutKeyHit(code);
    }
    device->p_MouseEvent(kInputMouseDown, 511, 3, 4);  // no key code, but the pointer moves
    device->p_MouseEvent(kInputMouseDown, -2, 3, 4);
    device->p_MouseEvent(kInputMouseDown, 2147483647, 3, 4);
    EXPECT_FLOAT_EQ(device->p_MouseX(), 3);
    device->p_TouchEvent(kInputTouchDown, 32, 9, 9);  // would be the back key's code
    device->p_TouchEvent(kInputTouchDown, -1, 9, 9);
    device->p_TouchEvent(kInputTouchMove, 1000, 9, 9);
    device->p_KeyEvent(99, 65);
    device->p_MouseEvent(99, 0, 9, 9);
    for (int code = 0; code < 512; ++code) EXPECT_FALSE(device->p_KeyDown(code)) << code;
    EXPECT_EQ(device->hitQueueLength, 0);
    EXPECT_FLOAT_EQ(device->p_MouseX(), 3);

    device->p_MouseEvent(kInputMouseDown, 510, 0, 0);  // the last button with a code
    EXPECT_TRUE(device->p_KeyDown(511));
}

TEST_F(InputDeviceTest, QueriesOutsideTheirRangesAnswerZero) {
    Press(0);
    EXPECT_FALSE(device->p_KeyDown(0));
    EXPECT_EQ(device->p_KeyHit(0), 0);
    EXPECT_FALSE(device->p_KeyDown(512));
    EXPECT_EQ(device->p_KeyHit(-5), 0);
    device->p_TouchEvent(kInputTouchMove, 31, 4, 5);
    EXPECT_FLOAT_EQ(device->p_TouchX(31), 4);
    EXPECT_FLOAT_EQ(device->p_TouchX(32), 0);
    EXPECT_FLOAT_EQ(device->p_TouchX(-1), 0);
    EXPECT_FLOAT_EQ(device->p_TouchY(32), 0);
    EXPECT_FLOAT_EQ(device->p_JoyX(2, 0), 0);
    EXPECT_FLOAT_EQ(device->p_JoyY(0, 4), 0);
    EXPECT_FLOAT_EQ(device->p_JoyX(-1, -1), 0);
}

TEST_F(InputDeviceTest, AccelerometerFromMotionEventsOnly) {
    device->p_MotionEvent(11, 0, 1, 2, 3);
    EXPECT_FLOAT_EQ(device->p_AccelX(), 0);
    device->p_MotionEvent(kInputAccel, 0, 0.5f, -0.25f, 1);
    EXPECT_FLOAT_EQ(device->p_AccelX(), 0.5f);
    EXPECT_FLOAT_EQ(device->p_AccelY(), -0.25f);
    EXPECT_FLOAT_EQ(device->accelZ, 1);
}

TEST_F(InputDeviceTest, KeyboardRequestGoesToTheHost) {
    EXPECT_TRUE(device->p_SetKeyboardEnabled(true));
    EXPECT_TRUE(host.KeyboardEnabled());
    EXPECT_TRUE(device->p_SetKeyboardEnabled(false));
    EXPECT_FALSE(host.KeyboardEnabled());
}

TEST_F(InputDeviceTest, NoJoystickLeavesSticksAndButtonCodesAlone) {
    for (int u = 0; u < 3; ++u) Update();
    EXPECT_FLOAT_EQ(device->p_JoyX(0, 0), 0);
    EXPECT_FALSE(AnyJoystickKeyDown());
    EXPECT_EQ(host.polledUnits, (std::vector<int>{0, 0, 0}));  // unit 0 fails: no further units
}

TEST_F(InputDeviceTest, OnlyJoystickThreeBecomesUnitZero) {
    host.joysticks.pads[3] = GamepadShape();
    host.joysticks.pads[3].axes[0] = -0.5f;
    host.joysticks.pads[3].buttons[0] = 1;
    device->p_BeginUpdate();
    EXPECT_EQ(host.polledUnits, (std::vector<int>{0, 1}));  // unit 1 answers false: 2 and 3 not polled
    EXPECT_EQ(host.joysticks.readNumbers, std::vector<int>{3});
    EXPECT_FLOAT_EQ(device->p_JoyX(0, 0), -0.5f);
    EXPECT_TRUE(device->p_KeyDown(256));
    EXPECT_EQ(device->p_KeyHit(256), 1);
    for (int code = 257; code < 384; ++code) EXPECT_FALSE(device->p_KeyDown(code)) << code;
}

TEST_F(InputDeviceTest, JoystickButtonsBecomeKeysWithOneHitPerPress) {
    host.joysticks.pads[0] = GamepadShape();
    host.joysticks.pads[6] = GamepadShape();
    host.joysticks.pads[6].buttons[13] = 1;  // d-pad down of unit 1 -> output 11
    device->p_BeginUpdate();
    const int code = 256 + 32 * 1 + 11;
    EXPECT_TRUE(device->p_KeyDown(code));
    EXPECT_EQ(device->p_KeyHit(code), 1);
    Update();  // still held: no new hit
    EXPECT_TRUE(device->p_KeyDown(code));
    EXPECT_EQ(device->p_KeyHit(code), 0);
    host.joysticks.pads[6].buttons[13] = 0;
    Update();
    EXPECT_FALSE(device->p_KeyDown(code));
    host.joysticks.pads[6].buttons[13] = 1;
    Update();
    EXPECT_EQ(device->p_KeyHit(code), 1);
    EXPECT_EQ(host.polledUnits.size(), 4u * 3u);  // units 0, 1 and the failing 2, each update
}

TEST_F(InputDeviceTest, UnpluggedJoystickReadsReleasedAndCentred) {
    host.joysticks.pads[0] = GamepadShape();
    host.joysticks.pads[2] = GamepadShape();
    host.joysticks.pads[0].buttons[1] = 1;
    host.joysticks.pads[2].buttons[1] = 1;
    host.joysticks.pads[2].axes[1] = 0.9f;
    device->p_BeginUpdate();
    EXPECT_TRUE(device->p_KeyDown(257));
    EXPECT_TRUE(device->p_KeyDown(289));
    EXPECT_FLOAT_EQ(device->p_JoyY(0, 1), 0.9f);
    host.joysticks.pads.erase(2);
    Update();
    EXPECT_TRUE(device->p_KeyDown(257));
    EXPECT_FALSE(device->p_KeyDown(289));
    EXPECT_FLOAT_EQ(device->p_JoyY(0, 1), 0.0f);
    EXPECT_FALSE(device->joyStates[1]->buttons[1]);
}

TEST_F(InputDeviceTest, WithoutAHostNothingIsPolled) {
    ZqGame::_game = nullptr;
    device->p_BeginUpdate();
    EXPECT_TRUE(device->p_SetKeyboardEnabled(true));
    EXPECT_TRUE(host.polledUnits.empty());
}
