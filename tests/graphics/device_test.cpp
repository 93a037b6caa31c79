// The render device on real OpenGL (Mesa llvmpipe under Xvfb): vertex
// placement, colour packing and blending, scissor, batching and the frame
// statistics, read back from the window.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <vector>

#include "graphics/tvx_graphics.h"
#include "graphics/zq_graphics.h"
#include "tests/graphics/graphics_test_support.h"

namespace {

class DeviceTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        InstallTestRuntime();
        OpenTestWindow();
    }
    static void TearDownTestSuite() { CloseTestWindow(); }

    void SetUp() override {
        device = gc_new<tvxGraphics>();
        zq_graphics_SetGraphicsDevice(device);  // a root, should the collector run
        device->BeginRender();
        device->SetScissor(0, 0, device->Width(), device->Height());
        device->Cls(0, 0, 0);
    }

    tvxGraphics* device = nullptr;
};

::testing::AssertionResult IsColour(Rgba p, int r, int g, int b, int tolerance = 0) {
    if (std::abs(p.r - r) <= tolerance && std::abs(p.g - g) <= tolerance && std::abs(p.b - b) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "pixel is (" << p.r << ", " << p.g << ", " << p.b
                                         << "), expected (" << r << ", " << g << ", " << b << ")";
}

TEST_F(DeviceTest, ReadsTheWindowSize) {
    EXPECT_EQ(device->Width(), 640);
    EXPECT_EQ(device->Height(), 480);
}

TEST_F(DeviceTest, RectangleCoversExactlyItsPixels) {
    device->DrawRect(10, 20, 30, 40);
    device->EndRender();
    EXPECT_TRUE(IsColour(PixelAt(10, 20), 255, 255, 255));
    EXPECT_TRUE(IsColour(PixelAt(39, 59), 255, 255, 255));
    EXPECT_TRUE(IsColour(PixelAt(9, 20), 0, 0, 0));
    EXPECT_TRUE(IsColour(PixelAt(40, 20), 0, 0, 0));
    EXPECT_TRUE(IsColour(PixelAt(10, 19), 0, 0, 0));
    EXPECT_TRUE(IsColour(PixelAt(10, 60), 0, 0, 0));
}

TEST_F(DeviceTest, PointAndLineSitOnPixelCentres) {
    device->DrawPoint(10, 10);
    EXPECT_EQ(device->vertices[0].x, 10.5f);
    EXPECT_EQ(device->vertices[0].y, 10.5f);
    device->DrawLine(20, 30, 30, 30);
    device->EndRender();
    EXPECT_TRUE(IsColour(PixelAt(10, 10), 255, 255, 255));
    EXPECT_TRUE(IsColour(PixelAt(11, 10), 0, 0, 0));
    EXPECT_TRUE(IsColour(PixelAt(10, 11), 0, 0, 0));
    EXPECT_TRUE(IsColour(PixelAt(9, 9), 0, 0, 0));
    for (int x = 20; x < 30; ++x) EXPECT_TRUE(IsColour(PixelAt(x, 30), 255, 255, 255)) << x;
    EXPECT_TRUE(IsColour(PixelAt(20, 29), 0, 0, 0));
    EXPECT_TRUE(IsColour(PixelAt(20, 31), 0, 0, 0));
}

TEST_F(DeviceTest, MatrixMapsVerticesOnTheCpu) {
    device->SetMatrix(2, 0, 0, 2, 100, 50);
    device->DrawRect(1, 2, 3, 4);
    EXPECT_EQ(device->vertices[0].x, 102);
    EXPECT_EQ(device->vertices[0].y, 54);
    EXPECT_EQ(device->vertices[2].x, 108);
    EXPECT_EQ(device->vertices[2].y, 62);
    device->EndRender();
    EXPECT_TRUE(IsColour(PixelAt(102, 54), 255, 255, 255));
    EXPECT_TRUE(IsColour(PixelAt(107, 61), 255, 255, 255));
    EXPECT_TRUE(IsColour(PixelAt(108, 61), 0, 0, 0));
}

TEST_F(DeviceTest, OvalSegmentCountFollowsItsSize) {
    struct Case {
        float w, h;
        int segments;
    } cases[] = {{10, 10, 12}, {100, 100, 100}, {3000, 3000, 1024}, {30, 20, 24}, {0, 0, 12}};
    for (const Case& c : cases) {
        device->DrawOval(0, 0, c.w, c.h);
        EXPECT_EQ(device->primType, c.segments) << c.w << " x " << c.h;
        EXPECT_EQ(device->primCount, c.segments) << c.w << " x " << c.h;
        device->Cls(0, 0, 0);
    }
    // Under a matrix the mapped radii count: 30 x 20 scaled by 2 gives 30 + 20.
    device->SetMatrix(2, 0, 0, 2, 0, 0);
    EXPECT_EQ(device->OvalSegments(15, 10), 48);
}

TEST_F(DeviceTest, OvalFillsItsBox) {
    device->DrawOval(100, 100, 40, 20);
    device->EndRender();
    EXPECT_TRUE(IsColour(PixelAt(120, 110), 255, 255, 255));
    EXPECT_TRUE(IsColour(PixelAt(101, 110), 255, 255, 255));
    EXPECT_TRUE(IsColour(PixelAt(101, 101), 0, 0, 0));  // corner of the box, outside the ellipse
    EXPECT_TRUE(IsColour(PixelAt(141, 110), 0, 0, 0));
}

TEST_F(DeviceTest, PolygonKindFollowsVertexCount) {
    float tri[] = {0, 0, 10, 0, 0, 10};
    device->DrawPoly(Array<float>(tri, 6));
    EXPECT_EQ(device->primType, tvxGraphics::kTriangles);
    EXPECT_EQ(device->primCount, 3);
    device->Cls(0, 0, 0);

    float point[] = {5, 5};
    device->DrawPoly(Array<float>(point, 2));
    EXPECT_EQ(device->primType, tvxGraphics::kPoints);
    EXPECT_EQ(device->primCount, 1);
    device->Cls(0, 0, 0);

    device->DrawPoly(Array<float>());
    device->DrawPoly(Array<float>(2 * 1025));  // 1025 vertices: too many
    EXPECT_EQ(device->primCount, 0);
    device->DrawPoly(Array<float>(2 * 1024 + 1));  // an odd float is ignored
    EXPECT_EQ(device->primCount, 1024);
}

TEST_F(DeviceTest, PolygonFillsItsShape) {
    float pentagon[] = {200, 100, 260, 140, 240, 200, 160, 200, 140, 140};
    device->DrawPoly(Array<float>(pentagon, 10));
    device->EndRender();
    EXPECT_EQ(device->LastFrameStats().drawCalls, 1);
    EXPECT_TRUE(IsColour(PixelAt(200, 150), 255, 255, 255));
    EXPECT_TRUE(IsColour(PixelAt(145, 105), 0, 0, 0));
}

TEST_F(DeviceTest, ColourIsPackedPremultiplied) {
    device->SetColor(200, 100, 50);
    device->SetAlpha(0.5f);
    const auto* bytes = reinterpret_cast<const uint8_t*>(&device->color);
    EXPECT_EQ(bytes[0], 100);
    EXPECT_EQ(bytes[1], 50);
    EXPECT_EQ(bytes[2], 25);
    EXPECT_EQ(bytes[3], 127);
    device->SetAlpha(1);
    EXPECT_EQ(bytes[0], 200);
    EXPECT_EQ(bytes[3], 255);
}

TEST_F(DeviceTest, DefaultBlendMixesPremultipliedColour) {
    device->Cls(0, 0, 255);
    device->SetColor(255, 0, 0);
    device->SetAlpha(0.5f);
    device->DrawRect(0, 0, 10, 10);
    device->SetBlend(2);  // anything but 1 is the default blend
    device->DrawRect(20, 0, 10, 10);
    device->EndRender();
    // Source (127, 0, 0, 127) over blue: 255 * (1 - 127/255) = 128 blue left.
    EXPECT_TRUE(IsColour(PixelAt(5, 5), 127, 0, 128, 1));
    EXPECT_TRUE(IsColour(PixelAt(25, 5), 127, 0, 128, 1));
}

TEST_F(DeviceTest, AdditiveBlendAddsPremultipliedColour) {
    device->Cls(0, 0, 100);
    device->SetBlend(1);
    device->SetColor(255, 0, 0);
    device->SetAlpha(0.5f);
    device->DrawRect(0, 0, 10, 10);
    device->DrawRect(0, 0, 10, 10);
    device->EndRender();
    EXPECT_TRUE(IsColour(PixelAt(5, 5), 254, 0, 100, 1));
}

TEST_F(DeviceTest, ScissorRowsAreMeasuredFromTheTop) {
    device->SetScissor(100, 10, 50, 20);
    EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST));
    device->DrawRect(0, 0, 640, 480);
    device->EndRender();
    EXPECT_TRUE(IsColour(PixelAt(100, 10), 255, 255, 255));
    EXPECT_TRUE(IsColour(PixelAt(149, 29), 255, 255, 255));
    EXPECT_TRUE(IsColour(PixelAt(100, 9), 0, 0, 0));
    EXPECT_TRUE(IsColour(PixelAt(100, 30), 0, 0, 0));
    EXPECT_TRUE(IsColour(PixelAt(99, 10), 0, 0, 0));
    EXPECT_TRUE(IsColour(PixelAt(150, 10), 0, 0, 0));

    device->SetScissor(0, 0, 640, 480);
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
}

