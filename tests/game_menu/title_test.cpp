// The title screen in the real host, driven by injected keys and clicks:
// the wheel's start, keys, repeat and end-stops, touches on the tiles, the
// options box and its saving, the credits, and starting a level.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/game_menu/saved_state.h"
#include "tests/game_support/game_harness.h"

namespace {

// The game quits through exit(0) on the back key; a test that lets it do so
// by mistake must fail, not end the run as a success.
bool gTestRunning = false;
void FailOnQuit() {
    if (gTestRunning) {
        std::fputs("the game quit during a title-screen test\n", stderr);
        _exit(3);
    }
}
struct QuitGuard {
    QuitGuard() {
        static const bool installed = std::atexit(FailOnQuit) == 0;
        (void)installed;
        gTestRunning = true;
    }
    ~QuitGuard() { gTestRunning = false; }
};

GameHarness::Options WithState(const std::vector<int>& bestOfLevel) {
    GameHarness::Options options;
    options.savedState = String(SavedStateWithBest(bestOfLevel).c_str());
    return options;
}

// Steps until the title has settled: loader done, slide-in over.
void ReachTitle(GameHarness& game) {
    ASSERT_TRUE(game.FinishLoading());
    game.Step(40);
    ASSERT_EQ(game.app()->screenMode, 1);
}

// The field of a save string.
std::string SavedField(const String& state, int index) {
    std::string s = state.ToUtf8();
    size_t at = 0;
    for (int i = 0; i < index; ++i) at = s.find('|', at) + 1;
    return s.substr(at, s.find('|', at) - at);
}

// Virtual position of level `level` on the wheel at rest on `selected`.
struct Point {
    float x, y;
};
Point TileCentre(int level, int selected) {
    float a = 32.0f * (level - selected) + 48.0f;
    float bulge = std::max(0.0f, 45.0f - std::abs(a - 45.0f)) * 1.5f;
    float d = 116.0f + bulge;
    return {38.0f + std::sin(a * 0.017453292f) * d, 480.0f - 64.0f - std::cos(a * 0.017453292f) * d};
}

}  // namespace

TEST(TitleWheel, StartsAtTheHighestUnlockedLevelAndStepsWithTheKeys) {
    QuitGuard guard;
    GameHarness game(WithState({95}));  // 90 % on level 1 unlocks levels 2, 3 and 4
    ReachTitle(game);
    c_MyApp* app = game.app();
    EXPECT_EQ(app->selectedLevel, 3);
    EXPECT_EQ(app->currentLevel, 4);
    EXPECT_TRUE(game.ShowsText("Top 10"));
    EXPECT_TRUE(game.ShowsText("Last 10"));

    game.Tap(kKeyDown);
    EXPECT_EQ(app->selectedLevel, 4);
    EXPECT_EQ(app->levelUnlocked, 0);
    game.Tap(kKeyUp);
    game.Tap(kKeyUp);
    EXPECT_EQ(app->selectedLevel, 2);
    EXPECT_FLOAT_EQ(app->wheelTarget, -64.0f);
    game.Step(45);
    EXPECT_FLOAT_EQ(app->wheelAngle, -64.0f) << "the wheel comes to rest on the target";
}

TEST(TitleWheel, HeldKeysRepeatAfterAShrinkingDelay) {
    QuitGuard guard;
    GameHarness game;
    ReachTitle(game);
    c_MyApp* app = game.app();
    // Moves on the press, then after 30, 18, 6, 3 and 3 more held updates.
    game.Hold(kKeyDown, 60);
    EXPECT_EQ(app->selectedLevel, 5);
    game.Press(kKeyDown);
    game.Step();
    EXPECT_EQ(app->selectedLevel, 6);
    game.Release(kKeyDown);
    game.Step();
    game.Tap(kKeyDown);
    EXPECT_EQ(app->selectedLevel, 7) << "a release restarts the countdown";
}

TEST(TitleWheel, EndsOfTheWheelAndRestingFarFromThemStayPut) {
    QuitGuard guard;
    GameHarness game;
    ReachTitle(game);
    c_MyApp* app = game.app();
    game.Tap(kKeyUp);
    EXPECT_EQ(app->selectedLevel, 0);

    for (int level : {50, 99}) {
        app->selectedLevel = level;
        app->wheelTarget = app->wheelAngle = -32.0f * level;
        game.Step(120);
        EXPECT_EQ(app->selectedLevel, level);
        EXPECT_FLOAT_EQ(app->wheelVelocity, 0.0f) << "no end-stop pushes a resting wheel";
        EXPECT_FLOAT_EQ(app->wheelAngle, -32.0f * level);
    }
    game.Tap(kKeyDown);
    EXPECT_EQ(app->selectedLevel, 99);
}

