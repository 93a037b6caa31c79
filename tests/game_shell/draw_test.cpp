// The display list, the draw state, bitmap text and the value helpers, on a
// headless game object (records only); the replay on the real host, read
// back from the window's pixels.
#include <gtest/gtest.h>

#include <cmath>

#include "runtime/lang/random.h"
#include "tests/game_support/game_harness.h"
#include "tests/game_support/headless_game.h"

namespace {

class Draw : public ::testing::Test {
  protected:
    void SetUp() override {
        app = NewHeadlessGame(&host);
        app->p_Reload();  // font metrics 7 / 10 in slot 90 (no images without a device)
        app->p_CLS2D(0, 0, 0, 1);
    }
    // Glyph records of the font: x, y, frame.
    struct Glyph {
        float x, y;
        int frame;
    };
    std::vector<Glyph> Glyphs() {
        std::vector<Glyph> out;
        for (int i = 0; i < RecordCount(app); ++i)
            out.push_back({Record(app, i, 1), Record(app, i, 2), static_cast<int>(Record(app, i, 6))});
        return out;
    }
    HeadlessHost host;
    c_MyApp* app = nullptr;
};

}  // namespace

TEST_F(Draw, TheListHolds2499RecordsAndRefusesThe2500th) {
    for (int i = 0; i < 2499; ++i) app->p_Rect(1, 2, 3, 4);
    EXPECT_EQ(app->displayListFill, 37485);
    app->p_Oval(0, 0, 1, 1);
    app->p_DrawImg(1, 0, 0, 0);
    EXPECT_EQ(app->displayListFill, 37485);
    app->p_CLS2D(-3717, 0, 0, 0);
    EXPECT_EQ(app->displayListFill, 0);
    EXPECT_FLOAT_EQ(app->clearAlpha, 1.0f) << "an unset colour keeps the background";
}

TEST_F(Draw, RecordsCopyTheDrawStateAndLeaveTheUnusedElements) {
    app->displayList[8] = app->displayList[9] = app->displayList[14] = 42.0f;
    app->p_SetCol(10, 20, 30, 0.5f);
    app->p_SetSize(2);
    app->p_SetRot(90);
    app->p_DrawImg(7, 11, 12, 3);
    const float expected[15] = {7, 11, 12, -90, 2, 2, 3, 0.5f, 42, 42, 10, 20, 30, 1, 42};
    for (int e = 0; e < 15; ++e) EXPECT_FLOAT_EQ(Record(app, 0, e), expected[e]) << "element " << e;
    app->p_SetSize(2, 3);
    app->p_SetCol(1, 1, 1);  // alpha not given: kept
    app->p_Line(1, 2, 3, 4);
    EXPECT_FLOAT_EQ(Record(app, 1, 0), -3715);
    EXPECT_FLOAT_EQ(Record(app, 1, 4), 3);
    EXPECT_FLOAT_EQ(Record(app, 1, 7), 0.5f);
    EXPECT_FLOAT_EQ(app->drawScaleY, 3);
}

TEST_F(Draw, InkClampsThePaletteAndGreysUnknownColours) {
    app->p_Ink(3, 2.0f);
    EXPECT_FLOAT_EQ(app->drawRed, 255);
    EXPECT_FLOAT_EQ(app->drawGreen, 255);
    EXPECT_FLOAT_EQ(app->drawBlue, 51);
    app->p_Ink(0, 1.0f);
    EXPECT_FLOAT_EQ(app->drawRed, 76.5f);
    EXPECT_FLOAT_EQ(app->drawBlue, 76.5f);
}

TEST_F(Draw, PaddedNumbersKeepTheirLastDigits) {
    EXPECT_EQ(app->p_rstr(42, 5, String("0")), String("00042"));
    EXPECT_EQ(app->p_rstr(123456, 3, String(" ")), String("456"));
    EXPECT_EQ(app->p_rstr(7, String(" ")), String("          7"));
    EXPECT_EQ(app->p_rstr(7, 0, String(" ")), String(""));
    // An empty pad leaves the digits alone: nothing to align with.
    EXPECT_EQ(app->p_rstr(42, 3, String("")), String("42"));
    EXPECT_EQ(app->p_rstr(-5, 11, String("")), String("-5"));
    EXPECT_EQ(app->p_rstr(12345, 3, String("")), String("345"));
}

