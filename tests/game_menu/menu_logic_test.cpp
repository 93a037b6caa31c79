// Title-screen rules without a window: the unlock rule, the jump to the
// best level, the rows of the results panel, the options labels for odd
// saved values, and the credits text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/credits_text.h"
#include "runtime/host/glfw_game.h"
#include "tests/game_support/headless_game.h"

namespace {

c_MyApp* MenuGame(HeadlessHost* host) {
    c_MyApp* app = NewHeadlessGame(host);
    app->imageInfo[90 * 3] = 7;  // the game's font: advance 7, line height 10
    app->imageInfo[90 * 3 + 1] = 10;
    app->imageInfo[90 * 3 + 2] = 128;
    app->jumpToBest = 0;
    return app;
}

// The characters drawn with the font (slot 90), spaces absent.
std::string Glyphs(c_MyApp* app) {
    std::string out;
    for (int i = 0; i < RecordCount(app); ++i)
        if (Record(app, i, 0) == 90.0f) out += static_cast<char>(static_cast<int>(Record(app, i, 6)) + 32);
    return out;
}

// A desktop host whose window calls are recorded instead of made.
class RecordingDesktop : public ZqGlfwGame {
  public:
    bool haveDesktop = true;
    std::vector<std::string> windows;
    ZqGlfwVideoMode* GetGlfwDesktopMode() override {
        return haveDesktop ? gc_new<ZqGlfwVideoMode>(1920, 1080, 8, 8, 8) : nullptr;
    }
    void SetGlfwWindow(int w, int h, int r, int g, int b, int a, int d, int st, bool full) override {
        windows.push_back(std::to_string(w) + "x" + std::to_string(h) + " " + std::to_string(r) +
                          std::to_string(g) + std::to_string(b) + std::to_string(a) + std::to_string(d) +
                          std::to_string(st) + (full ? " full" : " window"));
    }
};

}  // namespace

TEST(FullscreenSwitch, DesktopSizeAndBackOrNothingWithoutADesktop) {
    HeadlessHost headless;
    c_MyApp* app = MenuGame(&headless);
    RecordingDesktop desktop;
    ZqGame::_game = &desktop;

    desktop.haveDesktop = false;
    app->p_FullscreenFlip();
    EXPECT_EQ(app->fullscreenState, 0) << "no desktop mode: stays windowed";
    EXPECT_TRUE(desktop.windows.empty());

    desktop.haveDesktop = true;
    app->p_FullscreenFlip();
    EXPECT_EQ(app->fullscreenState, 1);
    app->p_FullscreenFlip();
    EXPECT_EQ(app->fullscreenState, 0);
    EXPECT_EQ(desktop.windows, (std::vector<std::string>{"1920x1080 888000 full", "640x480 888000 window"}));
    ZqGame::_game = &headless;
}

TEST(UnlockRule, PointsFromTheBestResults) {
    HeadlessHost host;
    c_MyApp* app = MenuGame(&host);
    app->MenuUnlockRule();
    EXPECT_EQ(app->unlockPoints[0], 10);
    EXPECT_EQ(app->unlockPoints[1], 0);
    EXPECT_EQ(app->highestUnlocked, 0);

    struct Case {
        int best, highest;
    };
    for (Case c : {Case{24, 0}, Case{25, 1}, Case{59, 1}, Case{60, 2}, Case{89, 2}, Case{90, 3}}) {
        app->scores[0] = c.best;
        app->MenuUnlockRule();
        EXPECT_EQ(app->highestUnlocked, c.highest) << "best " << c.best;
    }
    app->scores[0] = 25;
    app->MenuUnlockRule();
    EXPECT_EQ(app->unlockPoints[1], 3);
    EXPECT_EQ(app->unlockPoints[2], 2) << "two points do not unlock";
}

TEST(UnlockRule, FirstFrameJumpsToTheHighestUnlockedLevelButNotPastTheWheel) {
    HeadlessHost host;
    c_MyApp* app = MenuGame(&host);
    for (int level = 0; level < 6; ++level) app->scores[10 * level] = 30;
    app->jumpToBest = 1;
    app->MenuUnlockRule();
    EXPECT_EQ(app->selectedLevel, 6);
    EXPECT_FLOAT_EQ(app->wheelTarget, -192.0f);
    EXPECT_FLOAT_EQ(app->wheelAngle, -192.0f);
    EXPECT_EQ(app->jumpToBest, 0);
    EXPECT_EQ(app->levelUnlocked, 1);

    for (int level = 0; level < 100; ++level) app->scores[10 * level] = 95;
    app->jumpToBest = 1;
    app->MenuUnlockRule();
    EXPECT_EQ(app->highestUnlocked, 100);
    EXPECT_EQ(app->selectedLevel, 99) << "level 100 is unlocked, but the wheel ends at 99";
}