TEST(TitleWheel, TouchesSelectANeighbourAndStartTheSelectedLevel) {
    QuitGuard guard;
    GameHarness game(WithState({50}));
    ReachTitle(game);
    c_MyApp* app = game.app();
    ASSERT_EQ(app->selectedLevel, 1);

    Point left = TileCentre(0, 1);
    game.ClickVirtual(left.x, left.y);
    EXPECT_EQ(app->selectedLevel, 0);
    game.Step(30);

    Point selected = TileCentre(0, 0);
    game.MouseDown(game.WindowX(selected.x), game.WindowY(selected.y));
    game.Step();
    EXPECT_EQ(app->screenMode, 11);
    EXPECT_EQ(app->inputKind, 2);
    EXPECT_EQ(app->currentLevel, 1);
    game.MouseUp(game.WindowX(selected.x), game.WindowY(selected.y));
    game.Step();
    EXPECT_EQ(app->screenMode, 10) << "the level was built";
}

TEST(TitleWheel, DragTurnsTheWheelAndTheFirstLevelStopsIt) {
    QuitGuard guard;
    GameHarness game;
    ReachTitle(game);
    c_MyApp* app = game.app();
    // Dragging upwards turns the wheel towards levels below the first one:
    // the end-stop pushes it back and the selection stays on level 1.
    game.MouseDown(game.WindowX(300), game.WindowY(300));
    float furthest = 0;
    for (int i = 1; i <= 10; ++i) {
        game.MouseMoveVirtual(300, 300 - 20 * i);
        game.Step();
        furthest = std::max(furthest, 48.0f + app->wheelAngle);
    }
    game.MouseUp(game.WindowX(300), game.WindowY(100));
    for (int i = 0; i < 60; ++i) {
        game.Step();
        furthest = std::max(furthest, 48.0f + app->wheelAngle);
    }
    EXPECT_GT(furthest, 60.0f) << "the drag turned the wheel past the first level";
    EXPECT_LT(furthest, 90.0f) << "but not by a whole level";
    EXPECT_EQ(app->selectedLevel, 0);
    EXPECT_FLOAT_EQ(app->wheelVelocity, 0.0f);
    EXPECT_LE(48.0f + app->wheelAngle, 60.0f);

    // Dragging downwards brings the following levels round.
    game.MouseDown(game.WindowX(300), game.WindowY(100));
    for (int i = 1; i <= 6; ++i) {
        game.MouseMoveVirtual(300, 100 + 20 * i);
        game.Step();
    }
    game.MouseUp(game.WindowX(300), game.WindowY(220));
    game.Step(60);
    EXPECT_GT(app->selectedLevel, 0);
    // The selection is the level last seen in 30..60 degrees; the wheel may
    // come to rest just beside that window (levels are 32 degrees apart).
    const float a = 32.0f * app->selectedLevel + 48.0f + app->wheelAngle;
    EXPECT_TRUE(a >= 28.0f && a <= 62.0f) << a;
}

// A fast fling past either end: the end-stop pushes the wheel back, and
// once the push has died away the wheel rests centred on the end level,
// not on a neighbour beside the pointer.
TEST(TitleWheel, AFlingPastAnEndSettlesCentredOnTheEndLevel) {
    QuitGuard guard;
    GameHarness game;
    ReachTitle(game);
    c_MyApp* app = game.app();
    struct Fling {
        int from, end;
        float step;  // finger movement per update, virtual pixels (up turns towards level 1)
    };
    for (const Fling& f : {Fling{2, 0, -60.0f}, Fling{1, 0, -40.0f}, Fling{96, 99, 60.0f}}) {
        SCOPED_TRACE(f.from);
        app->selectedLevel = f.from;
        app->wheelTarget = app->wheelAngle = -32.0f * f.from;
        game.Step(2);
        const float y0 = f.step < 0 ? 400.0f : 100.0f;
        game.MouseDown(game.WindowX(300), game.WindowY(y0));
        for (int i = 1; i <= 4; ++i) {
            game.MouseMoveVirtual(300, y0 + f.step * i);
            game.Step();
        }
        game.MouseUp(game.WindowX(300), game.WindowY(y0 + f.step * 4));
        game.Step(150);
        EXPECT_EQ(app->selectedLevel, f.end);
        EXPECT_FLOAT_EQ(app->wheelVelocity, 0.0f);
        EXPECT_FLOAT_EQ(app->wheelTarget, -32.0f * f.end);
        EXPECT_FLOAT_EQ(app->wheelAngle, -32.0f * f.end) << "centred: the tile rests at 48 degrees";
    }
}

