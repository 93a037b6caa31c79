// The saved data without a window: the exact save string, its checksums in
// 32-bit wrap-around, each block verified on its own when loading, the
// repairs and messages, the badge catalogue, and the recording of a result.
#include <gtest/gtest.h>

#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "tests/game_support/headless_game.h"

namespace {

// A game with the creation defaults the shell sets before loading.
c_MyApp* FreshGame(HeadlessHost* host) {
    c_MyApp* app = NewHeadlessGame(host);
    for (int i = 0; i < 25; ++i) app->settings[i] = 0;
    app->settings[5] = 1;
    return app;
}

std::vector<std::string> Fields(const String& s) {
    std::vector<std::string> out;
    std::string text = s.ToUtf8(), field;
    for (char c : text) {
        if (c == '|') {
            out.push_back(field);
            field.clear();
        } else {
            field += c;
        }
    }
    EXPECT_TRUE(field.empty()) << "every field ends with |";
    return out;
}

String Join(const std::vector<std::string>& fields) {
    std::string out;
    for (const std::string& f : fields) out += f + "|";
    return String(out.c_str());
}

// p_Load's printed lines, in order.
std::vector<std::string> LoadAndListMessages(c_MyApp* app) {
    testing::internal::CaptureStdout();
    app->p_Load();
    std::string text = testing::internal::GetCapturedStdout();
    std::vector<std::string> lines;
    for (size_t at = 0, nl; (nl = text.find('\n', at)) != std::string::npos; at = nl + 1)
        lines.push_back(text.substr(at, nl - at));
    return lines;
}

constexpr int kGroupStart = 35;
int GroupField(int g, int k) {
    return kGroupStart + 21 * g + k;
}

}  // namespace

TEST(SaveString, FirstRunWritesTheDefaultsAfterTheRepairs) {
    HeadlessHost host;
    c_MyApp* app = FreshGame(&host);
    EXPECT_EQ(LoadAndListMessages(app), std::vector<std::string>{"Highscores Loaded"});
    app->p_Save();
    ASSERT_EQ(host.saves, 1);

    std::string expected = "0|0|0|0|0|1|0|0|0|0|64|64|10|0|1|";
    for (int i = 0; i < 10; ++i) expected += "0|";
    expected += "1483|";
    for (int i = 0; i < 9 + 105 * 21; ++i) expected += "0|";
    EXPECT_EQ(host.state.ToUtf8(), expected);
    EXPECT_EQ(host.state.Length(), 4486);
}

TEST(SaveString, ChecksumsOfTheDocumentedExamples) {
    HeadlessHost host;
    c_MyApp* app = FreshGame(&host);
    app->scores[0] = 100;
    app->scores[1] = 90;
    app->badges[31] = true;
    app->p_Save();
    std::vector<std::string> f = Fields(host.state);
    ASSERT_EQ(f.size(), 35u + 105 * 21);
    EXPECT_EQ(f[25], "5");
    EXPECT_EQ(f[26], "-2147483648") << "bit 31 makes the word negative";
    EXPECT_EQ(f[34], "-2147483648");
    EXPECT_EQ(f[GroupField(0, 0)], "100");
    EXPECT_EQ(f[GroupField(0, 2)], "90") << "best and last entries interleave";
    EXPECT_EQ(f[GroupField(0, 20)], "850");

    app->badges[31] = false;
    app->badges[0] = true;
    app->p_Save();
    f = Fields(host.state);
    EXPECT_EQ(f[26], "1");
    EXPECT_EQ(f[34], "1");
}

TEST(SaveString, GroupsPastTheWheelAreWrittenFromTheirOwnIndices) {
    HeadlessHost host;
    c_MyApp* app = FreshGame(&host);
    app->scores[1040] = 7;  // group 104's best entry 0 is level 1's last-ten entry 40
    app->scores[2049] = 3;  // group 104's last entry 9
    app->p_Save();
    std::vector<std::string> f = Fields(host.state);
    EXPECT_EQ(f[GroupField(104, 0)], "7");
    EXPECT_EQ(f[GroupField(104, 19)], "3");
    EXPECT_EQ(f[GroupField(104, 20)], std::to_string(4 * 7 + (9 + 104 + 3) * 3));
}