// [Batching and statistics] ----------------------------------------------------

TEST_F(DeviceTest, ThreeHundredRectanglesTakeTwoDrawCalls) {
    for (int i = 0; i < 300; ++i) device->DrawRect(static_cast<float>(i), 0, 1, 1);
    device->EndRender();
    const tvxFrameStats& s = device->LastFrameStats();
    EXPECT_EQ(s.drawCalls, 2);
    EXPECT_EQ(s.vertices, 1200);
    EXPECT_EQ(s.Flushes(tvxFlushCause::BatchFull), 1);  // the 257th rectangle did not fit
    EXPECT_EQ(s.Flushes(tvxFlushCause::EndRender), 1);
    EXPECT_EQ(s.textureBinds, 0);
}

TEST_F(DeviceTest, KindChangeBreaksTheBatch) {
    device->DrawRect(0, 0, 5, 5);
    device->DrawLine(0, 10, 5, 10);
    device->DrawRect(0, 20, 5, 5);
    device->EndRender();
    EXPECT_EQ(device->LastFrameStats().drawCalls, 3);
    EXPECT_EQ(device->LastFrameStats().Flushes(tvxFlushCause::BatchBreak), 2);
}

TEST_F(DeviceTest, ColourAndMatrixChangesKeepTheBatch) {
    device->DrawRect(0, 0, 5, 5);
    device->SetColor(255, 0, 0);
    device->SetAlpha(0.5f);
    device->DrawRect(10, 0, 5, 5);
    device->SetMatrix(1, 0, 0, 1, 30, 0);
    device->DrawRect(0, 0, 5, 5);
    device->EndRender();
    EXPECT_EQ(device->LastFrameStats().drawCalls, 1);
    EXPECT_TRUE(IsColour(PixelAt(2, 2), 255, 255, 255));
    EXPECT_TRUE(IsColour(PixelAt(12, 2), 127, 0, 0, 1));
    EXPECT_TRUE(IsColour(PixelAt(32, 2), 127, 0, 0, 1));
}

