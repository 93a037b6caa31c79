// The shell in the real host: creation defaults, the virtual-screen scaling
// and its reload rule, the pointer conversion, function keys, the action
// latch and panels, and suspend / resume.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/game_support/game_harness.h"

namespace {

// Re-opens the window and runs one update, which fits the virtual screen
// to the new size (a render alone changes no game state).
void ResizeAndUpdate(GameHarness& game, int w, int h) {
    game.ResizeWindow(w, h);
    game.Step();
}

}  // namespace

TEST(Shell, StartsOnTheMenuWithTheLoaderArmedAt60UpdatesPerSecond) {
    GameHarness game;
    c_MyApp* app = game.app();
    EXPECT_EQ(app->screenMode, 1);
    EXPECT_EQ(app->loaderStage, 1);
    EXPECT_EQ(app->currentLevel, 2);
    EXPECT_EQ(app->settings[5], 1);
    EXPECT_EQ(app->channelMap[32], 32);
    EXPECT_EQ(game.host()->UpdateRate(), 60);
    EXPECT_EQ(app->lastDeviceWidth, 640);
    ASSERT_TRUE(game.FinishLoading());
    EXPECT_EQ(app->screenMode, 1);
}

// The larger factor wins; portrait windows get a 1.5 times larger screen.
TEST(Shell, ScalesTheVirtualScreenToTheWindowAndReloadsOncePerSizeChange) {
    GameHarness game;
    c_MyApp* app = game.app();
    ASSERT_TRUE(game.FinishLoading());
    game.Step();
    EXPECT_EQ(app->loaderStage, 0) << "the first update sees the size p_OnCreate remembered";

    game.ResizeWindow(800, 600);
    game.Render();
    EXPECT_FLOAT_EQ(app->scaleX, 1.0f) << "a render must not change the game's virtual screen";
    EXPECT_EQ(app->loaderStage, 0) << "nor re-arm the loader";
    game.Step();
    EXPECT_FLOAT_EQ(app->scaleX, 1.25f);
    EXPECT_FLOAT_EQ(vscrw, 640.0f);
    EXPECT_FLOAT_EQ(vscrh, 480.0f);
    const int stage = app->loaderStage;
    EXPECT_GT(stage, 0) << "the new size re-arms the loader";
    game.Step(3);
    EXPECT_EQ(app->loaderStage, stage + 3) << "the same size must not re-arm the loader";

    ResizeAndUpdate(game, 1920, 1080);
    EXPECT_FLOAT_EQ(app->scaleX, 3.0f);
    EXPECT_FLOAT_EQ(app->scaleY, 3.0f);
    EXPECT_FLOAT_EQ(vscrw, 640.0f);
    EXPECT_FLOAT_EQ(vscrh, 360.0f);
    EXPECT_EQ(app->isLandscape, 1);

    ResizeAndUpdate(game, 600, 800);
    EXPECT_NEAR(app->scaleY, 800.0f / 720.0f, 1e-5);
    EXPECT_FLOAT_EQ(vscrw, 540.0f);
    EXPECT_FLOAT_EQ(vscrh, 720.0f);
    EXPECT_EQ(app->isLandscape, 0);
}

// A minimised window reports 0 x 0: nothing may divide by it, and coming
// back at the old size is no size change.
TEST(Shell, AWindowWithoutAreaKeepsTheLastScaleAndSize) {
    GameHarness game({800, 600, String()});
    c_MyApp* app = game.app();
    ASSERT_TRUE(game.FinishLoading());
    game.ForceDeviceSize(0, 0);
    game.MouseMove(100, 100);
    game.Step(2);
    EXPECT_FLOAT_EQ(app->scaleX, 1.25f);
    EXPECT_FLOAT_EQ(vscrw, 640.0f);
    EXPECT_EQ(app->lastDeviceWidth, 800);
    EXPECT_EQ(app->mouseX, 80);
    game.ClearDeviceSize();
    game.Step();
    EXPECT_EQ(app->loaderStage, 0);
}