TEST(SaveString, LargeValuesWrapRoundAndSurviveARoundTrip) {
    HeadlessHost host;
    c_MyApp* app = FreshGame(&host);
    for (int i = 0; i < 25; ++i) app->settings[i] = INT_MAX - i;
    app->settings[10] = app->settings[11] = 100;
    app->settings[12] = 20;
    app->settings[14] = 1;
    for (int b = 0; b < 256; b += 3) app->badges[b] = true;
    for (int i = 0; i < 1000; ++i) app->scores[i] = (i * 37) % 101;
    for (int i = 1000; i < 2000; ++i) app->scores[i] = i % 2 ? INT_MIN + i : INT_MAX - i;
    app->p_Save();
    String saved = host.state;

    HeadlessHost host2;
    host2.state = saved;
    c_MyApp* back = FreshGame(&host2);
    EXPECT_EQ(LoadAndListMessages(back),
              (std::vector<std::string>{"Settings Loaded", "Badges Loaded", "Highscores Loaded"}));
    for (int i = 0; i < 25; ++i)
        EXPECT_EQ(back->settings[i], i == 14 ? 1 : (i == 10 || i == 11 ? 100 : (i == 12 ? 20 : INT_MAX - i)))
            << i;
    for (int b = 0; b < 256; ++b) EXPECT_EQ(back->badges[b], b % 3 == 0) << b;
    for (int i = 0; i < 2000; ++i) ASSERT_EQ(back->scores[i], app->scores[i]) << i;
    back->p_Save();
    EXPECT_EQ(host2.state, saved) << "loading and saving again gives the same string";
}

TEST(LoadString, OneChangedDigitZeroesOnlyThatLevel) {
    HeadlessHost host;
    c_MyApp* app = FreshGame(&host);
    for (int i = 0; i < 1000; ++i) app->scores[i] = app->scores[1000 + i] = 10 + i % 80;
    app->p_Save();
    std::vector<std::string> f = Fields(host.state);
    f[GroupField(7, 5)] = f[GroupField(7, 5)] == "11" ? "12" : "11";  // level 8, best entry 2

    HeadlessHost host2;
    host2.state = Join(f);
    c_MyApp* back = FreshGame(&host2);
    EXPECT_EQ(LoadAndListMessages(back),
              (std::vector<std::string>{"Settings Loaded", "Badges Loaded", "Highscores Loaded"}));
    for (int i = 0; i < 1000; ++i) {
        bool level8 = i / 10 == 7;
        EXPECT_EQ(back->scores[i], level8 ? 0 : app->scores[i]) << i;
        EXPECT_EQ(back->scores[1000 + i], level8 ? 0 : app->scores[1000 + i]) << i;
    }
}

TEST(LoadString, DamagedSettingsResetOnlyTheSettingsAndTheRepairsStillApply) {
    HeadlessHost host;
    c_MyApp* app = FreshGame(&host);
    app->settings[5] = 3;
    app->settings[15] = 0;
    app->badges[40] = true;
    app->scores[15] = 77;
    app->p_Save();
    std::vector<std::string> f = Fields(host.state);
    f[15] = "1";  // left stick back to normal without fixing the checksum

    HeadlessHost host2;
    host2.state = Join(f);
    c_MyApp* back = FreshGame(&host2);
    overscan = 12.0f;
    EXPECT_EQ(LoadAndListMessages(back),
              (std::vector<std::string>{"Settings Checksum Invalid", "Badges Loaded", "Highscores Loaded"}));
    EXPECT_EQ(back->settings[5], 1);
    EXPECT_EQ(back->settings[15], 0);
    EXPECT_EQ(back->settings[10], 64);
    EXPECT_EQ(back->settings[11], 64);
    EXPECT_EQ(back->settings[12], 10);
    EXPECT_EQ(back->settings[14], 1);
    EXPECT_EQ(overscan, 0.0f);
    EXPECT_TRUE(back->badges[40]);
    EXPECT_EQ(back->scores[15], 77);
}

