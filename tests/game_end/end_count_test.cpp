// The level-complete count, the ending banner's timing and words' choice,
// and the placing, on a headless game: the count classifies the result and
// ends after 174 updates, followers strictly within 192 pixels of home fly
// home and carry their share, the banner hands over to the results screen
// 90 updates later and keeps the placing of the level just played.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "game/records.h"
#include "tests/game_support/headless_game.h"

namespace {

constexpr float kHomeX = 1000, kHomeY = 1000;

// A level reduced to what the count reads: home as the last of two
// planets, the camera centred on it, no follower yet.
c_MyApp* CountingGame(HeadlessHost* host) {
    c_MyApp* app = NewHeadlessGame(host);
    app->planetCount = 2;
    app->planets[rec::kSize + rec::kPlanetPresent] = 1;
    app->planets[rec::kSize + rec::kPlanetX] = kHomeX;
    app->planets[rec::kSize + rec::kPlanetY] = kHomeY;
    app->camX = app->camTargetX = kHomeX - 320;
    app->camY = app->camTargetY = kHomeY - 240;
    app->followerLast = 99;
    app->screenMode = 10;
    app->currentLevel = 3;
    return app;
}

void PlaceFollower(c_MyApp* app, int j, float x, float y) {
    app->followers[rec::kSize * j + rec::kFollowerState] = 1;
    app->followers[rec::kSize * j + rec::kFollowerX] = x;
    app->followers[rec::kSize * j + rec::kFollowerY] = y;
}

// One update of the ending as the shell runs it on screen 10.
void EndingUpdate(c_MyApp* app) {
    app->p_LevelComplete();
    if (app->gameOver != 0) app->p_GameOver();
}

}  // namespace

TEST(LevelComplete, ResultClassChoosesTheBannerKindAndTheBackground) {
    struct Case {
        int result, reason;
        float red, green, blue;
    };
    const Case cases[] = {{24, 2, 220, 150, 150}, {25, 3, 150, 220, 150}, {59, 3, 150, 220, 150},
                          {60, 3, 200, 220, 150}, {89, 3, 200, 220, 150}, {90, 4, 250, 250, 150}};
    for (const Case& c : cases) {
        HeadlessHost host;
        c_MyApp* app = CountingGame(&host);
        app->lastResult = c.result;
        app->p_LevelComplete();
        EXPECT_EQ(app->gameOverReason, c.reason) << c.result;
        EXPECT_EQ(app->bgTargetRed, c.red) << c.result;
        EXPECT_EQ(app->bgTargetGreen, c.green) << c.result;
        EXPECT_EQ(app->bgTargetBlue, c.blue) << c.result;
        // The target darkens with the fade: one update later by 0.75, read
        // as a whole number.
        app->completeFade = 40;
        app->p_LevelComplete();
        EXPECT_EQ(app->bgTargetRed, c.red - 40) << c.result;
    }
}

TEST(LevelComplete, CountLasts174UpdatesThenTheBanner90AndTheResultsScreenFollows) {
    HeadlessHost host;
    c_MyApp* app = CountingGame(&host);
    int endedOn = 0, resultsOn = 0;
    for (int update = 1; update <= 400 && resultsOn == 0; ++update) {
        host.millis += 16;
        if (app->screenMode == 2) {
            resultsOn = update;  // the shell's results screen runs here
            break;
        }
        EndingUpdate(app);
        if (app->gameOver != 0 && endedOn == 0) endedOn = update;
    }
    EXPECT_EQ(endedOn, 174);
    EXPECT_EQ(resultsOn, 264);
    EXPECT_EQ(app->bannerTimer, 75);
    EXPECT_EQ(app->completeFade, 130.0f);
}

TEST(LevelComplete, FollowersStrictlyWithin192PixelsFlyHomeWorthAFifthOnLevelOne) {
    HeadlessHost host;
    c_MyApp* app = CountingGame(&host);
    app->followerLast = 4;  // level 1: five followers, 20 each
    PlaceFollower(app, 0, kHomeX + 191.9f, kHomeY);
    PlaceFollower(app, 1, kHomeX, kHomeY - 192);        // on the line: falls away
    PlaceFollower(app, 2, kHomeX + 120, kHomeY + 150);  // 192.09 away
    PlaceFollower(app, 3, kHomeX + 100, kHomeY + 100);  // 141 away
    for (int i = 0; i < 174; ++i) EndingUpdate(app);
    EXPECT_EQ(app->lastResult, 40);
    EXPECT_EQ(app->shownResult, 40);
    EXPECT_EQ(app->sfxCountB, 2);  // one group-B sound per arrival (played by the sound layer)
    EXPECT_EQ(app->followers[0 * 10], 0.0f);
    EXPECT_EQ(app->followers[3 * 10], 0.0f);
    // The others fall away, ever faster.
    EXPECT_EQ(app->followers[1 * 10], 1.0f);
    EXPECT_GT(app->followers[1 * 10 + rec::kFollowerY], kHomeY + 1000);
    EXPECT_EQ(app->followers[2 * 10], 1.0f);
    EXPECT_EQ(app->gameOverReason, 3);
}

