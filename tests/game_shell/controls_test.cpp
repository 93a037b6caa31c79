// Actions, the iCade mapping, steering and the pointer tests, with input
// injected through the real host's input device.
#include <gtest/gtest.h>

#include "tests/game_support/game_harness.h"

namespace {

constexpr int kKeyBackQuote = 192, kKeyDelete = 46, kKeyW = 'W';
constexpr int kJoyButtonUp = 9;

class Controls : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(game.FinishLoading());
        app = game.app();
    }
    int Held(int action, int useStick, int pad) { return app->p_PlayKey(action, useStick, pad); }
    GameHarness game;
    c_MyApp* app = nullptr;
};

}  // namespace

TEST_F(Controls, KeysAndVirtualButtonsAnswerOnEveryPadAndJoystickButtonsOnTheirOwn) {
    for (int key : {kKeyUp, kKeyW}) {
        game.Press(key);
        EXPECT_EQ(Held(0, 0, -1), 1) << key;
        EXPECT_EQ(Held(0, 0, 2), 1) << key;
        EXPECT_EQ(Held(8, 0, -1), 0);
        game.Release(key);
        EXPECT_EQ(Held(0, 0, -1), 0);
    }
    game.Press(kKeyEnter);
    EXPECT_EQ(Held(10, 0, -1), 1);
    EXPECT_EQ(app->p_PlayKeyAll(10, 0), 4);
    EXPECT_EQ(Held(10, 0, 4), 0) << "no such pad";
    game.Release(kKeyEnter);

    game.Pad(0).buttons[kJoyButtonUp] = true;
    game.Step();
    EXPECT_EQ(Held(0, 0, 0), 1);
    EXPECT_EQ(Held(0, 0, 1), 0);
    EXPECT_EQ(Held(0, 0, -1), 0);
    game.Pad(0).buttons[kJoyButtonUp] = false;
    game.Step();

    app->padState[13] = 2;
    EXPECT_EQ(Held(13, 0, -1), 1);
}

TEST_F(Controls, BackIs99EverywhereButNever98WithoutAPad) {
    for (int key : {kKeyEscape, kKeyBackQuote, kKeyDelete, 8}) {
        game.Press(key);
        EXPECT_EQ(Held(99, 1, -1), 1) << key;
        EXPECT_EQ(Held(98, 1, -1), 0) << key;
        EXPECT_EQ(Held(98, 1, 0), 1) << key;
        game.Release(key);
    }
    for (int v : {16, 17, 19}) {
        app->padState[v] = 2;
        EXPECT_EQ(Held(99, 1, -1), 1) << v;
        EXPECT_EQ(Held(98, 1, -1), 0) << v;
        app->padState[v] = 0;
    }
}

// Sticks report up as positive; settings 15 / 16 at 0 invert the reading.
TEST_F(Controls, TheStickCountsOnlyWhenAskedAndFollowsTheInversionSettings) {
    game.Pad(0).stickY[0] = 0.6f;
    game.Pad(0).stickY[1] = 0.3f;
    game.Step();
    app->settings[15] = 0;
    EXPECT_EQ(Held(0, 0, 0), 0) << "stick not asked for";
    EXPECT_EQ(Held(0, 1, 0), 1);
    EXPECT_EQ(Held(0, 1, -1), 0);
    app->settings[15] = 1;
    EXPECT_EQ(Held(0, 1, 0), 0);
    EXPECT_EQ(Held(8, 1, 0), 1);
    app->settings[16] = 0;
    EXPECT_FLOAT_EQ(app->p_StickY(1, 0), -0.3f);
    app->settings[16] = 1;
    EXPECT_FLOAT_EQ(app->p_StickY(1, 0), 0.3f);
    EXPECT_FLOAT_EQ(app->p_StickY(2, 0), 0.0f);
    EXPECT_FLOAT_EQ(app->p_StickY(0, -1), 0.0f);
}

TEST_F(Controls, ICadeLettersHoldVirtualButtonsUntilTheirReleaseLetter) {
    app->p_iCade(1);
    EXPECT_TRUE(game.host()->KeyboardEnabled());
    game.Press(kKeyW);
    EXPECT_EQ(Held(0, 0, -1), 0) << "letter keys are left out in iCade mode";
    game.Release(kKeyW);
    game.TypeChar('W');
    game.Step(3);
    EXPECT_EQ(app->padState[0], 2);
    EXPECT_EQ(Held(0, 0, -1), 1);
    app->padState[10] = 1;
    game.TypeChar('e');
    game.Step();
    EXPECT_EQ(app->padState[0], 0);
    EXPECT_EQ(app->padState[10], 0) << "a one-update press ends with its update";
    // Only letters are looked up: cursor keys, Delete and wide characters
    // are ignored.
    for (int c : {65536 + 38, 127, 0x1F600, int('['), int('B')}) game.TypeChar(c);
    game.Step();
    for (int i = 0; i < 20; ++i) EXPECT_EQ(app->padState[i], 0) << i;
    game.TypeChar('o');
    game.Step();
    EXPECT_EQ(Held(99, 0, -1), 1) << "O holds button 16, a back button";
    app->p_iCade(0);
    EXPECT_EQ(app->padState[16], 0);
    EXPECT_FALSE(game.host()->KeyboardEnabled());
}