TEST(LoadString, DamagedBadgesClearOnlyTheBadges) {
    HeadlessHost host;
    c_MyApp* app = FreshGame(&host);
    app->badges[3] = app->badges[200] = true;
    app->scores[0] = 42;
    app->p_Save();
    std::vector<std::string> f = Fields(host.state);
    f[30] = "5";

    HeadlessHost host2;
    host2.state = Join(f);
    c_MyApp* back = FreshGame(&host2);
    EXPECT_EQ(LoadAndListMessages(back),
              (std::vector<std::string>{"Settings Loaded", "Badge Checksum Invalid", "Highscores Loaded"}));
    for (int b = 0; b < 256; ++b) EXPECT_FALSE(back->badges[b]) << b;
    EXPECT_EQ(back->scores[0], 42);
}

TEST(LoadString, ShortAndOddStringsFindTheirBlocksByFieldCount) {
    // Exactly 25 fields: the settings are read but have no checksum.
    HeadlessHost host;
    std::string s;
    for (int i = 0; i < 24; ++i) s += "0|";
    s += "3";
    host.state = String(s.c_str());
    c_MyApp* app = FreshGame(&host);
    app->scores[5] = 9;
    EXPECT_EQ(LoadAndListMessages(app),
              (std::vector<std::string>{"Settings Checksum Invalid", "Highscores Loaded"}));
    EXPECT_EQ(app->settings[5], 1);
    EXPECT_EQ(app->scores[5], 9) << "groups past the end keep their values";

    // Fewer than 25 fields: the badge block starts at field 0.
    HeadlessHost host2;
    host2.state = String("6|0|0|0|0|0|0|1|7|");
    c_MyApp* app2 = FreshGame(&host2);
    EXPECT_EQ(LoadAndListMessages(app2), (std::vector<std::string>{"Badges Loaded", "Highscores Loaded"}));
    EXPECT_TRUE(app2->badges[1] && app2->badges[2] && app2->badges[224]);
    EXPECT_FALSE(app2->badges[0]);
    EXPECT_EQ(app2->settings[5], 1) << "settings keep their defaults";

    // Text that is not a number reads as 0; nothing else happens.
    HeadlessHost host3;
    host3.state = String(u"x|\u00ac|||-|9999999999999|");
    c_MyApp* app3 = FreshGame(&host3);
    EXPECT_EQ(LoadAndListMessages(app3), std::vector<std::string>{"Highscores Loaded"});
    EXPECT_EQ(app3->settings[5], 1);
}

TEST(LoadString, ArbitraryTextNeverBreaksLoading) {
    // Deterministic noise over the characters a save string is made of,
    // plus a few others, at lengths round the block boundaries.
    const char alphabet[] = "0123456789||||--+ x\xff";
    unsigned seed = 12345;
    for (int round = 0; round < 300; ++round) {
        std::string s;
        int length = 1 + static_cast<int>(seed % 200) * (round % 3 == 0 ? 40 : 1);
        for (int i = 0; i < length; ++i) {
            seed = seed * 1664525u + 1013904223u;
            s += alphabet[(seed >> 16) % (sizeof alphabet - 1)];
        }
        HeadlessHost host;
        host.state = String(s.c_str());
        c_MyApp* app = FreshGame(&host);
        std::vector<std::string> messages = LoadAndListMessages(app);
        ASSERT_FALSE(messages.empty());
        EXPECT_EQ(messages.back(), "Highscores Loaded");
        EXPECT_EQ(app->settings[14], 1);
        EXPECT_GE(app->settings[10], 64);
    }
}

