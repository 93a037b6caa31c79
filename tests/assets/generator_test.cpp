// The asset generator's building blocks: anti-aliased shape filling at every
// scale, frame layout and clipping, the pixel faces, and the synthesizer's
// output stage (levels, fades, WAV format).
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <set>

#include "canvas.h"
#include "data_files.h"
#include "drawing.h"
#include "image_set.h"
#include "pixel_font.h"
#include "synth.h"

using namespace assetgen;

namespace {

float alphaSum(const Canvas& c, int x0, int y0, int w, int h) {
    float sum = 0;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x) sum += c.at(x, y).a;
    return sum;
}

}  // namespace

TEST(Pen, FilledCircleCoversItsAreaAtEveryScale) {
    for (int scale : {1, 2, 4}) {
        Canvas canvas(32 * scale, 32 * scale);
        Pen pen(canvas, 0, 0, 32 * scale, 32 * scale, float(scale));
        pen.fill(rgb(255, 255, 255), [](V2 p) { return sdCircle(p, {16, 16}, 10); });
        float expected = 3.14159265f * 100 * scale * scale;
        EXPECT_NEAR(alphaSum(canvas, 0, 0, 32 * scale, 32 * scale), expected, expected * 0.01f)
            << "scale " << scale;
        // The edge is anti-aliased: some pixels are partly covered.
        bool partial = false;
        for (int y = 0; y < 32 * scale; ++y)
            for (int x = 0; x < 32 * scale; ++x) {
                float a = canvas.at(x, y).a;
                partial = partial || (a > 0.05f && a < 0.95f);
            }
        EXPECT_TRUE(partial);
    }
}

TEST(Pen, DrawingStaysInsideItsFrameEvenWithUnboundedBoxes) {
    // Two frames side by side at 4x; a shape that overflows frame 0 must not
    // touch frame 1, and an unbounded fill must still reach every pixel.
    Canvas canvas(128, 64);
    Pen left(canvas, 0, 0, 64, 64, 4.0f);
    left.fill(rgb(255, 0, 0), [](V2 p) { return sdCircle(p, {16, 8}, 40); });
    EXPECT_NEAR(alphaSum(canvas, 0, 0, 64, 64), 64 * 64, 1.0f);
    EXPECT_EQ(alphaSum(canvas, 64, 0, 64, 64), 0.0f);
}

TEST(Pen, TileSkippingGivesTheSameResultAsEveryPixel) {
    // fill() skips or floods whole tiles by the distance at their centre;
    // shade() evaluates every pixel. Both must agree for exact distances.
    auto gear = [](V2 p) { return sdGear(p, {32, 32}, 12, 20, 28, 7); };
    Canvas a(256, 256), b(256, 256);
    Pen pa(a, 0, 0, 256, 256, 4.0f), pb(b, 0, 0, 256, 256, 4.0f);
    pa.fill(rgb(255, 255, 255), gear);
    pb.shade([&](V2 p, float px) { return scaled(rgb(255, 255, 255), Pen::coverage(gear(p), px)); });
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) ASSERT_NEAR(a.at(x, y).a, b.at(x, y).a, 1e-5f) << x << "," << y;
}

TEST(Shapes, PolygonDistanceIsSignedAndExact) {
    std::vector<V2> square = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    EXPECT_NEAR(sdPolygon({5, 5}, square), -5.0f, 1e-5f);
    EXPECT_NEAR(sdPolygon({13, 5}, square), 3.0f, 1e-5f);
    EXPECT_NEAR(sdPolygon({13, 14}, square), 5.0f, 1e-5f);
}

