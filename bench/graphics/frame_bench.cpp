// The game's heaviest frame drawn two ways on the same OpenGL (Mesa
// llvmpipe under Xvfb), side by side in one run:
//   - ours: the graphics front end (zq_graphics_DrawImage2, DrawRect) over
//     the render device, in a window of the GLFW-2 layer;
//   - the peer: SDL2's renderer (OpenGL driver, batching on), with
//     SDL_RenderCopyEx and SDL_RenderFillRect, in an SDL window.
// The scene: 200 translucent untextured rectangles, then 2,499 rotated and
// scaled 16 x 16 sprites from one texture, at 640 x 480. One iteration is
// one frame, timed up to glFinish; no buffer swap on either side.
// Our side runs twice: BM_Frame_Tolvar sets colour and alpha only when they
// change; BM_Frame_GameReplay sets alpha, colour and blend before every
// record, as the game's display-list replay does.
//
// Repetitions of the two sides run interleaved in random order. After the
// benchmarks the program prints the median frame time of each
// side over every frame it drew, and each of our ratios to SDL2.
#include <GL/gl.h>
#include <SDL2/SDL.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "bench/graphics/side_by_side.h"
#include "graphics/zq_graphics.h"
#include "runtime/glfw2/glfw2.h"
#include "runtime/lang/game.h"

namespace {

constexpr int kWidth = 640, kHeight = 480;
constexpr int kSprites = 2499, kRects = 200;
constexpr int kFrameSize = 16, kFrames = 4;  // the sprite sheet: 4 frames side by side

struct Sprite {
    float x, y, rotation, scale;
    int frame;
};
struct Rect {
    float x, y, w, h;
    float r, g, b, alpha;
};

struct Scene {
    std::vector<Sprite> sprites;
    std::vector<Rect> rects;
    std::vector<int> sheet;  // 0xAARRGGBB texels, 64 x 16
};

const Scene& TheScene() {
    static Scene scene = [] {
        Scene s;
        unsigned seed = 1234;
        auto next = [&seed](float lo, float hi) {
            seed = seed * 1664525u + 1013904223u;
            return lo + (hi - lo) * static_cast<float>(seed >> 8) / static_cast<float>(1u << 24);
        };
        for (int i = 0; i < kRects; ++i)
            s.rects.push_back({next(0, kWidth), next(0, kHeight), next(4, 40), next(4, 40), next(0, 255),
                               next(0, 255), next(0, 255), next(0.2f, 1)});
        for (int i = 0; i < kSprites; ++i)
            s.sprites.push_back(
                {next(0, kWidth), next(0, kHeight), next(0, 360), next(0.5f, 2), i % kFrames});
        for (int y = 0; y < kFrameSize; ++y)
            for (int x = 0; x < kFrameSize * kFrames; ++x) {
                int dx = x % kFrameSize - 8, dy = y - 8;
                bool inside = dx * dx + dy * dy < 60;
                unsigned a = inside ? 255u : 0u;
                unsigned rgb =
                    0x204080u + static_cast<unsigned>(x * 3) * 0x010000u + static_cast<unsigned>(y * 9);
                s.sheet.push_back(static_cast<int>(a << 24 | (inside ? rgb : 0u)));
            }
        return s;
    }();
    return scene;
}

double Seconds(std::chrono::steady_clock::time_point a, std::chrono::steady_clock::time_point b) {
    return std::chrono::duration<double>(b - a).count();
}

std::vector<double> oursFrames, replayFrames, sdlFrames;

// [Ours] ----------------------------------------------------------------------------

// How our side issues the scene's drawing calls.
enum class Drawing {
    Direct,  // state set only when it changes, as a hand-written renderer would
    Replay,  // per record: alpha, colour, blend, then the draw, as the game's display list replays
};

void DrawScene(const Scene& scene, c_Image* sheet, Drawing drawing) {
    for (const Rect& r : scene.rects) {
        if (drawing == Drawing::Replay) {
            zq_graphics_SetAlpha(r.alpha);
            zq_graphics_SetColor(r.r, r.g, r.b);
            zq_graphics_SetBlend(0);
        } else {
            zq_graphics_SetColor(r.r, r.g, r.b);
            zq_graphics_SetAlpha(r.alpha);
        }
        zq_graphics_DrawRect(r.x, r.y, r.w, r.h);
    }
    zq_graphics_SetColor(255, 255, 255);
    zq_graphics_SetAlpha(1);
    for (const Sprite& s : scene.sprites) {
        if (drawing == Drawing::Replay) {
            zq_graphics_SetAlpha(1);
            zq_graphics_SetColor(255, 255, 255);
            zq_graphics_SetBlend(0);
        }
        zq_graphics_DrawImage2(sheet, s.x, s.y, s.rotation, s.scale, s.scale, s.frame);
    }
}

void RunOurs(benchmark::State& state, Drawing drawing, std::vector<double>& frames) {
    tvxGraphics* device = OpenOurWindow(state, kWidth, kHeight);
    if (!device) return;
    const Scene& scene = TheScene();
    c_Image* sheet = zq_graphics_CreateImage(kFrameSize, kFrameSize, kFrames, c_Image::CentreHandle);
    Array<int> texels(scene.sheet.data(), static_cast<int>(scene.sheet.size()));
    device->WritePixels2(sheet->surface, texels, 0, 0, kFrameSize * kFrames, kFrameSize, 0,
                         kFrameSize * kFrames);

    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        device->BeginRender();
        zq_graphics_BeginRender();
        device->Cls(10, 10, 30);
        DrawScene(scene, sheet, drawing);
        zq_graphics_EndRender();
        device->EndRender();
        glFinish();
        double t = Seconds(start, std::chrono::steady_clock::now());
        state.SetIterationTime(t);
        frames.push_back(t);
    }
    const tvxFrameStats& stats = device->LastFrameStats();
    state.counters["draw_calls"] = stats.drawCalls;
    state.counters["vertices"] = stats.vertices;
    glfw2::glfwCloseWindow();
}