TEST_F(Draw, RandomNumbersFollowTheSharedSeed) {
    app->p_SeedRnd(37);
    EXPECT_EQ(zq_random_Seed, 408337348);
    EXPECT_EQ(app->p_Rand(1, 9), 4);
    app->p_SeedRnd(0);
    EXPECT_EQ(zq_random_Seed, -2040732141);
    host.millis = 5000;
    app->p_SeedRnd(-37171650);
    int fromClock = zq_random_Seed;
    app->p_SeedRnd(5000);
    EXPECT_EQ(zq_random_Seed, fromClock);
    bool seen[5] = {};
    for (int i = 0; i < 300; ++i) {
        int r = app->p_Rand(1, 3);
        ASSERT_GE(r, 1);
        ASSERT_LE(r, 3);
        seen[r] = true;
    }
    EXPECT_TRUE(seen[1] && seen[2] && seen[3]);
}

// Kerning: "i" -3, "n" -1. The width spans the leading space and every
// character but the last (66 pixels), so the text starts at 320 - 33.
TEST_F(Draw, CentredTextIsMeasuredWithItsKerning) {
    app->p_Text(320, 448, String("Loading..."), 1, 1, 0);
    const float xs[] = {294, 301, 308, 315, 322, 326, 332, 339, 346, 353};
    const int frames[] = {44, 79, 65, 68, 73, 78, 71, 14, 14, 14};
    std::vector<Glyph> g = Glyphs();
    ASSERT_EQ(g.size(), 10u);
    for (int i = 0; i < 10; ++i) {
        EXPECT_NEAR(g[i].x, xs[i], 1e-3) << i;
        EXPECT_NEAR(g[i].y, 448, 1e-3) << i;
        EXPECT_EQ(g[i].frame, frames[i]) << i;
        EXPECT_FLOAT_EQ(Record(app, i, 0), 90) << "drawn with the font slot";
    }
}

TEST_F(Draw, LineBreaksStartOneGlyphRightOfTheStartAndOneLineLower) {
    app->p_Text(100, 50, String("ab\\ncd"), 0, 0, 0);
    std::vector<Glyph> g = Glyphs();
    ASSERT_EQ(g.size(), 4u);
    // Top-aligned: the row's centre is half a line below y.
    EXPECT_NEAR(g[0].x, 107, 1e-3);
    EXPECT_NEAR(g[0].y, 55, 1e-3);
    EXPECT_NEAR(g[2].x, 107, 1e-3);
    EXPECT_NEAR(g[2].y, 65, 1e-3);
    EXPECT_EQ(g[2].frame, 'c' - 32);
}

TEST_F(Draw, RotatedTextRunsAlongItsAngle) {
    app->p_SetRot(90);
    app->p_Text(200, 100, String("AB"), 0, 1, 0);
    std::vector<Glyph> g = Glyphs();
    ASSERT_EQ(g.size(), 2u);
    EXPECT_NEAR(g[1].x, g[0].x, 1e-3);
    EXPECT_NEAR(g[1].y - g[0].y, 7, 1e-3);
    EXPECT_FLOAT_EQ(Record(app, 0, 3), -90);
}

