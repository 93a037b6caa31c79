// The endings in the real host with injected keys and clicks: the pause
// screen (its latch, keys, figure, items and the options gear), the quit
// ending, the level-complete count of two levels in one run and the time-out
// banner.
//
// With END_SCREENSHOTS=<folder> in the environment the tests also write
// what the window shows on the pause screen, the count and the banners.
#include <gtest/gtest.h>
#include <stb_image_write.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "game/records.h"
#include "tests/game_support/game_harness.h"

namespace {

constexpr int kLineKind = -3715;

// A level started the way the title screen starts one, without the wheel.
void StartLevel(GameHarness& game, int level) {
    c_MyApp* app = game.app();
    app->selectedLevel = level - 1;
    app->currentLevel = level;
    app->screenMode = 11;
    game.Step();
    ASSERT_EQ(app->screenMode, 10);
}

GameHarness* Loaded() {
    GameHarness* game = new GameHarness();
    EXPECT_TRUE(game->FinishLoading());
    return game;
}

// Every follower still in the swarm stands close round home, with the
// player on its centre and the meter full: the next update counts.
void BringSwarmHome(c_MyApp* app) {
    const int home = rec::kSize * (app->planetCount - 1);
    const float hx = app->planets[home + rec::kPlanetX], hy = app->planets[home + rec::kPlanetY];
    for (int j = 0; j <= app->followerLast; ++j) {
        if (app->followers[rec::kSize * j] != 1) continue;
        app->followers[rec::kSize * j + rec::kFollowerX] = hx + (j % 10) * 8 - 36;
        app->followers[rec::kSize * j + rec::kFollowerY] = hy + (j / 10) * 8 - 36;
    }
    app->player[rec::kPlayerX] = app->player[rec::kPlayerTargetX] = hx;
    app->player[rec::kPlayerY] = app->player[rec::kPlayerTargetY] = hy;
    app->camX = app->camTargetX = hx - vscrw / 2;
    app->camY = app->camTargetY = hy - vscrh / 2;
    app->player[rec::kPlayerHomeMeter] = 64;
}

void MaybeScreenshot(GameHarness& game, const std::string& name) {
    const char* folder = std::getenv("END_SCREENSHOTS");
    if (!folder) return;
    int w = 0, h = 0;
    std::vector<uint32_t> argb = game.Screenshot(&w, &h);
    std::vector<unsigned char> rgb;
    for (uint32_t p : argb) {
        rgb.push_back((p >> 16) & 255);
        rgb.push_back((p >> 8) & 255);
        rgb.push_back(p & 255);
    }
    stbi_write_png((std::string(folder) + "/" + name + ".png").c_str(), w, h, 3, rgb.data(), w * 3);
}

void OpenPause(GameHarness& game) {
    game.Tap(kKeyEscape);
    ASSERT_EQ(game.app()->paused, 1);
    ASSERT_TRUE(game.StepUntil([&] { return game.app()->pauseSlide == 240; }, 30));
}

}  // namespace

TEST(PauseScreen, HoldingEscapeLeavesTheGamePausedWhileThePanelOpens) {
    std::unique_ptr<GameHarness> game(Loaded());
    c_MyApp* app = game->app();
    StartLevel(*game, 2);
    game->Step(3);
    // The update that takes the press still plays (play runs before the
    // overlay), then play stands still.
    const int timeLeft = app->timeLeft - 1;
    game->Press(kKeyEscape);
    for (int k = 1; k <= 16; ++k) {
        game->Step();
        ASSERT_EQ(app->paused, 1) << "update " << k;
        EXPECT_EQ(app->pauseDir, 1);
        EXPECT_EQ(app->pauseSlide, std::min(-64 + 24 * k, 240));
    }
    game->Release(kKeyEscape);
    game->Step(3);
    EXPECT_EQ(app->timeLeft, timeLeft) << "play stands still while paused";
    MaybeScreenshot(*game, "pause");

    // A fresh press closes it; play resumes once the panel is out.
    game->Press(kKeyEscape);
    game->Step();
    EXPECT_EQ(app->pauseDir, -1);
    game->Release(kKeyEscape);
    EXPECT_TRUE(game->StepUntil([&] { return app->paused == 0; }, 14));
    game->Step(2);
    EXPECT_LT(app->timeLeft, timeLeft);
    EXPECT_EQ(app->gameOver, 0);
}

