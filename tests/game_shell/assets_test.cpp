// The loader in the real host: its length, the resolution tiers and the
// image files at each, the loader screen, and the logo jingle's once-per-run
// rule.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "audio/zq_audio.h"
#include "runtime/lang/gc.h"
#include "tests/game_support/game_harness.h"
#include "tests/game_support/recording_audio.h"

namespace {

struct Expected {
    int slot, frameWidth, frameHeight, frames;  // tier-1 frame size
};

// Every image the loader reads. A data file smaller than its frames would
// stop the program with "Image frame outside surface", so each must load.
constexpr Expected kImages[] = {
    {97, 32, 32, 16},  {95, 64, 64, 16}, {94, 32, 32, 16}, {93, 256, 256, 1}, {99, 256, 256, 4},
    {98, 256, 128, 1}, {80, 64, 64, 64}, {96, 8, 8, 256},  {85, 256, 256, 4}, {86, 32, 32, 4},
    {2, 16, 16, 16},   {1, 16, 16, 16},  {3, 32, 32, 64},  {4, 32, 32, 64},   {9, 256, 256, 1},
};

void ExpectTier(GameHarness& game, int hd) {
    c_MyApp* app = game.app();
    EXPECT_EQ(app->hdLevel, hd);
    EXPECT_FLOAT_EQ(app->imageScale, 1.0f / static_cast<float>(hd));
    for (const Expected& e : kImages) {
        c_Image* image = app->images[e.slot];
        ASSERT_NE(image, nullptr) << "slot " << e.slot << " at tier " << hd;
        EXPECT_EQ(image->p_Width(), e.frameWidth * hd) << e.slot;
        EXPECT_EQ(image->p_Height(), e.frameHeight * hd) << e.slot;
        EXPECT_EQ(image->p_Frames(), e.frames) << e.slot;
        EXPECT_EQ(app->imageInfo[e.slot * 3], e.frameWidth * hd) << e.slot;
    }
    ASSERT_NE(app->images[90], nullptr);
    EXPECT_EQ(app->images[90]->p_Width(), 16 * hd);
    EXPECT_EQ(app->images[90]->p_Frames(), 128);
    EXPECT_EQ(app->imageInfo[90 * 3], 7) << "text metrics do not change with the tier";
    EXPECT_EQ(app->imageInfo[90 * 3 + 1], 10);
    ASSERT_NE(app->images[81], nullptr);
    EXPECT_EQ(app->images[81]->p_Width(), 2048);
}

int Loads(GameHarness& game) {
    int updates = 0;
    while (game.app()->loaderStage > 0 && updates < 100) {
        game.Step();
        ++updates;
    }
    return updates;
}

}  // namespace

TEST(Loader, TakesTwentyNineUpdatesAndLoadsEveryImageAtTier2For640x480) {
    GameHarness game;
    EXPECT_EQ(Loads(game), 29);
    ExpectTier(game, 2);
    ASSERT_NE(game.app()->sounds[31], nullptr);
    ASSERT_NE(game.app()->sounds[95], nullptr);
}

TEST(Loader, PicksTier1At630x630AndTier4At1280x720) {
    {
        GameHarness game({630, 630, String()});
        ASSERT_TRUE(game.FinishLoading());
        ExpectTier(game, 1);
    }
    {
        GameHarness game({1280, 720, String()});
        ASSERT_TRUE(game.FinishLoading());
        ExpectTier(game, 4);
    }
}

TEST(Loader, ScreenShowsTheLogoInsideThreeRingsOfDotsAndLoadingText) {
    GameHarness game;
    game.Step();
    c_MyApp* app = game.app();
    EXPECT_EQ(game.RecordsOfKind(-3716).size(), 33u) << "11 blue and 2 x 11 orange dots";
    std::vector<int> logo = game.RecordsOfKind(93);
    ASSERT_EQ(logo.size(), 1u);
    EXPECT_FLOAT_EQ(game.Record(logo[0], 1), 320.0f);
    EXPECT_FLOAT_EQ(game.Record(logo[0], 4), 2.0f);
    EXPECT_TRUE(game.ShowsText("Loading..."));
    int first = app->spinnerAngle;
    game.Step();
    EXPECT_EQ(app->spinnerAngle, first + 3);
    // The blue ring's brightest dot leads, 0.45 of the screen's short side out.
    int dot = game.RecordsOfKind(-3716)[10];
    EXPECT_FLOAT_EQ(game.Record(dot, 7), 1.0f);
    EXPECT_FLOAT_EQ(game.Record(dot, 11), 125.0f);
}

TEST(Loader, PlaysTheLogoJingleOnlyOnTheFirstLoad) {
    GameHarness game;
    auto* audio = gc_new<RecordingAudio>();
    zq_audio_SetAudioDevice(audio);
    ASSERT_TRUE(game.FinishLoading());
    c_MyApp* app = game.app();
    ASSERT_EQ(audio->samples.size(), 1u);
    EXPECT_EQ(audio->samples[0], app->sounds[96]->sample);
    EXPECT_EQ(app->logoJingleDone, 1);

    game.ResizeWindow(800, 600);
    audio->samples.clear();
    game.Step();  // the update sees the new size and re-arms the loader
    ASSERT_GT(app->loaderStage, 0);
    ASSERT_TRUE(audio->samples.empty());
    // While the loader runs no screen plays anything, so any sound is the jingle.
    while (app->loaderStage > 0) {
        game.Step();
        ASSERT_TRUE(audio->samples.empty());
    }
    ExpectTier(game, 2);
}

// An image file too small for the frames asked of it (a damaged or replaced
// data file) is treated as unreadable: its slot stays empty, one line on the
// console names it, and the game goes on. Here the 16 x 16 frames of "gfx"
// are asked for 999 times (the file holds 16).
TEST(Loader, AFileTooSmallForItsFramesLeavesItsSlotEmptyAndTheGameGoesOn) {
    GameHarness game;
    ASSERT_TRUE(game.FinishLoading());
    c_MyApp* app = game.app();
    testing::internal::CaptureStdout();
    app->p_LoadImg(5, String("gfx"), 16, 16, 999, 1);
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(app->images[5], nullptr);
    EXPECT_EQ(app->imageInfo[5 * 3 + 2], 999) << "the slot's information is kept, as for a missing file";
    EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 1) << printed;
    EXPECT_NE(printed.find("gfx-hd.png"), std::string::npos) << printed;
    // A frame wider than the whole file does not fit either.
    app->p_LoadImg(6, String("gfx"), 4096, 16, 1, 1);
    EXPECT_EQ(app->images[6], nullptr);
    app->p_DrawImg(5, 100, 100, 3);  // drawing the empty slot is skipped
    game.Step(5);
    EXPECT_EQ(app->screenMode, 1);
    ASSERT_NE(app->images[2], nullptr) << "the same file with its own frames loads";
}