TEST(TitleWheel, SelectStartsAnUnlockedLevelWithKeyboardGlyphs) {
    QuitGuard guard;
    GameHarness game;
    ReachTitle(game);
    c_MyApp* app = game.app();
    game.Tap(kKeyDown);  // level 2 is locked: select does nothing
    game.Tap(kKeyEnter);
    EXPECT_EQ(app->screenMode, 1);
    game.Tap(kKeyUp);
    game.Press(kKeyEnter);
    game.Step();
    EXPECT_EQ(app->screenMode, 11);
    EXPECT_EQ(app->inputKind, 0);
    game.Release(kKeyEnter);
    game.Step();
    EXPECT_EQ(app->screenMode, 10);
    EXPECT_EQ(app->currentLevel, 1);
}

// The results lists start 20 pixels in from the right-hand panel's edge;
// their eleven right-aligned characters at scale 1.5 then end, last digit
// and its shadow included, inside the window's right edge.
TEST(TitleResults, ListsStart20PixelsIntoThePanelAndEndInsideTheWindow) {
    QuitGuard guard;
    GameHarness game(WithState({100}));
    ReachTitle(game);
    std::vector<int> glyphs;
    for (int i : game.RecordsOfKind(90))
        if (game.Record(i, 10) == 255 && game.Record(i, 11) == 200 && game.Record(i, 12) == 100)
            glyphs.push_back(i);
    ASSERT_FALSE(glyphs.empty());
    // The panel's edge is at 640 - 140; the heading's "T" follows the
    // leading space, one advance (7 x 1.5) after the list's x.
    EXPECT_FLOAT_EQ(game.Record(glyphs.front(), 1), 640 - 140 + 20 + 10.5f);
    EXPECT_EQ(game.Record(glyphs.front(), 6), 'T' - 32);

    int w = 0, h = 0;
    std::vector<uint32_t> pixels = game.Screenshot(&w, &h);
    int rightmost = -1;
    for (int y = 60; y < h; ++y)
        for (int x = 500; x < w; ++x) {
            const uint32_t p = pixels[static_cast<size_t>(y) * w + x];
            const int r = (p >> 16) & 255, g = (p >> 8) & 255, b = p & 255;
            if (r > 200 && g > 150 && g < 230 && b < 160) rightmost = std::max(rightmost, x);
        }
    EXPECT_GE(rightmost, 625) << "the digits end near the right edge";
    EXPECT_LE(rightmost, 636) << "with room for the last digit's shadow";
}

TEST(OptionsBox, OpeningPressDoesNotActAndEachLineToggles) {
    QuitGuard guard;
    GameHarness game;
    ReachTitle(game);
    c_MyApp* app = game.app();
    game.Tap(kKeyLeft);
    EXPECT_EQ(app->menuColumn, 0);
    game.Hold(kKeyEnter, 10);  // opens the box; the held press must not close it
    EXPECT_EQ(app->optionsOpen, 1);
    EXPECT_EQ(app->settings[5], 1);
    game.Step(30);
    EXPECT_EQ(app->optionsSlide, 30);
    EXPECT_TRUE(game.ShowsText("Sound : SFX + Music"));
    EXPECT_TRUE(game.ShowsText("<[BACK]"));

    game.Tap(kKeyDown);
    game.Tap(kKeyEnter);
    EXPECT_EQ(app->settings[5], 2);
    EXPECT_TRUE(game.ShowsText("Sound : SFX"));
    game.Tap(kKeyDown);
    game.Tap(kKeyEnter);
    EXPECT_EQ(iCadeControls, 1);
    game.Tap(kKeyEnter);
    EXPECT_EQ(iCadeControls, 0);
    game.Tap(kKeyDown);
    game.Tap(kKeyDown);
    EXPECT_TRUE(game.ShowsText("Left Thumbstick Y Flipped")) << "the default, 0";
    game.Tap(kKeyEnter);
    EXPECT_EQ(app->settings[15], 1);
    EXPECT_TRUE(game.ShowsText("Left Thumbstick Y Normal"));
    game.Tap(kKeyDown);
    game.Tap(kKeyEnter);
    game.Tap(kKeyEnter);
    EXPECT_EQ(app->settings[16], 0);
    EXPECT_TRUE(game.ShowsText("Right Thumbstick Y Flipped"));
    EXPECT_EQ(app->optionItem, 5);
    EXPECT_EQ(game.saves(), 0) << "saved when the box closes";

    game.Hold(kKeyEscape, 5);
    EXPECT_EQ(app->optionsOpen, 0);
    ASSERT_EQ(game.saves(), 1);
    EXPECT_EQ(SavedField(game.savedState(), 5), "2");
    EXPECT_EQ(SavedField(game.savedState(), 15), "1");
    game.Step(40);
    EXPECT_EQ(app->optionsSlide, 0);
    EXPECT_EQ(app->screenMode, 1) << "the back key closed the box without quitting";
}