TEST(Shell, PointerPositionsAreVirtualPixelsInsideTheOverscanMargin) {
    GameHarness game({800, 600, String()});
    c_MyApp* app = game.app();
    ASSERT_TRUE(game.FinishLoading());
    overscan = 10.0f;
    game.Step();
    EXPECT_FLOAT_EQ(app->scaleX, 780.0f / 640.0f);
    game.MouseDown(400, 300);
    game.Step();
    EXPECT_EQ(app->mouseX, 320);  // (400 - 10) / 1.21875
    EXPECT_EQ(app->mouseY, 240);  // (300 - 10 * 600 / 800) / 1.21875
    EXPECT_EQ(app->pointerDown, 1);
    EXPECT_EQ(app->touchDown[0], 1);
    EXPECT_EQ(app->touchX[0], 320);
    app->waitRelease = 1;
    game.MouseUp(400, 300);
    game.Step();
    EXPECT_EQ(app->pointerDown, 0);
    EXPECT_EQ(app->touchX[0], -3717);
    EXPECT_EQ(app->waitRelease, 0) << "releasing the pointer clears its latch";
}

TEST(Shell, FunctionKeysToggleDebugLineAndHud) {
    GameHarness game;
    c_MyApp* app = game.app();
    ASSERT_TRUE(game.FinishLoading());
    game.Tap(kKeyF1);
    EXPECT_EQ(DebugMode, 1);
    game.Step();
    EXPECT_TRUE(game.ShowsText(":1.0,1.0")) << game.DrawnGlyphs();
    game.Tap(kKeyF1);
    EXPECT_EQ(DebugMode, 0);
    game.Tap(kKeyF2);
    EXPECT_EQ(app->hudHidden, 1);
    game.Tap(kKeyF2);
    EXPECT_EQ(app->hudHidden, 0);
}

TEST(Shell, TheActionLatchHoldsWhileAnyActionIsHeld) {
    GameHarness game;
    c_MyApp* app = game.app();
    ASSERT_TRUE(game.FinishLoading());
    app->inputLatch = 1;
    game.Press(kKeyRight);
    game.Step(2);
    EXPECT_EQ(app->inputLatch, 1);
    game.Release(kKeyRight);
    game.Step();
    EXPECT_EQ(app->inputLatch, 0);
}

TEST(Shell, BackClosesTheCreditsPanelWhichSlidesOutAndIn) {
    GameHarness game;
    c_MyApp* app = game.app();
    ASSERT_TRUE(game.FinishLoading());
    app->creditsOpen = 1;
    game.Step(40);
    EXPECT_FLOAT_EQ(app->creditsSlide, vscrw - 140.0f) << "snaps to its place once within 8";
    game.Press(kKeyEscape);
    game.Step();
    EXPECT_EQ(app->creditsOpen, 0);
    EXPECT_EQ(app->inputLatch, 1);
    EXPECT_EQ(app->waitRelease, 1);
    game.Release(kKeyEscape);
    game.Step(40);
    EXPECT_FLOAT_EQ(app->creditsSlide, 0.0f);
}

TEST(Shell, SuspendOnTheMenuResumesUnpausedAndSaves) {
    GameHarness game;
    c_MyApp* app = game.app();
    ASSERT_TRUE(game.FinishLoading());
    app->padState[3] = 2;
    int saves = game.saves();
    game.Suspend();
    EXPECT_EQ(game.host()->UpdateRate(), 5);
    EXPECT_EQ(app->paused, 0);
    EXPECT_EQ(app->padState[3], 0);
    EXPECT_EQ(game.saves(), saves + 1);
    game.Resume();
    EXPECT_EQ(game.host()->UpdateRate(), 60);
    EXPECT_EQ(app->paused, 0);
}

TEST(Shell, SuspendDuringPlayResumesInThePauseMenu) {
    GameHarness game;
    c_MyApp* app = game.app();
    ASSERT_TRUE(game.FinishLoading());
    app->screenMode = 10;
    iCadeControls = 1;
    game.Suspend();
    game.Resume();
    EXPECT_EQ(app->paused, 1);
    EXPECT_EQ(app->pauseDir, 1);
    EXPECT_EQ(app->pauseSlide, 240);
    EXPECT_EQ(iCadeControls, 0);
    EXPECT_FALSE(game.host()->KeyboardEnabled());
}