TEST(PauseScreen, ArrowsReshapeTheFigureWhileHeldAndMoveTheHighlightOncePerPress) {
    std::unique_ptr<GameHarness> game(Loaded());
    c_MyApp* app = game->app();
    StartLevel(*game, 2);
    OpenPause(*game);
    EXPECT_EQ(app->pauseItem, 0);
    game->Hold(kKeyDown, 12);
    EXPECT_EQ(app->orbitRadius, 12.0f);
    EXPECT_EQ(app->pauseItem, 1) << "one step for one press";
    game->Hold(kKeyRight, 8);
    EXPECT_EQ(app->orbitSpeed, 2.0f);
    game->Hold(kKeyLeft, 20);
    EXPECT_EQ(app->orbitSpeed, 0.0f) << "never below 0";
    game->Tap(kKeyUp);
    game->Tap(kKeyUp);
    game->Tap(kKeyUp);
    EXPECT_EQ(app->pauseItem, -1) << "quit is the top item";
    // A full trail: 101 points joined by 100 segments, each drawn twice.
    game->Step(101);
    EXPECT_EQ(game->RecordsOfKind(kLineKind).size(), 200u);
    EXPECT_TRUE(game->ShowsText("PAUSED"));
    EXPECT_TRUE(game->ShowsText("9.0:0.0")) << game->DrawnGlyphs();
    game->Hold(kKeyDown, 51);
    game->Hold(kKeyRight, 28);
    game->Step(101);
    EXPECT_TRUE(game->ShowsText("60.0:7.0")) << game->DrawnGlyphs();
    MaybeScreenshot(*game, "pause-figure");
}

TEST(PauseScreen, QuitEndsWithQuitGameForTheWholeBannerAndRecordsNothingHigh) {
    std::unique_ptr<GameHarness> game(Loaded());
    c_MyApp* app = game->app();
    StartLevel(*game, 2);
    OpenPause(*game);
    game->Tap(kKeyUp);
    ASSERT_EQ(app->pauseItem, -1);
    game->Tap(kKeyEnter);
    EXPECT_EQ(app->gameOver, 1);
    EXPECT_EQ(app->gameOverReason, -1);
    bool sawWords = false;
    int reasonChanges = 0;
    game->onUpdate = [&](int) {
        if (app->gameOverReason != -1) ++reasonChanges;
        if (game->ShowsText("Quit") && game->ShowsText("Game")) sawWords = true;
        if (app->bannerTimer == 60 && app->screenMode == 10) MaybeScreenshot(*game, "banner-quit");
    };
    ASSERT_TRUE(game->StepUntil([&] { return app->screenMode == 1; }, 200));
    game->onUpdate = nullptr;
    EXPECT_TRUE(sawWords);
    EXPECT_EQ(reasonChanges, 0);
    EXPECT_EQ(app->paused, 0);
    EXPECT_EQ(app->scores[1010], 0) << "the quit's 0 % opens level 2's last-ten list";
}

TEST(PauseScreen, TheGearOpensTheOptionsBoxWithoutActingOnThatPress) {
    std::unique_ptr<GameHarness> game(Loaded());
    c_MyApp* app = game->app();
    StartLevel(*game, 2);
    OpenPause(*game);
    const int sound = app->settings[5];
    game->Tap(kKeyDown);
    game->Press(kKeyEnter);
    game->Step(4);
    game->Release(kKeyEnter);
    game->Step(4);
    EXPECT_EQ(app->optionsOpen, 1);
    EXPECT_EQ(app->settings[5], sound);
    EXPECT_EQ(app->paused, 1);
}

TEST(PauseScreen, ClickingResumeClosesIt) {
    std::unique_ptr<GameHarness> game(Loaded());
    c_MyApp* app = game->app();
    StartLevel(*game, 2);
    OpenPause(*game);
    game->ClickVirtual(64, 196);
    EXPECT_EQ(app->pauseDir, -1);
    EXPECT_TRUE(game->StepUntil([&] { return app->paused == 0; }, 14));
}

// Losing the window's focus in play pauses the game; coming back, the pause
// menu opens on its resume item whatever the last pause left highlighted,
// so Enter resumes instead of quitting.
TEST(PauseScreen, FocusLossOpensThePauseMenuOnResume) {
    std::unique_ptr<GameHarness> game(Loaded());
    c_MyApp* app = game->app();
    StartLevel(*game, 2);
    OpenPause(*game);
    game->Tap(kKeyUp);
    ASSERT_EQ(app->pauseItem, -1) << "quit highlighted";
    game->Tap(kKeyEscape);
    ASSERT_TRUE(game->StepUntil([&] { return app->paused == 0; }, 30));
    game->Step(5);

    game->Suspend();
    game->Step(3);
    game->Resume();
    EXPECT_EQ(app->paused, 1);
    EXPECT_EQ(app->pauseItem, 0);
    game->Step(3);
    game->Tap(kKeyEnter);
    EXPECT_EQ(app->pauseDir, -1) << "Enter resumes";
    EXPECT_TRUE(game->StepUntil([&] { return app->paused == 0; }, 30));
    EXPECT_EQ(app->gameOver, 0);
}