TEST_F(Draw, IconsShowKeysOnTheKeyboardAndBlinkOnAPad) {
    app->inputKind = 0;
    app->p_Text(0, 0, String(u"¬J"), 0, 0, 0);
    ASSERT_EQ(RecordCount(app), 1);
    EXPECT_EQ(Glyphs()[0].frame, 112);
    app->inputKind = 1;
    host.millis = 1000;  // 0 ms into the 500 ms cycle: the flash
    app->p_CLS2D(0, 0, 0, 1);
    app->p_Text(0, 0, String(u"¬J¬Q"), 0, 0, 0);
    EXPECT_EQ(Glyphs()[0].frame, 109);
    EXPECT_EQ(Glyphs()[1].frame, 102) << "no blink frame";
    host.millis = 1300;
    app->p_CLS2D(0, 0, 0, 1);
    app->p_Text(0, 0, String(u"¬J"), 0, 0, 0);
    EXPECT_EQ(Glyphs()[0].frame, 96);
}

// The walk never reads past the end of its text (checked under ASan).
TEST_F(Draw, TextEndsCleanlyOnATrailingEscapeOrBackslash) {
    app->p_Text(0, 0, String(u"ab¬"), 0, 0, 0);
    EXPECT_EQ(RecordCount(app), 2);
    app->p_CLS2D(0, 0, 0, 1);
    app->p_Text(0, 0, String("a\\"), 0, 0, 0);
    ASSERT_EQ(RecordCount(app), 2);
    EXPECT_EQ(Glyphs()[1].frame, '\\' - 32);
    app->p_CLS2D(0, 0, 0, 1);
    app->p_Text(0, 0, String("a\\x"), 0, 0, 0);
    EXPECT_EQ(RecordCount(app), 3);
}

TEST_F(Draw, TextWithAFontSlotOutsideTheBankAppendsNothing) {
    app->p_Text(0, 0, String("abc"), 0, 0, 20);  // slot 110
    app->p_Text(0, 0, String("abc"), 0, 0, -91);
    EXPECT_EQ(RecordCount(app), 0);
}

// Slots and ids index 100-entry banks: anything outside is ignored (no
// write outside the arrays, checked under ASan).
TEST_F(Draw, BankOperationsIgnoreSlotsOutsideTheBank) {
    app->imageInfo[297] = 5;
    for (int slot : {100, -1, 1000}) {
        app->p_LoadImg(slot, String("gfx"), 16, 16, 16, 1);
        app->p_ReserveImg(slot, 8, 8);
        app->p_LoadFont(slot, String("fonts/shadow_pixel"), 7, 10);
        app->p_LoadSFX(slot);
        app->p_PlaySFX(slot, 1, 1, 0);
    }
    EXPECT_EQ(app->imageInfo[297], 5);
    EXPECT_EQ(app->fontSlot, 90);
    EXPECT_FLOAT_EQ(app->p_StickY(-1, 0), 0.0f);
}

// The replay through the real front end: positions scaled and shifted by
// the overscan margin, unknown image slots skipped without harm.
TEST(Replay, DrawsRecordsScaledIntoTheWindow) {
    GameHarness game({800, 600, String()});
    c_MyApp* app = game.app();
    ASSERT_TRUE(game.FinishLoading());
    overscan = 20.0f;  // scale (800 - 40) / 640 = 1.1875; margins 20 and 15
    game.Render();
    app->p_CLS2D(0, 0, 0, 1);
    app->p_SetCol(255, 0, 0);
    app->p_Rect(100, 100, 40, 20);
    app->p_DrawImg(150, 300, 300, 0);  // no such slot: nothing
    app->p_SetCol(0, 0, 255);
    app->p_Oval(400, 300, 20, 20);
    int w = 0, h = 0;
    std::vector<uint32_t> px = game.Screenshot(&w, &h);
    ASSERT_EQ(w, 800);
    auto at = [&](float vx, float vy) {
        int x = static_cast<int>(vx * 1.1875f + 20.0f), y = static_cast<int>(vy * 1.1875f + 15.0f);
        return px[y * w + x] & 0xffffffu;
    };
    EXPECT_EQ(at(120, 110), 0xff0000u);
    EXPECT_EQ(at(95, 110), 0x000000u);
    EXPECT_EQ(at(145, 110), 0x000000u);
    EXPECT_EQ(at(400, 300), 0x0000ffu);
    EXPECT_EQ(at(300, 300), 0x000000u);
}
