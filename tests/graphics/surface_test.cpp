// Surfaces on real OpenGL: loading and premultiplication, exact texel
// placement, pixel writes, textured batches, textures rebuilt after the
// window (and its context) is opened anew, release by the collector, and
// the ways the device spends fewer pixels (an opaque window fill as a
// clear, images trimmed to their ink boxes), each against the plain way.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graphics/image_file.h"
#include "graphics/tvx_graphics.h"
#include "graphics/zq_graphics.h"
#include "tests/graphics/graphics_test_support.h"

extern int zq_app__devWidth;
extern int zq_app__devHeight;

namespace {

class SurfaceTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        host = InstallTestRuntime();
        OpenTestWindow();
    }
    static void TearDownTestSuite() { CloseTestWindow(); }

    void SetUp() override {
        device = gc_new<tvxGraphics>();
        zq_graphics_SetGraphicsDevice(device);
        BeginFrame();
    }

    void BeginFrame() {
        device->BeginRender();
        device->SetScissor(0, 0, device->Width(), device->Height());
        device->Cls(0, 0, 0);
    }

    // Writes a PNG into the data folder and loads it as a surface.
    tvxSurface* Load(const char* name, int w, int h, int depth, const std::vector<uint8_t>& pixels) {
        std::string path = host->dataFolder + "/" + name;
        WritePng(path, w, h, depth, pixels);
        return device->LoadSurface(String(path.c_str()));
    }

    // A 4 x 2 image of eight distinct opaque colours.
    tvxSurface* LoadPattern() {
        std::vector<uint8_t> px;
        for (int i = 0; i < 8; ++i) {
            const uint8_t c[4] = {static_cast<uint8_t>(30 * i), static_cast<uint8_t>(255 - 30 * i),
                                  static_cast<uint8_t>(i & 1 ? 200 : 20), 255};
            px.insert(px.end(), c, c + 4);
        }
        return Load("pattern.png", 4, 2, 4, px);
    }
    static Rgba PatternTexel(int tx, int ty) {
        int i = ty * 4 + tx;
        return {30 * i, 255 - 30 * i, i & 1 ? 200 : 20, 255};
    }

    // The window fill, trimming and ink boxes (the device's ways of spending
    // fewer pixels) are checked against the plain way of drawing the same.
    // A w x h RGBA surface, transparent but for the opaque texels listed as
    // x, y pairs, each of its own colour.
    tvxSurface* Sprite(int w, int h, const std::vector<std::pair<int, int>>& inked) {
        std::vector<uint8_t> px(static_cast<size_t>(w) * h * 4, 0);
        int i = 0;
        for (auto [x, y] : inked) {
            uint8_t* p = &px[(static_cast<size_t>(y) * w + x) * 4];
            p[0] = static_cast<uint8_t>(40 + 50 * i);
            p[1] = static_cast<uint8_t>(200 - 30 * i);
            p[2] = static_cast<uint8_t>(90 + 20 * i);
            p[3] = 255;
            ++i;
        }
        std::string path = host->dataFolder + "/sprite" + std::to_string(++sprites) + ".png";
        WritePng(path, w, h, 4, px);
        return device->LoadSurface(String(path.c_str()));
    }

    // Whether the w x h window rectangles at (ax, ay) and (bx, by) hold the same pixels.
    static ::testing::AssertionResult SamePixels(int ax, int ay, int bx, int by, int w, int h) {
        std::vector<uint8_t> a = Read(ax, ay, w, h), b = Read(bx, by, w, h);
        for (size_t i = 0; i < a.size(); ++i)
            if (a[i] != b[i]) {
                int at = static_cast<int>(i / 4);
                return ::testing::AssertionFailure()
                       << "differs at offset " << at % w << ", " << h - 1 - at / w;
            }
        return ::testing::AssertionSuccess();
    }
    static std::vector<uint8_t> Read(int x, int y, int w, int h) {
        std::vector<uint8_t> px(static_cast<size_t>(w) * h * 4);
        glReadPixels(x, 480 - y - h, w, h, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
        return px;
    }

    static TestHost* host;
    static int sprites;
    tvxGraphics* device = nullptr;
};
TestHost* SurfaceTest::host = nullptr;
int SurfaceTest::sprites = 0;