void BM_Frame_Tolvar(benchmark::State& state) {
    RunOurs(state, Drawing::Direct, oursFrames);
}
BENCHMARK(BM_Frame_Tolvar)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_Frame_GameReplay(benchmark::State& state) {
    RunOurs(state, Drawing::Replay, replayFrames);
}
BENCHMARK(BM_Frame_GameReplay)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

// [SDL2] ----------------------------------------------------------------------------

void BM_Frame_SDL2(benchmark::State& state) {
    SdlWindow sdl;
    if (!sdl.Open(state, kWidth, kHeight)) return;
    SDL_Renderer* renderer = sdl.renderer;
    const Scene& scene = TheScene();
    SDL_Texture* sheet = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC,
                                           kFrameSize * kFrames, kFrameSize);
    SDL_UpdateTexture(sheet, nullptr, scene.sheet.data(), kFrameSize * kFrames * 4);
    SDL_SetTextureBlendMode(sheet, SDL_BLENDMODE_BLEND);
    SDL_SetTextureScaleMode(sheet, SDL_ScaleModeNearest);
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_BLEND);

    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        SDL_SetRenderDrawColor(renderer, 10, 10, 30, 255);
        SDL_RenderClear(renderer);
        for (const Rect& r : scene.rects) {
            SDL_SetRenderDrawColor(renderer, static_cast<Uint8>(r.r), static_cast<Uint8>(r.g),
                                   static_cast<Uint8>(r.b), static_cast<Uint8>(r.alpha * 255));
            SDL_FRect rect{r.x, r.y, r.w, r.h};
            SDL_RenderFillRectF(renderer, &rect);
        }
        for (const Sprite& s : scene.sprites) {
            float size = kFrameSize * s.scale;
            SDL_Rect src{s.frame * kFrameSize, 0, kFrameSize, kFrameSize};
            SDL_FRect dst{s.x - size / 2, s.y - size / 2, size, size};
            SDL_RenderCopyExF(renderer, sheet, &src, &dst, s.rotation, nullptr, SDL_FLIP_NONE);
        }
        SDL_RenderFlush(renderer);
        glFinish();
        double t = Seconds(start, std::chrono::steady_clock::now());
        state.SetIterationTime(t);
        sdlFrames.push_back(t);
    }
    SDL_DestroyTexture(sheet);
}
BENCHMARK(BM_Frame_SDL2)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
    StartWindowSystems();
    if (!RunInterleaved(argc, argv)) return 1;
    double ours = Median(oursFrames), replay = Median(replayFrames), sdl = Median(sdlFrames);
    std::printf("median frame: SDL2 %.3f ms over %zu frames\n", sdl * 1e3, sdlFrames.size());
    std::printf("median frame: ours %.3f ms over %zu frames, ratio ours/SDL2 %.3f\n", ours * 1e3,
                oursFrames.size(), sdl > 0 ? ours / sdl : 0.0);
    std::printf("median frame: game replay %.3f ms over %zu frames, ratio replay/SDL2 %.3f\n", replay * 1e3,
                replayFrames.size(), sdl > 0 ? replay / sdl : 0.0);
    StopWindowSystems();
    return 0;
}
