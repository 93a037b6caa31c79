// The level tool's data: the built records as the tool reports them, and
// float texts that read back to the same 32-bit float.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <utility>

#include "game/records.h"
#include "tools/levels/level_source.h"

namespace {

TEST(LevelsTool, LevelOneIsThreePlanetsWithFiveFollowers) {
    levels::Level l = levels::Build(1);
    EXPECT_EQ(l.planetCount, 3);
    EXPECT_EQ(l.followerLast, 4);
    EXPECT_EQ(l.hazardLast, 1);
    EXPECT_EQ(l.seed, 1589230423u);
    ASSERT_EQ(l.planets.size(), 3u);
    ASSERT_EQ(l.hazards.size(), 1u);
    for (const auto& p : l.planets) EXPECT_EQ(std::abs(p[rec::kPlanetSpin]), 2.5f);
}

TEST(LevelsTool, PlanetCountsAndRepeatability) {
    const std::pair<int, int> expected[] = {{6, 11}, {7, 8}, {9, 10}, {10, 12}, {11, 14}};
    for (auto [level, count] : expected) {
        levels::Level a = levels::Build(level);
        EXPECT_EQ(a.planetCount, count) << level;
        EXPECT_EQ(static_cast<int>(a.hazards.size()), count - 2) << level;
        levels::Build(level + 1);
        levels::Level b = levels::Build(level);
        EXPECT_EQ(a.planets, b.planets) << level;
        EXPECT_EQ(a.hazards, b.hazards) << level;
        EXPECT_EQ(a.seed, b.seed) << level;
    }
}

TEST(LevelsTool, JsonHoldsEveryKeyAndShortestFloats) {
    std::string json = levels::ToJson({levels::Build(1)});
    for (const char* key : {"\"level\": 1", "\"planetCount\": 3", "\"colourTheme\": 4", "\"followerLast\": 4",
                            "\"hazardLast\": 1", "\"timeLeft\": 6310", "\"seed\": 1589230423",
                            "\"planets\": [[1, 0, 0, 240, 3, 150, -2.5, 2,", "\"hazards\": [[1, 236, -271,"})
        EXPECT_NE(json.find(key), std::string::npos) << key;
    for (float v : {0.1f, -229.65285f, 356.08087f, 1e-7f, 3.4e38f, -0.0f, 16777217.0f}) {
        std::string text = levels::FloatText(v);
        EXPECT_EQ(std::strtof(text.c_str(), nullptr), v) << text;
    }
    EXPECT_EQ(levels::FloatText(0.1f), "0.1");
    EXPECT_EQ(levels::FloatText(236.0f), "236");
}

// FloatText writes what std::to_chars(float) writes (the level JSON of the
// browser build, whose library lacks it, must match the desktop's byte for
// byte): fixed unless scientific is shorter, exact integers, and at powers
// of two the shortest digits that may lie above the nearest ones.
TEST(LevelsTool, FloatTextIsTheShortestFormOfToChars) {
    const std::pair<float, const char*> expected[] = {{100.0f, "100"},
                                                      {1e4f, "10000"},
                                                      {1e5f, "1e+05"},
                                                      {0.001f, "0.001"},
                                                      {1e-4f, "1e-04"},
                                                      {-0.0f, "-0"},
                                                      {123456790528.0f, "123456790528"},
                                                      {1.5e-45f, "1e-45"},
                                                      {0x1p-96f, "1.2621775e-29"},
                                                      {0x1p90f, "1.2379401e+27"},
                                                      {-2.5f, "-2.5"},
                                                      {0.0001234f, "0.0001234"},
                                                      {1234e5f, "123400000"}};
    for (auto [v, text] : expected) EXPECT_EQ(levels::FloatText(v), text) << text;
}

}  // namespace