void ExpectPixel(int x, int y, Rgba want) {
    Rgba got = PixelAt(x, y);
    EXPECT_EQ(got.r, want.r) << "at " << x << ", " << y;
    EXPECT_EQ(got.g, want.g) << "at " << x << ", " << y;
    EXPECT_EQ(got.b, want.b) << "at " << x << ", " << y;
}

TEST_F(SurfaceTest, RgbaImageIsStoredPremultiplied) {
    tvxSurface* s = Load("half.png", 100, 60, 4, SolidRgba(100, 60, 255, 0, 0, 128));
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->Width(), 100);
    EXPECT_EQ(s->Height(), 60);
    EXPECT_EQ(s->depth, 4);
    EXPECT_EQ(s->format, static_cast<GLenum>(GL_RGBA));
    EXPECT_EQ(s->data[0], 128);
    EXPECT_EQ(s->data[3], 128);
    EXPECT_EQ(s->data[100 * 60 * 4 - 4], 128);

    device->Cls(0, 0, 0);
    device->DrawSurface(s, 10, 10);
    device->EndRender();
    ExpectPixel(10, 10, {128, 0, 0, 0});
    ExpectPixel(109, 69, {128, 0, 0, 0});
    ExpectPixel(110, 69, {0, 0, 0, 0});
}

TEST_F(SurfaceTest, PremultipliesTwoAndFourChannelsOnly) {
    uint8_t la[] = {200, 128, 255, 0};
    tvxPremultiply(la, 2, 2);
    EXPECT_EQ(la[0], 100);
    EXPECT_EQ(la[1], 128);
    EXPECT_EQ(la[2], 0);

    tvxSurface* grey = Load("grey.png", 2, 1, 1, {10, 250});
    ASSERT_NE(grey, nullptr);
    EXPECT_EQ(grey->format, static_cast<GLenum>(GL_LUMINANCE));
    EXPECT_EQ(grey->data[1], 250);
    tvxSurface* rgb = Load("rgb.png", 1, 1, 3, {1, 2, 3});
    ASSERT_NE(rgb, nullptr);
    EXPECT_EQ(rgb->format, static_cast<GLenum>(GL_RGB));
    EXPECT_EQ(rgb->data[2], 3);
    tvxSurface* greyAlpha = Load("greyalpha.png", 1, 1, 2, {200, 51});
    ASSERT_NE(greyAlpha, nullptr);
    EXPECT_EQ(greyAlpha->format, static_cast<GLenum>(GL_LUMINANCE_ALPHA));
    EXPECT_EQ(greyAlpha->data[0], 40);
}

TEST_F(SurfaceTest, UnreadableFilesGiveNull) {
    EXPECT_EQ(device->LoadSurface(String((host->dataFolder + "/missing.png").c_str())), nullptr);
    std::string junk = host->dataFolder + "/junk.png";
    FILE* f = fopen(junk.c_str(), "wb");
    fputs("\x89PNG\r\n\x1a\n not really", f);
    fclose(f);
    EXPECT_EQ(device->LoadSurface(String(junk.c_str())), nullptr);
}

TEST_F(SurfaceTest, TexturesUseNearestFilteringAndClampInThisContext) {
    tvxSurface* s = LoadPattern();
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->seq, glfwGraphicsSeq);
    ASSERT_TRUE(glIsTexture(s->texture));
    glBindTexture(GL_TEXTURE_2D, s->texture);
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &value);
    EXPECT_EQ(value, GL_NEAREST);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &value);
    EXPECT_EQ(value, GL_NEAREST);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &value);
    EXPECT_EQ(value, GL_CLAMP_TO_EDGE);
    EXPECT_FLOAT_EQ(s->uscale, 0.25f);
    EXPECT_FLOAT_EQ(s->vscale, 0.5f);
}