TEST_F(DeviceTest, ClsDropsTheUnflushedBatch) {
    device->DrawRect(0, 0, 100, 100);
    device->DrawRect(200, 0, 100, 100);
    device->Cls(0, 40, 0);
    device->EndRender();
    EXPECT_EQ(device->LastFrameStats().drawCalls, 0);
    EXPECT_EQ(device->LastFrameStats().discards, 1);
    EXPECT_TRUE(IsColour(PixelAt(50, 50), 0, 40, 0));
}

TEST_F(DeviceTest, StateChangesFlushWithTheirCause) {
    device->DrawRect(0, 0, 5, 5);
    device->SetBlend(1);
    device->DrawRect(0, 0, 5, 5);
    device->SetScissor(0, 0, 100, 100);
    device->DrawRect(0, 0, 5, 5);
    Array<int> pixels(1);
    device->ReadPixels(pixels, 0, 0, 1, 1, 0, 1);
    device->EndRender();  // nothing left to flush
    const tvxFrameStats& s = device->LastFrameStats();
    EXPECT_EQ(s.Flushes(tvxFlushCause::Blend), 1);
    EXPECT_EQ(s.Flushes(tvxFlushCause::Scissor), 1);
    EXPECT_EQ(s.Flushes(tvxFlushCause::ReadPixels), 1);
    EXPECT_EQ(s.Flushes(tvxFlushCause::EndRender), 0);
    EXPECT_EQ(s.TotalFlushes(), 3);
}