TEST(LevelComplete, AFullSwarmIsWorth100AndTheResultNeverPassesIt) {
    HeadlessHost host;
    c_MyApp* app = CountingGame(&host);
    for (int j = 0; j <= 99; ++j)
        PlaceFollower(app, j, kHomeX + (j % 10) * 10 - 45, kHomeY + (j / 10) * 10 - 45);
    app->lastResult = 7;  // anything already counted cannot lift it past 100
    int maxShown = 0;
    for (int i = 0; i < 174; ++i) {
        EndingUpdate(app);
        EXPECT_LE(app->lastResult, 100);
        maxShown = std::max(maxShown, app->shownResult);
    }
    EXPECT_EQ(app->lastResult, 100);
    EXPECT_EQ(maxShown, 100);
    EXPECT_EQ(app->gameOverReason, 4);
}

TEST(LevelComplete, AnEndingDecidedBeforeTheCountKeepsItsWordsAndResult) {
    HeadlessHost host;
    c_MyApp* app = CountingGame(&host);
    PlaceFollower(app, 0, kHomeX, kHomeY);
    app->gameOver = 1;
    app->gameOverReason = -1;  // quit from the pause screen
    for (int i = 0; i < 174; ++i) EndingUpdate(app);
    EXPECT_EQ(app->gameOverReason, -1);
    EXPECT_EQ(app->lastResult, 0);
}

TEST(Placing, FirstEntryTheResultReachesInTheLevelsTopTen) {
    HeadlessHost host;
    c_MyApp* app = CountingGame(&host);
    const int top[] = {80, 50, 50, 20};
    for (int i = 0; i < 4; ++i) app->scores[20 + i] = top[i];  // level 3
    struct Case {
        int result, rank;
        const char16_t* text;
    };
    const Case cases[] = {{50, 2, u"2nd"}, {81, 1, u"1st!"}, {20, 4, u"4th"},
                          {19, 5, u"5th"}, {0, 0, u""},      {150, 1, u"1st!"}};
    for (const Case& c : cases) {
        app->lastResult = c.result;
        EXPECT_TRUE(app->p_MyNth() == String(c.text)) << c.result;
        EXPECT_EQ(app->newRank, c.rank) << c.result;
    }
    // A result of 0 (every failure and every quit) is no new high score,
    // even on a level whose lists are still empty.
    for (int i = 0; i < 10; ++i) app->scores[20 + i] = 0;
    app->lastResult = 0;
    EXPECT_EQ(app->p_MyNth().Length(), 0);
    EXPECT_EQ(app->newRank, 0);
    // A full list better than the result: no placing.
    for (int i = 0; i < 10; ++i) app->scores[20 + i] = 90 - i;
    app->lastResult = 80;
    EXPECT_EQ(app->p_MyNth().Length(), 0);
    EXPECT_EQ(app->newRank, 0);
    // Levels outside the lists have none either, and read nothing.
    for (int level : {0, -5, 101, 1000}) {
        app->currentLevel = level;
        app->lastResult = 100;
        EXPECT_EQ(app->p_MyNth().Length(), 0) << level;
        EXPECT_EQ(app->newRank, 0) << level;
    }
}

TEST(Banner, KeepsThePlayedLevelsPlacingOnTheTitleAndHoldsInputOff) {
    HeadlessHost host;
    c_MyApp* app = CountingGame(&host);
    app->scores[20] = 80;
    app->scores[21] = 50;
    app->lastResult = 60;
    app->gameOver = 1;
    app->gameOverReason = 3;
    while (app->screenMode == 10) app->p_GameOver();
    EXPECT_EQ(app->screenMode, 2);
    EXPECT_TRUE(app->placingText == String(u"2nd"));
    // The result is recorded and the wheel moves on: the title shows the
    // next level, whose list is empty. The banner keeps the played level's
    // placing while it shrinks, and holds the title's input off.
    app->currentLevel = 4;
    app->screenMode = 1;
    app->inputLatch = app->waitRelease = 0;
    app->keyRepeat = 3;
    app->p_GameOver();
    EXPECT_EQ(app->newRank, 2);
    EXPECT_TRUE(app->placingText == String(u"2nd"));
    EXPECT_EQ(app->inputLatch, 1);
    EXPECT_EQ(app->waitRelease, 1);
    EXPECT_EQ(app->keyRepeat, 240);
    EXPECT_EQ(app->bannerTimer, 73);
    int updates = 1;
    while (app->bannerTimer > 0) {
        app->p_GameOver();
        ++updates;
    }
    EXPECT_EQ(updates, 38);
    app->inputLatch = 0;
    app->p_GameOver();
    EXPECT_EQ(app->inputLatch, 0) << "no banner, no hold";
    EXPECT_EQ(app->bannerTimer, 0);
}