TEST_F(SurfaceTest, WholeSurfaceAndSubRectanglesLandTexelForPixel) {
    tvxSurface* s = LoadPattern();
    ASSERT_NE(s, nullptr);
    device->DrawSurface(s, 50, 60);
    device->DrawSurface2(s, 100, 60, 1, 0, 2, 2);
    device->EndRender();
    for (int ty = 0; ty < 2; ++ty)
        for (int tx = 0; tx < 4; ++tx) ExpectPixel(50 + tx, 60 + ty, PatternTexel(tx, ty));
    for (int ty = 0; ty < 2; ++ty)
        for (int tx = 0; tx < 2; ++tx) ExpectPixel(100 + tx, 60 + ty, PatternTexel(1 + tx, ty));
    ExpectPixel(102, 60, {0, 0, 0, 0});
    EXPECT_EQ(device->LastFrameStats().drawCalls, 1);  // one texture, one batch
    EXPECT_EQ(device->LastFrameStats().textureBinds, 1);
}

TEST_F(SurfaceTest, ScaledSurfaceRepeatsTexels) {
    tvxSurface* s = LoadPattern();
    ASSERT_NE(s, nullptr);
    device->SetMatrix(4, 0, 0, 4, 200, 100);
    device->DrawSurface(s, 0, 0);
    device->EndRender();
    for (int ty = 0; ty < 2; ++ty)
        for (int tx = 0; tx < 4; ++tx) {
            ExpectPixel(200 + 4 * tx, 100 + 4 * ty, PatternTexel(tx, ty));
            ExpectPixel(203 + 4 * tx, 103 + 4 * ty, PatternTexel(tx, ty));
        }
}

TEST_F(SurfaceTest, FrontEndRotatesImagesAboutTheirHandle) {
    tvxSurface* s = LoadPattern();
    ASSERT_NE(s, nullptr);
    c_Image* image = gc_new<c_Image>()->m_new()->p_Init(s, 1, c_Image::CentreHandle);  // handle (2, 1)
    zq_app__devWidth = device->Width();
    zq_app__devHeight = device->Height();
    zq_graphics_BeginRender();
    zq_graphics_DrawImage2(image, 100, 100, 90, 1, 1, 0);  // the x axis turns to point up
    zq_graphics_DrawImage2(image, 200, 100, 0, 2, 3, 0);
    zq_graphics_EndRender();
    device->EndRender();
    for (int ty = 0; ty < 2; ++ty)
        for (int tx = 0; tx < 4; ++tx) {
            ExpectPixel(99 + ty, 101 - tx, PatternTexel(tx, ty));
            ExpectPixel(196 + 2 * tx, 97 + 3 * ty, PatternTexel(tx, ty));
            ExpectPixel(197 + 2 * tx, 99 + 3 * ty, PatternTexel(tx, ty));
        }
    ExpectPixel(99, 102, {0, 0, 0, 0});
    ExpectPixel(99, 97, {0, 0, 0, 0});
}

TEST_F(SurfaceTest, TexturedPolygonTakesTexelOffsets) {
    tvxSurface* s = LoadPattern();
    ASSERT_NE(s, nullptr);
    // A 2 x 2 square showing texels (2, 0) .. (3, 1).
    float quad[] = {300, 300, 0, 0, 302, 300, 2, 0, 302, 302, 2, 2, 300, 302, 0, 2};
    device->DrawPoly2(Array<float>(quad, 16), s, 2, 0);
    device->EndRender();
    ExpectPixel(300, 300, PatternTexel(2, 0));
    ExpectPixel(301, 301, PatternTexel(3, 1));
}

TEST_F(SurfaceTest, AlternatingTexturesBreakBatches) {
    tvxSurface* a = LoadPattern();
    tvxSurface* b = Load("one.png", 1, 1, 4, SolidRgba(1, 1, 9, 9, 9, 255));
    ASSERT_TRUE(a && b);
    device->DrawSurface(a, 0, 0);
    device->DrawSurface(b, 10, 0);
    device->DrawSurface(a, 20, 0);
    device->DrawRect(30, 0, 1, 1);
    device->EndRender();
    EXPECT_EQ(device->LastFrameStats().drawCalls, 4);
    EXPECT_EQ(device->LastFrameStats().textureBinds, 3);
    EXPECT_EQ(device->LastFrameStats().Flushes(tvxFlushCause::BatchBreak), 3);
}