// A valid save followed by megabytes of extra fields (a damaged or hostile
// file): the runtime reads only the file's head, loading splits only the
// fields a block can use, and the save comes back as if it stood alone.
TEST(LoadString, AHugeStateFileLoadsItsSaveFromTheHeadAlone) {
    HeadlessHost writer;
    c_MyApp* saved = FreshGame(&writer);
    saved->settings[15] = 0;
    saved->scores[0] = 90;
    saved->scores[1000] = 90;
    saved->scores[990] = 33;  // level 100's best: the last group read
    saved->badges[3] = true;
    const std::string save = saved->SaveString().ToUtf8();

    std::string extra;
    extra.reserve(50u << 20);
    while (extra.size() < (50u << 20)) extra += "1234567|";

    // A folder of the test's own, made portably (the suite also runs on Windows).
    const std::filesystem::path pattern = std::filesystem::temp_directory_path() /
                                          ("tolvar_hugestate_" + std::to_string(std::random_device{}()));
    ASSERT_TRUE(std::filesystem::create_directory(pattern));
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(pattern);
    std::ofstream(".tolvarstate", std::ios::binary) << save << extra;
    HeadlessHost host;
    String head = host.ZqGame::LoadState();
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(pattern);

    EXPECT_EQ(head.Length(), 1 << 20) << "only the head of the file is read";
    ASSERT_TRUE(head.StartsWith(String(save.c_str())));
    host.state = head;
    c_MyApp* app = FreshGame(&host);
    EXPECT_EQ(LoadAndListMessages(app),
              (std::vector<std::string>{"Settings Loaded", "Badges Loaded", "Highscores Loaded"}));
    EXPECT_EQ(app->settings[15], 0);
    EXPECT_EQ(app->scores[0], 90);
    EXPECT_EQ(app->scores[1000], 90);
    EXPECT_EQ(app->scores[990], 33);
    EXPECT_TRUE(app->badges[3]);
}

TEST(LoadString, DebugModePrintsTheStringFirst) {
    HeadlessHost host;
    host.state = String("1|2");
    c_MyApp* app = FreshGame(&host);
    DebugMode = 1;
    EXPECT_EQ(LoadAndListMessages(app), (std::vector<std::string>{"1|2", "Highscores Loaded"}));
    DebugMode = 0;
}

TEST(Badges, CatalogueNamesAndDetails) {
    HeadlessHost host;
    c_MyApp* app = FreshGame(&host);
    EXPECT_EQ(app->p_BadgeName(0), String("Test Badge"));
    EXPECT_EQ(app->p_BadgeDetail(0), String("This is a Test Badge which has no purpose."));
    EXPECT_EQ(app->p_BadgeName(-5), String("Odd Badge"));
    EXPECT_EQ(app->p_BadgeDetail(255), String("This badge hasn't been defined!"));
    EXPECT_EQ(app->p_GC_PostScore(10, 2), 0);
    EXPECT_EQ(app->p_GC_Badges(), 0);
    app->p_ShowBadges();
    EXPECT_EQ(app->displayListFill, 0) << "no notification, nothing drawn";
}

TEST(RecordResult, InsertsBelowEqualResultsAndAlwaysIntoTheLastTen) {
    HeadlessHost host;
    c_MyApp* app = FreshGame(&host);
    const int best[] = {80, 50, 50, 20, 10, 9, 8, 7, 6, 5};
    for (int i = 0; i < 10; ++i) app->scores[30 + i] = best[i];
    for (int i = 0; i < 10; ++i) app->scores[1030 + i] = i + 1;
    app->currentLevel = 4;
    app->selectedLevel = 3;
    app->lastResult = 50;
    EXPECT_EQ(app->p_MyNth(), String("2nd"));
    app->p_LoadMenu();
    const int expected[] = {80, 50, 50, 50, 20, 10, 9, 8, 7, 6};
    for (int i = 0; i < 10; ++i) EXPECT_EQ(app->scores[30 + i], expected[i]) << i;
    EXPECT_EQ(app->scores[1030], 50);
    EXPECT_EQ(app->scores[1031], 1);
    EXPECT_EQ(app->scores[1039], 9);
    EXPECT_EQ(app->selectedLevel, 4) << "a pass turns the wheel to the next level";
    EXPECT_FLOAT_EQ(app->wheelTarget, -128.0f);
    EXPECT_EQ(host.saves, 1);

    app->lastResult = 5;  // not above any entry: the best ten stay
    app->p_LoadMenu();
    EXPECT_EQ(app->scores[39], 6);
    EXPECT_EQ(app->scores[1030], 5);
    EXPECT_EQ(app->selectedLevel, 4) << "a fail leaves the wheel";
}

TEST(RecordResult, PassingTheLastLevelKeepsTheWheelOnIt) {
    HeadlessHost host;
    c_MyApp* app = FreshGame(&host);
    app->currentLevel = 100;
    app->selectedLevel = 99;
    app->lastResult = 100;
    app->p_LoadMenu();
    EXPECT_EQ(app->selectedLevel, 99);
    EXPECT_EQ(app->scores[990], 100);
    EXPECT_EQ(app->scores[1990], 100);
}