TEST(ImageLayout, GridAndPaddedStripPlaceFramesWhereTheLoadersCutThem) {
    int drawn = 0;
    ImageSpec grid{"t", 8, 4, 10, [&](Pen& pen, int) {
                       ++drawn;
                       pen.fill(rgb(255, 255, 255), [](V2) { return -1.0f; });
                   }};
    RenderedImage r = renderImage(grid, kTiers[1]);
    EXPECT_EQ(drawn, 10);
    EXPECT_EQ(gridColumns(10), 4);
    EXPECT_EQ(r.width, 4 * 16);
    EXPECT_EQ(r.height, 3 * 8);
    EXPECT_EQ(r.file, "t-hd.png");
    EXPECT_EQ(r.frameOrigins[5], std::make_pair(16, 8));

    ImageSpec strip{"s.png", 6, 5, 3, grid.draw, Layout::PaddedStrip, false};
    RenderedImage s = renderImage(strip, kTiers[2]);
    EXPECT_EQ(s.file, "s.png");  // single tier: name used as given, never scaled
    EXPECT_EQ(s.width, 3 * 8);
    for (int i = 0; i < 3; ++i) {
        for (int y = 0; y < 5; ++y) {
            EXPECT_EQ(s.rgba[(size_t(y) * s.width + i * 8) * 4 + 3], 0) << "left border " << i;
            EXPECT_EQ(s.rgba[(size_t(y) * s.width + i * 8 + 7) * 4 + 3], 0) << "right border " << i;
            EXPECT_EQ(s.rgba[(size_t(y) * s.width + i * 8 + 1) * 4 + 3], 255) << "inside " << i;
        }
    }
}

TEST(PixelFaces, EveryGlyphIsARectangularGridWithinNineRows) {
    for (int code = 32; code <= 127; ++code) {
        const Glyph& g = textGlyph(code);
        ASSERT_GT(g.width, 0) << code;
        EXPECT_LE(g.rows.size(), 9u) << code;
        for (const std::string& row : g.rows) EXPECT_EQ(int(row.size()), g.width) << "code " << code;
    }
    for (char c : std::string("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-/._ ")) {
        const Glyph& g = tinyGlyph(c);
        EXPECT_EQ(g.width, 3) << c;
        EXPECT_EQ(g.rows.size(), 5u) << c;
    }
}

TEST(Hash, IsDeterministicAndInUnitRange) {
    std::set<float> seen;
    for (int i = 0; i < 1000; ++i) {
        float h = hash01(i, 3);
        EXPECT_GE(h, 0.0f);
        EXPECT_LT(h, 1.0f);
        EXPECT_EQ(h, hash01(i, 3));
        seen.insert(h);
    }
    EXPECT_GT(seen.size(), 990u);
}

TEST(Synth, PcmConversionNeverReachesFullScale) {
    for (float x : {-10.0f, -1.0f, -0.999f, 0.0f, 0.999f, 1.0f, 10.0f}) {
        int16_t s = toPcm16(x);
        EXPECT_LE(std::abs(int(s)), 32000) << x;
    }
    EXPECT_EQ(toPcm16(0.5f), 16000);
}

TEST(Synth, FinishedEffectsRespectThePeakLimitAndStartAndEndSilent) {
    Buffer b(4410);
    Osc saw(Wave::Saw);
    for (float& s : b) s = 3.0f * saw.next(220);  // loud, starting and ending mid-wave
    finishEffect(b, 0.5f, 0.8f);
    float peak = 0;
    for (float s : b) peak = std::max(peak, std::fabs(s));
    EXPECT_LE(peak, 0.8f + 1e-6f);
    EXPECT_EQ(b.front(), 0.0f);
    EXPECT_NEAR(b.back(), 0.0f, 0.01f);
}

TEST(Synth, OscillatorsStayBoundedAndTheTriangleHasNoOffset) {
    for (Wave w : {Wave::Sine, Wave::Triangle, Wave::Saw, Wave::Square}) {
        Osc osc(w);
        double sum = 0;
        const int n = kRate;
        for (int i = 0; i < n; ++i) {
            float s = osc.next(glide(double(i) / kRate, 60, 8000, 1.0));
            ASSERT_LE(std::fabs(s), 1.2f);
            sum += s;
        }
        EXPECT_LT(std::fabs(sum / n), 0.02) << int(w);
    }
}

TEST(Synth, WavFilesAre16BitMonoPcm) {
    auto path = std::filesystem::temp_directory_path() / ("synth-" + std::to_string(::getpid()) + ".wav");
    Buffer b = {0.0f, 0.5f, -0.5f, 0.0f};
    ASSERT_TRUE(writeWavMono(path.string(), b));
    auto wav = assets_test::loadWav(path.string());
    ASSERT_TRUE(wav.has_value());
    EXPECT_EQ(wav->format, 1);
    EXPECT_EQ(wav->channels, 1);
    EXPECT_EQ(wav->rate, 44100);
    EXPECT_EQ(wav->bits, 16);
    EXPECT_EQ(wav->samples, (std::vector<int16_t>{0, 16000, -16000, 0}));
    std::filesystem::remove(path);
}