TEST_F(SurfaceTest, WritePixelsPremultipliesAndUploads) {
    tvxSurface* s = device->CreateSurface(4, 4);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->data, nullptr);
    Array<int> px(16);
    for (int i = 0; i < 16; ++i) px[i] = static_cast<int>(0xff00ff00u);  // opaque green
    px[5] = static_cast<int>(0x80ff0000u);                               // half-transparent red
    device->WritePixels2(s, px, 0, 0, 4, 4, 0, 4);
    EXPECT_EQ(s->data[5 * 4 + 0], 128);
    EXPECT_EQ(s->data[5 * 4 + 3], 128);

    device->DrawSurface(s, 400, 10);
    device->EndRender();
    ExpectPixel(400, 10, {0, 255, 0, 0});
    ExpectPixel(401, 11, {128, 0, 0, 0});

    // A rectangle reaching past the surface is clipped; one reading past the
    // array is refused.
    BeginFrame();
    Array<int> blue(8);
    for (int i = 0; i < 8; ++i) blue[i] = static_cast<int>(0xff0000ffu);
    device->WritePixels2(s, blue, 3, 0, 4, 2, 0, 4);
    device->WritePixels2(s, blue, 0, 2, 4, 4, 0, 4);  // needs 16 elements
    device->DrawSurface(s, 400, 10);
    device->EndRender();
    ExpectPixel(402, 10, {0, 255, 0, 0});
    ExpectPixel(403, 10, {0, 0, 255, 0});
    ExpectPixel(403, 11, {0, 0, 255, 0});
    ExpectPixel(400, 12, {0, 255, 0, 0});
}

TEST_F(SurfaceTest, WritePixelsIgnoresSurfacesThatAreNotRgba) {
    tvxSurface* rgb = Load("rgb2.png", 1, 1, 3, {1, 2, 3});
    ASSERT_NE(rgb, nullptr);
    Array<int> px(1);
    px[0] = -1;
    device->WritePixels2(rgb, px, 0, 0, 1, 1, 0, 1);
    EXPECT_EQ(rgb->data[0], 1);
}

TEST_F(SurfaceTest, CreateSurfaceRefusesEmptyAndAbsurdSizes) {
    EXPECT_EQ(device->CreateSurface(0, 10), nullptr);
    EXPECT_EQ(device->CreateSurface(10, -1), nullptr);
    EXPECT_EQ(device->CreateSurface(100000, 100000), nullptr);
}

TEST_F(SurfaceTest, CollectorReleasesTheTexture) {
    tvxSurface* s = LoadPattern();
    ASSERT_NE(s, nullptr);
    GLuint name = s->texture;
    ASSERT_TRUE(glIsTexture(name));
    s = nullptr;
    device->EndRender();
    device->BeginRender();  // the batch no longer refers to anything
    gc_collect_all();       // the surface was unreachable at the first sweep...
    gc_collect_all();
    gc_destroy_garbage();  // ...and its destructor runs with the garbage
    EXPECT_FALSE(glIsTexture(name));
}

TEST_F(SurfaceTest, DiscardReleasesTextureAndPixels) {
    tvxSurface* s = LoadPattern();
    ASSERT_NE(s, nullptr);
    GLuint name = s->texture;
    s->Discard();
    EXPECT_FALSE(glIsTexture(name));
    EXPECT_EQ(s->data, nullptr);
    EXPECT_EQ(s->seq, -1);
    s->Discard();  // twice is harmless
}

// Runs last in this suite: it replaces the window.
TEST_F(SurfaceTest, ZzSurfacesRedrawTheSamePixelsAfterTheWindowIsReopened) {
    tvxSurface* pattern = LoadPattern();
    tvxSurface* half = Load("half2.png", 3, 3, 4, SolidRgba(3, 3, 255, 0, 0, 128));
    tvxSurface* created = device->CreateSurface(2, 1);
    ASSERT_TRUE(pattern && half && created);
    Array<int> px(2);
    px[0] = static_cast<int>(0xffffff00u);
    px[1] = static_cast<int>(0xff00ffffu);
    device->WritePixels2(created, px, 0, 0, 2, 1, 0, 2);

    auto drawAll = [&] {
        device->DrawSurface(pattern, 10, 10);
        device->DrawSurface(half, 20, 10);
        device->DrawSurface(created, 30, 10);
        device->EndRender();
    };
    drawAll();
    Array<int> before(40 * 5), after(40 * 5);
    device->ReadPixels(before, 0, 8, 40, 5, 0, 40);

    int oldSeq = glfwGraphicsSeq;
    CloseTestWindow();
    OpenTestWindow();
    ASSERT_EQ(glfwGraphicsSeq, oldSeq + 1);
    BeginFrame();
    drawAll();
    EXPECT_EQ(pattern->seq, glfwGraphicsSeq);
    EXPECT_EQ(created->seq, glfwGraphicsSeq);
    device->ReadPixels(after, 0, 8, 40, 5, 0, 40);
    for (int i = 0; i < 40 * 5; ++i)
        ASSERT_EQ(before[i], after[i]) << "pixel " << i % 40 << ", " << 8 + i / 40;
    ExpectPixel(20, 10, {128, 0, 0, 0});
    ExpectPixel(31, 10, {0, 255, 255, 0});
}

