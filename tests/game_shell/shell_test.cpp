// The shell in the real host: creation defaults, the update order's
// visible rules, the virtual-screen scaling and suspend / resume.
#include <gtest/gtest.h>

#include "tests/game_support/game_harness.h"

TEST(Shell, StartsOnTheMenuWithTheLoaderArmedAt60UpdatesPerSecond) {
    GameHarness game;
    c_MyApp* app = game.app();
    EXPECT_EQ(app->screenMode, 1);
    EXPECT_EQ(app->currentLevel, 2);
    EXPECT_EQ(app->settings[5], 1);
    EXPECT_EQ(app->channelMap[32], 32);
    EXPECT_EQ(game.host()->UpdateRate(), 60);
    game.Step(3);
    EXPECT_FLOAT_EQ(app->scaleX, 1.0f);
    EXPECT_FLOAT_EQ(vscrw, 640.0f);
    EXPECT_FLOAT_EQ(vscrh, 480.0f);
}