TEST(ResultsPanel, RowsFitHalfTheScreen) {
    HeadlessHost host;
    c_MyApp* app = MenuGame(&host);
    app->currentLevel = 3;
    for (int k = 0; k < 10; ++k) app->scores[20 + k] = 90 - k;
    app->scores[1020] = 42;

    vscrh = 480.0f;
    app->p_CLS2D(0, 0, 0, 1);
    app->MenuResultsPanel(500.0f);
    std::string shown = Glyphs(app);
    EXPECT_NE(shown.find("Top10908988"), std::string::npos) << shown;
    EXPECT_NE(shown.find("81Last1042"), std::string::npos) << "ten rows: " << shown;

    vscrh = 360.0f;
    app->p_CLS2D(0, 0, 0, 1);
    app->MenuResultsPanel(500.0f);
    shown = Glyphs(app);
    EXPECT_NE(shown.find("Top6"), std::string::npos) << shown;
    EXPECT_NE(shown.find("85Last6"), std::string::npos) << "six rows: " << shown;

    vscrh = 200.0f;
    app->p_CLS2D(0, 0, 0, 1);
    app->MenuResultsPanel(500.0f);
    shown = Glyphs(app);
    EXPECT_EQ(shown.rfind("Highscore90Last42", 0), 0u) << shown;
    vscrh = 480.0f;
}

TEST(OptionLines, SavedValuesReadSafely) {
    HeadlessHost host;
    c_MyApp* app = MenuGame(&host);
    EXPECT_EQ(app->OptionLine(0), String("<[BACK]"));
    const char* sound[] = {"Sound : Off", "Sound : SFX + Music", "Sound : SFX", "Sound : Music",
                           "Sound : Off"};
    for (int mode = 0; mode <= 4; ++mode) {
        app->settings[5] = mode;
        EXPECT_EQ(app->OptionLine(1), String(sound[mode])) << mode;
    }
    app->settings[5] = -7;
    EXPECT_EQ(app->OptionLine(1), String("Sound : Off"));

    app->settings[15] = 1;
    EXPECT_EQ(app->OptionLine(4), String("Left Thumbstick Y Normal"));
    app->OptionSelect(4);
    EXPECT_EQ(app->OptionLine(4), String("Left Thumbstick Y Flipped"));
    app->OptionSelect(4);
    EXPECT_EQ(app->OptionLine(4), String("Left Thumbstick Y Normal"));

    app->settings[16] = 2147483647;  // a stored value that is neither 0 nor 1
    EXPECT_EQ(app->OptionLine(5), String("Right Thumbstick Y Normal"));
    EXPECT_EQ(app->settings[16], 2147483647) << "labels never rewrite a setting";
    app->OptionSelect(5);
    EXPECT_EQ(app->settings[16], 0);
    EXPECT_EQ(app->OptionLine(5), String("Right Thumbstick Y Flipped"));

    EXPECT_EQ(app->OptionLine(3), String("Fullscreen"));
    app->p_FullscreenFlip();  // no desktop host: nothing to switch to
    EXPECT_EQ(app->fullscreenState, 0);
}

TEST(Credits, FiftySevenLinesEndingWithTheMark) {
    Array<String> lines = MakeCreditText();
    ASSERT_EQ(lines.Length(), 57);
    EXPECT_EQ(lines[0], String(""));
    EXPECT_EQ(lines[1], String("A Game by"));
    EXPECT_EQ(lines[55], String("-=-=-"));
    EXPECT_EQ(lines[56], String("End"));
    int separators = 0;
    for (const String& line : lines) separators += line == String("-=-=-");
    EXPECT_EQ(separators, 5);
    EXPECT_EQ(lines[28], String("Sound and Music by"));
    EXPECT_TRUE(lines[30].StartsWith(String("using ")));
    for (int i = 30; i < 33; ++i) EXPECT_TRUE(lines[i].EndsWith(String(","))) << i;
    EXPECT_FALSE(lines[33].EndsWith(String(",")));
    EXPECT_EQ(lines[34], String("or whatever else"));
    EXPECT_EQ(lines[43], String("Thanks to"));
    EXPECT_EQ(lines[52], String("And everyone Else"));
}