// [Opaque window fill] ----------------------------------------------------------------

TEST_F(SurfaceTest, AnOpaqueFillOfTheWindowIsAClearOfItsColour) {
    device->SetColor(255, 0, 0);
    device->DrawRect(5, 5, 10, 10);  // painted over: never drawn
    device->SetColor(10, 20, 30);
    device->DrawRect(-1, -1, 642, 482);
    device->SetColor(0, 255, 0);
    device->DrawRect(100, 100, 4, 4);  // drawing goes on after the clear
    device->EndRender();
    EXPECT_EQ(device->LastFrameStats().clears, 1);
    EXPECT_EQ(device->LastFrameStats().discards, 1);
    Rgba p = PixelAt(7, 7);
    EXPECT_EQ(p.r, 10);
    EXPECT_EQ(p.g, 20);
    EXPECT_EQ(p.b, 30);
    EXPECT_EQ(PixelAt(101, 101).g, 255);
}

TEST_F(SurfaceTest, AClearKeepsToTheScissorBoxAsDrawingDoes) {
    device->SetScissor(10, 10, 20, 20);
    device->SetColor(200, 100, 50);
    device->DrawRect(0, 0, 640, 480);
    device->EndRender();
    EXPECT_EQ(device->LastFrameStats().clears, 1);
    EXPECT_EQ(PixelAt(15, 15).r, 200);
    EXPECT_EQ(PixelAt(5, 5).r, 0);
    EXPECT_EQ(PixelAt(35, 15).r, 0);
}

TEST_F(SurfaceTest, OnlyOpaqueUprightAlphaBlendedFillsOfTheWholeWindowAreClears) {
    device->SetColor(100, 100, 100);
    device->SetAlpha(0.5f);
    device->DrawRect(0, 0, 640, 480);  // translucent: blends
    device->SetAlpha(1);
    device->DrawRect(1, 0, 640, 480);  // misses column 0
    device->SetBlend(1);
    device->DrawRect(0, 0, 640, 480);  // additive: adds
    device->SetBlend(0);
    device->SetMatrix(0, 1, -1, 0, 640, 0);  // turned a quarter
    device->DrawRect(0, 0, 480, 640);
    device->EndRender();
    EXPECT_EQ(device->LastFrameStats().clears, 0);
    // A scaled and moved upright rectangle that covers the window is one.
    device->BeginRender();
    device->SetMatrix(2, 0, 0, 2, -10, -10);
    device->DrawRect(0, 0, 330, 250);
    device->EndRender();
    EXPECT_EQ(device->LastFrameStats().clears, 1);
}

// [Ink boxes] --------------------------------------------------------------------------