namespace {

// The pause screen's quit button taken by a touch, as the player clicks it
// with the panel fully open.
void QuitFromPause(c_MyApp* app) {
    app->paused = 1;
    app->pauseDir = 1;
    app->pauseSlide = 240;
    app->imageInfo[97 * 3] = app->imageInfo[97 * 3 + 1] = 32;  // the icons' frame size
    app->imageScale = 1;
    app->pointerDown = 1;
    app->touchDown[0] = 1;
    app->touchX[0] = 64;
    app->touchY[0] = 124;
    app->waitRelease = app->inputLatch = 0;
    app->p_PauseMenu();
    app->touchDown[0] = app->pointerDown = 0;
}

}  // namespace

// A quit while the count runs ends the level as any quit does: 0 %, the
// "Quit Game" words, no placing, nothing entered in the top ten and no turn
// of the wheel; the followers already flying home add nothing.
TEST(LevelComplete, AQuitDuringTheCountScoresZeroLikeAnyQuit) {
    HeadlessHost host;
    c_MyApp* app = CountingGame(&host);
    app->followerLast = 4;  // level 1: 20 a follower
    app->currentLevel = 1;
    app->selectedLevel = 0;
    for (int j = 0; j <= 4; ++j) PlaceFollower(app, j, kHomeX + 10 * j, kHomeY);
    int updates = 0;
    while (app->lastResult == 0 && updates < 174) {
        EndingUpdate(app);
        ++updates;
    }
    ASSERT_GT(app->lastResult, 0) << "some followers arrived before the quit";
    ASSERT_LT(app->lastResult, 100) << "and some are still flying";
    ASSERT_EQ(app->gameOver, 0);

    QuitFromPause(app);
    EXPECT_EQ(app->gameOver, 1);
    EXPECT_EQ(app->gameOverReason, -1);
    EXPECT_EQ(app->lastResult, 0);
    app->paused = 0;
    while (app->screenMode == 10) {
        EndingUpdate(app);
        EXPECT_EQ(app->lastResult, 0);
        EXPECT_EQ(app->gameOverReason, -1);
        EXPECT_EQ(app->newRank, 0);
    }
    EXPECT_EQ(app->placingText.Length(), 0);
    app->p_LoadMenu();
    EXPECT_EQ(app->scores[0], 0) << "nothing in level 1's top ten";
    EXPECT_EQ(app->scores[1000], 0) << "the quit's 0 % heads the last ten";
    EXPECT_EQ(app->selectedLevel, 0) << "the wheel stays: nothing was passed";
}

// The placing shows exactly when the top ten takes the result: the
// insertion needs an entry strictly lower, so a result equal to every entry
// it would pass is not entered and not announced.
TEST(Placing, ShownExactlyWhenTheTopTenTakesTheResult) {
    struct Case {
        std::vector<int> top;
        int result, rank;
    };
    const Case cases[] = {
        {{100, 100, 100, 100, 100, 100, 100, 100, 100, 100}, 100, 0},  // ten equal: not entered
        {{90, 89, 88, 87, 86, 85, 84, 83, 82, 81}, 81, 0},             // equal to the tenth
        {{90, 89, 88, 87, 86, 85, 84, 83, 82, 81}, 82, 9},             // enters before the tenth
        {{80, 50, 50, 20}, 50, 2},                                     // the documented example
        {{80, 50, 50, 20}, 20, 4},
        {{}, 0, 0},  // an empty list does not take 0
        {{}, 1, 1},
    };
    for (const Case& c : cases) {
        HeadlessHost host;
        c_MyApp* app = CountingGame(&host);
        for (size_t i = 0; i < c.top.size(); ++i) app->scores[20 + i] = c.top[i];
        app->lastResult = c.result;
        app->p_MyNth();
        EXPECT_EQ(app->newRank, c.rank) << c.result;
        int before[10];
        for (int i = 0; i < 10; ++i) before[i] = app->scores[20 + i];
        app->p_LoadMenu();
        bool entered = false;
        for (int i = 0; i < 10; ++i) entered |= app->scores[20 + i] != before[i];
        EXPECT_EQ(entered, c.rank > 0) << c.result << ": a placing if and only if the list changed";
    }
}

// The pause screen freezes the count (the shell does not run it while
// paused), and the count resumes where it stood.
TEST(LevelComplete, ThePauseScreenFreezesTheCountAndItResumes) {
    HeadlessHost host;
    c_MyApp* app = CountingGame(&host);
    for (int j = 0; j < 50; ++j) PlaceFollower(app, j, kHomeX + (j % 10) * 10, kHomeY + (j / 10) * 10);
    app->player[rec::kPlayerHomeMeter] = 64;
    for (int i = 0; i < 40; ++i) app->RunScreen();
    const int result = app->lastResult;
    const float fade = app->completeFade;
    ASSERT_GT(fade, 0.0f);
    app->paused = 1;
    app->pauseDir = 1;
    for (int i = 0; i < 60; ++i) app->RunScreen();
    EXPECT_EQ(app->lastResult, result);
    EXPECT_EQ(app->completeFade, fade);
    EXPECT_EQ(app->gameOver, 0);
    app->paused = 0;
    for (int i = 0; i < 200 && app->gameOver == 0; ++i) app->RunScreen();
    EXPECT_EQ(app->gameOver, 1) << "the count went on to its end";
    EXPECT_EQ(app->lastResult, 50);
}