// Over an ending banner none of the pause items can act: the pause button,
// Escape and a focus loss leave the banner alone.
TEST(PauseScreen, NothingPausesOverAnEndingBanner) {
    std::unique_ptr<GameHarness> game(Loaded());
    c_MyApp* app = game->app();
    StartLevel(*game, 2);
    app->hudHidden = 0;
    app->timeLeft = 0;
    ASSERT_TRUE(game->StepUntil([&] { return app->gameOver == 1; }, 5));
    game->Step(10);
    ASSERT_EQ(app->screenMode, 10);
    game->ClickVirtual(16, 16);
    EXPECT_EQ(app->paused, 0) << "the pause button";
    game->Tap(kKeyEscape);
    EXPECT_EQ(app->paused, 0) << "Escape";
    game->Suspend();
    game->Resume();
    EXPECT_EQ(app->paused, 0) << "a focus loss";
    EXPECT_FALSE(game->ShowsText("PAUSED"));
    EXPECT_TRUE(game->StepUntil([&] { return app->screenMode == 1; }, 200)) << "the banner runs to its end";

    // In play the same button pauses.
    StartLevel(*game, 2);
    game->Step(2);
    game->ClickVirtual(16, 16);
    EXPECT_EQ(app->paused, 1);
}

// A quit from the pause screen while the level-complete count runs ends the
// level as a quit before the count: "Quit Game", 0 %, no placing, nothing
// unlocked; the count stood still while the pause screen was up.
TEST(PauseScreen, AQuitDuringTheCountScoresZeroAndUnlocksNothing) {
    std::unique_ptr<GameHarness> game(Loaded());
    c_MyApp* app = game->app();
    StartLevel(*game, 1);
    game->Step(2);
    BringSwarmHome(app);
    ASSERT_TRUE(game->StepUntil([&] { return app->lastResult > 0; }, 120)) << "the count has begun";
    OpenPause(*game);
    const int counted = app->lastResult;
    const float fade = app->completeFade;
    game->Step(30);
    EXPECT_EQ(app->lastResult, counted) << "the count stands still while paused";
    EXPECT_EQ(app->completeFade, fade);

    game->Tap(kKeyUp);
    ASSERT_EQ(app->pauseItem, -1);
    game->Tap(kKeyEnter);
    EXPECT_EQ(app->gameOverReason, -1);
    bool sawPlacing = false, sawQuit = false;
    game->onUpdate = [&](int) {
        sawPlacing |= game->ShowsText("New Highscore");
        sawQuit |= game->ShowsText("Quit") && game->ShowsText("Game");
        if (app->bannerTimer == 60 && app->screenMode == 10) MaybeScreenshot(*game, "banner-quit-count");
    };
    ASSERT_TRUE(game->StepUntil([&] { return app->screenMode == 1; }, 300));
    game->Step(40);
    game->onUpdate = nullptr;
    EXPECT_TRUE(sawQuit);
    EXPECT_FALSE(sawPlacing);
    EXPECT_EQ(app->lastResult, 0);
    EXPECT_EQ(app->scores[0], 0) << "level 1's top ten takes nothing";
    EXPECT_EQ(app->scores[1000], 0);
    EXPECT_EQ(app->unlockPoints[1], 0) << "level 2 stays locked";
    EXPECT_EQ(app->selectedLevel, 0);
}

TEST(LevelComplete, TwoLevelsCompletedInOneRunBothScoreAndShowTheirPlacing) {
    std::unique_ptr<GameHarness> game(Loaded());
    c_MyApp* app = game->app();
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        StartLevel(*game, 2);
        game->Step(2);
        BringSwarmHome(app);
        int alive = 0;
        for (int j = 0; j <= app->followerLast; ++j) alive += app->followers[rec::kSize * j] == 1;
        ASSERT_GT(alive, 25);
        bool sawPlacing = false;
        game->onUpdate = [&](int) {
            if (app->completeFade == 60.0f) MaybeScreenshot(*game, "count");
            if (app->bannerTimer == 60 && app->screenMode == 10) MaybeScreenshot(*game, "banner-complete");
            if (app->screenMode == 1 && game->ShowsText("New Highscore")) sawPlacing = true;
            if (app->screenMode == 1 && app->bannerTimer == 61) MaybeScreenshot(*game, "banner-title");
        };
        ASSERT_TRUE(game->StepUntil([&] { return app->screenMode == 1; }, 300));
        game->Step(10);
        game->onUpdate = nullptr;
        EXPECT_EQ(app->lastResult, alive);
        EXPECT_GT(app->lastResult, 0);
        EXPECT_EQ(app->scores[1010], alive) << "level 2's newest result";
        EXPECT_TRUE(sawPlacing);
        EXPECT_EQ(app->gameOverReason, alive >= 90 ? 4 : alive >= 25 ? 3 : 2);
    }
    EXPECT_EQ(app->scores[1011], app->scores[1010]);
}

TEST(Ending, TimeRunningOutShowsOutOfTime) {
    std::unique_ptr<GameHarness> game(Loaded());
    c_MyApp* app = game->app();
    StartLevel(*game, 3);
    app->timeLeft = 0;
    bool sawWords = false;
    game->onUpdate = [&](int) { sawWords |= game->ShowsText("Out of") && game->ShowsText("Time"); };
    ASSERT_TRUE(game->StepUntil([&] { return app->screenMode == 1; }, 200));
    game->onUpdate = nullptr;
    EXPECT_TRUE(sawWords);
    EXPECT_EQ(app->gameOverReason, 7);
}