// The game sets the blend before every record it replays: a blend that
// does not change the function must leave the batch whole.
TEST_F(DeviceTest, UnchangedBlendKeepsTheBatch) {
    tvxSurface* sprite = device->CreateSurface(16, 16);
    ASSERT_NE(sprite, nullptr);
    std::vector<int> texels(16 * 16, static_cast<int>(0xff20c040u));
    device->WritePixels2(sprite, Array<int>(texels.data(), 256), 0, 0, 16, 16, 0, 16);
    constexpr int kSprites = 2499;
    for (int i = 0; i < kSprites; ++i) {
        device->SetBlend(0);
        device->DrawSurface(sprite, static_cast<float>(i % 600), static_cast<float>(i / 600 * 20));
    }
    device->EndRender();
    const tvxFrameStats& s = device->LastFrameStats();
    // 256 quads fill the 1024 vertices of one batch: only full batches end.
    EXPECT_EQ(s.drawCalls, (kSprites + 255) / 256);
    EXPECT_EQ(s.Flushes(tvxFlushCause::Blend), 0);
    EXPECT_EQ(s.Flushes(tvxFlushCause::BatchFull), (kSprites + 255) / 256 - 1);
    EXPECT_TRUE(IsColour(PixelAt(5, 5), 0x20, 0xc0, 0x40));
}

TEST_F(DeviceTest, ChangedBlendFlushesAndApplies) {
    device->Cls(0, 0, 100);
    device->SetColor(200, 0, 0);
    device->DrawRect(0, 0, 10, 10);  // opaque: replaces the blue
    device->SetBlend(1);
    device->SetBlend(1);
    device->SetAlpha(0.5f);
    device->DrawRect(20, 0, 10, 10);  // added to the blue
    device->SetBlend(0);
    device->SetBlend(2);              // the same function as 0
    device->DrawRect(40, 0, 10, 10);  // mixed with the blue
    device->EndRender();
    EXPECT_EQ(device->LastFrameStats().Flushes(tvxFlushCause::Blend), 2);
    EXPECT_EQ(device->LastFrameStats().drawCalls, 3);
    EXPECT_TRUE(IsColour(PixelAt(5, 5), 200, 0, 0));
    EXPECT_TRUE(IsColour(PixelAt(25, 5), 100, 0, 100, 1));
    EXPECT_TRUE(IsColour(PixelAt(45, 5), 100, 0, 50, 1));
}

// A frame that ended additive must not leave SetBlend(1) believing the
// function is already applied: BeginRender restores the default.
TEST_F(DeviceTest, BeginRenderForgetsTheLastFramesBlend) {
    device->SetBlend(1);
    device->EndRender();
    device->BeginRender();
    GLint dst = 0;
    glGetIntegerv(GL_BLEND_DST, &dst);
    EXPECT_EQ(dst, GL_ONE_MINUS_SRC_ALPHA);
    device->SetBlend(1);
    glGetIntegerv(GL_BLEND_DST, &dst);
    EXPECT_EQ(dst, GL_ONE);
}

TEST_F(DeviceTest, BeginRenderStartsEmptyCounters) {
    device->DrawRect(0, 0, 5, 5);
    device->EndRender();
    device->BeginRender();
    EXPECT_EQ(device->FrameStats().drawCalls, 0);
    EXPECT_EQ(device->LastFrameStats().drawCalls, 1);
}

TEST_F(DeviceTest, OvalsOfOneSizeShareADrawCallPerOval) {
    device->DrawOval(0, 0, 100, 100);
    device->DrawOval(200, 0, 100, 100);
    device->EndRender();
    // One batch of two 100-vertex fans: one glDrawArrays per polygon.
    EXPECT_EQ(device->LastFrameStats().vertices, 200);
    EXPECT_EQ(device->LastFrameStats().drawCalls, 2);
    EXPECT_EQ(device->LastFrameStats().TotalFlushes(), 1);
}

TEST_F(DeviceTest, ReadPixelsGivesArgbRowsFromTheTop) {
    device->SetColor(255, 0, 0);
    device->DrawRect(0, 0, 2, 1);
    device->SetColor(0, 0, 255);
    device->DrawRect(0, 1, 2, 1);
    Array<int> pixels(6);
    device->ReadPixels(pixels, 0, 0, 2, 2, 1, 3);
    EXPECT_EQ(static_cast<uint32_t>(pixels[1]) & 0xffffffu, 0xff0000u);
    EXPECT_EQ(static_cast<uint32_t>(pixels[2]) & 0xffffffu, 0xff0000u);
    EXPECT_EQ(static_cast<uint32_t>(pixels[4]) & 0xffffffu, 0x0000ffu);
    EXPECT_EQ(static_cast<uint32_t>(pixels[5]) & 0xffffffu, 0x0000ffu);
    EXPECT_EQ(pixels[0], 0);
    EXPECT_EQ(pixels[3], 0);

    // A rectangle larger than the array writes nothing beyond it.
    Array<int> small(2);
    device->ReadPixels(small, 0, 0, 2, 2, 0, 2);
    EXPECT_EQ(small[0], 0);
}

}  // namespace