TEST_F(Controls, HeldKeysSteerFullyOnTheSeventhUpdateAndReturnToRest) {
    game.Press(kKeyRight);
    for (int i = 1; i <= 6; ++i) app->p_AnalogueControl();
    EXPECT_NEAR(app->steerX, 0.9f, 1e-5);
    app->p_AnalogueControl();
    EXPECT_FLOAT_EQ(app->steerX, 1.0f);
    EXPECT_FLOAT_EQ(app->keySteerX, 1.0f);
    game.Release(kKeyRight);
    int updates = 0;
    do {
        app->p_AnalogueControl();
    } while (app->keySteerX != 0.0f && ++updates < 10);
    EXPECT_LE(updates, 6);
    EXPECT_FLOAT_EQ(app->steerX, 0.0f);
    game.Press(kKeyUp);
    game.Press(kKeyDown);
    app->p_AnalogueControl();
    EXPECT_FLOAT_EQ(app->steerY, 0.0f) << "opposite keys cancel out";
}

TEST_F(Controls, APointerDragSteersPastItsDeadZoneAndItsOriginCreeps) {
    app->pointerDown = 1;
    app->mouseX = 100;
    app->mouseY = 100;
    app->p_CLS2D(0, 0, 0, 1);
    app->p_AnalogueControl();
    EXPECT_EQ(app->dragOriginX, 100);
    EXPECT_FLOAT_EQ(app->steerX, 0.0f) << "a press alone does not steer";
    EXPECT_EQ(game.RecordsOfKind(-3716).size(), 2u);
    app->mouseX = 107;
    app->mouseY = 93;
    app->p_AnalogueControl();
    EXPECT_FLOAT_EQ(app->steerX, 0.0f) << "7 of 72 pixels is under the dead zone";
    EXPECT_FLOAT_EQ(app->steerY, 0.0f);
    app->mouseX = 172;
    app->mouseY = 136;
    app->p_AnalogueControl();
    EXPECT_FLOAT_EQ(app->steerX, 1.0f);
    EXPECT_FLOAT_EQ(app->steerY, 0.5f);
    EXPECT_EQ(app->dragOriginX, 104) << "more than 64 away: the origin creeps 4";
    EXPECT_EQ(app->dragOriginY, 100);
    // A stick at rest leaves the drag alone; a pushed one overrides it.
    // (A step samples the real pointer, which is up: the drag is set again.)
    auto stepWithPointer = [&] {
        game.Step();
        app->pointerDown = 1;
        app->mouseX = 172;
        app->mouseY = 136;
    };
    game.Pad(0).stickX[0] = 0.15f;
    stepWithPointer();
    app->p_AnalogueControl();
    EXPECT_FLOAT_EQ(app->steerY, 0.5f);
    game.Pad(0).stickX[0] = -0.5f;
    stepWithPointer();
    app->p_AnalogueControl();
    EXPECT_FLOAT_EQ(app->steerX, -0.5f);
    app->pointerDown = 0;
    app->p_AnalogueControl();
    EXPECT_EQ(app->dragOriginX, -1);
}

TEST_F(Controls, PointerTestsLookAtEveryTouchThatIsDown) {
    app->p_CLS2D(0, 0, 0, 1);
    app->touchDown[3] = 1;
    app->touchX[3] = 50;
    app->touchY[3] = 40;
    EXPECT_TRUE(app->p_MouseIn(40, 30, 20, 20));
    EXPECT_FALSE(app->p_MouseIn(50, 30, 20, 20)) << "edges are outside";
    EXPECT_TRUE(app->p_MouseIn_Centered(50, 40, 2, 2));
    EXPECT_FALSE(app->p_MouseIn_Centered(51, 40, 2, 2));
    EXPECT_TRUE(app->p_Touch(55, 45, 10, 10)) << "a 6-pixel margin before";
    EXPECT_TRUE(app->p_Touch(31, 21, 8, 8)) << "and 12 after";
    EXPECT_FALSE(app->p_Touch(30, 21, 8, 8));
    EXPECT_EQ(game.RecordsOfKind(-3717).size(), 3u);
    app->touchDown[3] = 0;
    EXPECT_FALSE(app->p_MouseIn(40, 30, 20, 20));

    // Buttons: half the stored frame size at virtual scale (icons: 32 px).
    app->touchDown[0] = 1;
    app->touchX[0] = 30;
    app->touchY[0] = 16;
    app->pointerDown = 1;
    EXPECT_TRUE(app->p_Button(97, 16, 16, 0));
    EXPECT_FALSE(app->p_Button(97, 46, 16, 0));
    int records = game.RecordCount();
    EXPECT_FALSE(app->p_Button(100, 30, 16, 0));
    EXPECT_EQ(game.RecordCount(), records) << "no slot 100";
}

namespace {

// A press and its release both delivered before one update (a quick click,
// a touchpad's tap) count as a press for that update, through the real
// host's input path: on the title screen it opens the options box from the
// gear. The held reading still ends with the release.
TEST_F(Controls, AClickShorterThanOneUpdateIsAPressForThatUpdate) {
    ASSERT_TRUE(game.StepUntil([&] { return app->screenMode == 1 && app->menuIntro == 0; }, 120));
    game.Step(5);
    const float gearX = game.WindowX(38), gearY = game.WindowY(vscrh - 64);
    game.MouseDown(gearX, gearY);
    game.MouseUp(gearX, gearY);
    game.Step();
    EXPECT_EQ(app->pointerDown, 1);
    EXPECT_EQ(app->touchDown[0], 1);
    EXPECT_EQ(app->touchX[0], 38);
    EXPECT_EQ(app->optionsOpen, 1);
    game.Step();
    EXPECT_EQ(app->pointerDown, 0) << "released: no hold on the next update";
    EXPECT_EQ(app->touchDown[0], 0);
    EXPECT_EQ(app->touchX[0], -3717);
}

}  // namespace