TEST_F(SurfaceTest, AnInkBoxIsTheInkedTexelsGrownByOneAndClippedToTheFrame) {
    tvxSurface* s = Sprite(16, 8, {{2, 1}, {5, 3}, {8, 0}});
    ASSERT_NE(s, nullptr);
    tvxInkBox left, right, empty;
    s->Ink(0, 0, 8, 8, left);
    EXPECT_EQ(left.x, 1);
    EXPECT_EQ(left.y, 0);
    EXPECT_EQ(left.w, 6);  // texels 1..6
    EXPECT_EQ(left.h, 5);  // rows 0..4
    s->Ink(8, 0, 8, 8, right);
    EXPECT_EQ(right.x, 0);
    EXPECT_EQ(right.w, 2);
    EXPECT_EQ(right.h, 2);
    s->Ink(0, 4, 4, 4, empty);
    EXPECT_EQ(empty.w, 0);
    EXPECT_EQ(empty.h, 0);

    // New pixels make the boxes stale; they are measured again.
    int texel = static_cast<int>(0xff102030);
    s->SetSubData(1, 6, 1, 1, &texel, 1);
    s->Ink(0, 4, 4, 4, empty);
    EXPECT_EQ(empty.x, 0);
    EXPECT_EQ(empty.y, 1);
    EXPECT_EQ(empty.w, 3);
    EXPECT_EQ(empty.h, 3);
}

TEST_F(SurfaceTest, WithoutAlphaOrKeptPixelsTheWholeRectangleIsInked) {
    std::string path = host->dataFolder + "/rgb.png";
    WritePng(path, 4, 4, 3, std::vector<uint8_t>(48, 0));
    tvxSurface* rgb = device->LoadSurface(String(path.c_str()));
    tvxSurface* blank = device->CreateSurface(8, 8);
    ASSERT_TRUE(rgb && blank);
    tvxInkBox a, b;
    rgb->Ink(0, 0, 4, 4, a);
    blank->Ink(2, 2, 4, 4, b);
    EXPECT_EQ(a.w * a.h, 16);
    EXPECT_EQ(b.x, 0);
    EXPECT_EQ(b.w * b.h, 16);
}

// [Trimmed images] ----------------------------------------------------------------------

TEST_F(SurfaceTest, TrimmedImagesGiveThePixelsOfTheWholeFrame) {
    tvxSurface* s = Sprite(24, 12, {{3, 2}, {7, 9}, {4, 5}, {14, 4}, {19, 8}});
    ASSERT_NE(s, nullptr);
    c_Image* image = gc_new<c_Image>()->m_new()->p_Init(s, 2, c_Image::CentreHandle);
    zq_app__devWidth = device->Width();
    zq_app__devHeight = device->Height();
    zq_graphics_BeginRender();
    zq_graphics_SetColor(255, 255, 255);
    // Through the front end (trimmed) on the left, the device's whole frame on the right.
    const float rotations[] = {0, 90, 180, 270};
    for (int i = 0; i < 4; ++i) {
        float y = 60.0f + 80.0f * static_cast<float>(i);
        zq_graphics_DrawImage2(image, 100, y, rotations[i], 3, 2, 0);
        zq_graphics_DrawImage2(image, 200, y, rotations[i], 2, 3, 1);
        for (int frame = 0; frame < 2; ++frame) {
            zq_graphics_PushMatrix();
            zq_graphics_Translate(400.0f + 100.0f * static_cast<float>(frame), y);
            zq_graphics_Rotate(rotations[i]);
            zq_graphics_Scale(frame == 0 ? 3.0f : 2.0f, frame == 0 ? 2.0f : 3.0f);
            zq_graphics_context->p_Validate(device);
            device->DrawSurface2(s, -6, -6, 12 * frame, 0, 12, 12);
            zq_graphics_PopMatrix();
        }
    }
    zq_graphics_EndRender();
    device->EndRender();
    for (int i = 0; i < 4; ++i) {
        int y = 60 + 80 * i - 40;
        EXPECT_TRUE(SamePixels(60, y, 360, y, 80, 80)) << "frame 0 turned " << rotations[i];
        EXPECT_TRUE(SamePixels(160, y, 460, y, 80, 80)) << "frame 1 turned " << rotations[i];
    }
}

TEST_F(SurfaceTest, AFrameWithoutInkDrawsNothing) {
    tvxSurface* s = Sprite(8, 4, {{1, 1}});
    ASSERT_NE(s, nullptr);
    c_Image* image = gc_new<c_Image>()->m_new()->p_Init(s, 2, 0);
    zq_app__devWidth = device->Width();
    zq_app__devHeight = device->Height();
    zq_graphics_BeginRender();
    zq_graphics_DrawImage(image, 10, 10, 1);
    zq_graphics_EndRender();
    device->EndRender();
    EXPECT_EQ(device->LastFrameStats().vertices, 0);
}

}  // namespace