TEST(OptionsBox, GearClickOpensItAndBackClosesIt) {
    QuitGuard guard;
    GameHarness game;
    ReachTitle(game);
    c_MyApp* app = game.app();
    game.ClickVirtual(38.0f, 416.0f);
    EXPECT_EQ(app->optionsOpen, 1);
    EXPECT_EQ(app->menuColumn, 0);
    game.Step(30);
    EXPECT_EQ(app->optionsOpen, 1) << "the opening click did not act inside the box";
    game.Tap(kKeyEnter);  // item 0, "<[BACK]"
    EXPECT_EQ(app->optionsOpen, 0);
    EXPECT_EQ(game.saves(), 1);
}

TEST(OptionsBox, FullscreenLineSwitchesTheWindowAndBack) {
    QuitGuard guard;
    GameHarness game;
    ReachTitle(game);
    c_MyApp* app = game.app();
    app->menuColumn = 0;
    game.Tap(kKeyEnter);
    game.Step(30);
    for (int i = 0; i < 3; ++i) game.Tap(kKeyDown);
    EXPECT_TRUE(game.ShowsText("Fullscreen"));
    game.Tap(kKeyEnter);
    ASSERT_EQ(app->fullscreenState, 1);
    EXPECT_NE(app->lastDeviceWidth, 640) << "the device size changed";
    EXPECT_GT(app->loaderStage, 0) << "images reload at the new size";
    ASSERT_TRUE(game.FinishLoading());
    game.Step();
    EXPECT_TRUE(game.ShowsText("Windowed"));
    game.Tap(kKeyEnter);
    EXPECT_EQ(app->fullscreenState, 0);
    ASSERT_TRUE(game.FinishLoading());
    EXPECT_EQ(app->lastDeviceWidth, 640);
    EXPECT_EQ(app->lastDeviceHeight, 480);
}

TEST(Credits, ScrollThroughEveryLineButTheLastAndClose) {
    QuitGuard guard;
    GameHarness game;
    ReachTitle(game);
    c_MyApp* app = game.app();
    game.Tap(kKeyRight);
    EXPECT_EQ(app->menuColumn, 2);
    game.Tap(kKeyEnter);
    ASSERT_EQ(app->creditsOpen, 1);
    game.Step(60);
    EXPECT_TRUE(game.ShowsText("A Game by"));
    EXPECT_TRUE(game.ShowsText("Debug Stats"));

    // From a few lines before the end, round past it: "End" (line 56) is
    // never among the eight lines drawn.
    app->creditsLine = 48;
    app->creditsScroll = 0;
    bool sawEnd = false, sawLast = false, wrapped = false;
    game.onUpdate = [&](int) {
        sawEnd = sawEnd || game.ShowsText("End");
        sawLast = sawLast || app->creditsLine == 55;
        wrapped = wrapped || (sawLast && app->creditsLine == 0);
    };
    game.Hold(kKeyDown, 120);  // 1.8 pixels an update: 13 lines
    game.onUpdate = nullptr;
    EXPECT_TRUE(sawLast);
    EXPECT_TRUE(wrapped);
    EXPECT_FALSE(sawEnd);
    EXPECT_EQ(app->selectedLevel, 0) << "the wheel ignores keys under the credits";

    game.Tap(kKeyEnter);
    EXPECT_EQ(app->creditsOpen, 0);
}
