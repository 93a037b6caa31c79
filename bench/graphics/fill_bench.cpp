// Fill rate: the game's own display lists (bench/graphics/lists, captured by
// graphics_capture_lists from the real title screen and the busiest play
// frame) replayed at the size they were captured at, 1920 x 1080 and
// 640 x 480, two ways on the same OpenGL (Mesa llvmpipe under Xvfb):
//   - ours: the graphics front end over the render device, in a window of
//     the GLFW-2 layer, exactly as the game's render replays its list;
//   - the peer: SDL2's renderer (OpenGL driver, batching on) drawing the
//     same records with the same premultiplied blending, from textures of
//     the same image files.
// One iteration is one frame, timed up to glFinish; no buffer swap. The
// images come from the data folder: $TOLVAR_DATA, else bin/data beside the
// bench folder, else ./data.
//
// Needs an X server (scripts/with-display gives one; a 1920 x 1080 window
// may reach past a smaller screen, the GL drawing is the same). After the
// benchmarks the program prints per list the median milliseconds per frame
// of each side (wall, and process CPU, which counts llvmpipe's threads) and
// our ratios to SDL2.
#include <GL/gl.h>
#include <SDL2/SDL.h>
#include <benchmark/benchmark.h>
#include <stb_image.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "bench/graphics/list_file.h"
#include "bench/graphics/side_by_side.h"
#include "graphics/zq_graphics.h"
#include "runtime/glfw2/glfw2.h"
#include "runtime/lang/game.h"

namespace {

const char* const kLists[] = {"title-1920x1080", "play-1920x1080", "title-640x480", "play-640x480"};

std::string ListDir() {
    return TOLVAR_LIST_DIR;
}

std::string DataDir() {
    if (const char* env = std::getenv("TOLVAR_DATA")) return env;
    char exe[4096];
    ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n > 0) {
        std::string path(exe, static_cast<size_t>(n));
        std::string beside = path.substr(0, path.rfind('/')) + "/../bin/data";
        if (access((beside + "/vexo_font.png").c_str(), R_OK) == 0) return beside;
    }
    return "data";
}

double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

struct Times {
    std::vector<double> wall, cpu;
};
std::map<std::string, Times> ours, peer;

// One timed frame: `draw` then glFinish.
template <typename Draw>
void TimeFrames(benchmark::State& state, Times& times, Draw draw) {
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        double cpu = CpuSeconds();
        draw();
        glFinish();
        double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(wall);
        times.wall.push_back(wall);
        times.cpu.push_back(CpuSeconds() - cpu);
    }
}

bool LoadList(benchmark::State& state, const std::string& name, ListFile& list) {
    std::string error;
    if (ReadListFile(ListDir() + "/" + name + ".list", list, error)) return true;
    state.SkipWithError(error.c_str());
    return false;
}

// [Ours] ----------------------------------------------------------------------------

// The game's replay of one record (its render's loop body).
void ReplayRecord(const ListFile& list, const std::array<float, 15>& r, c_Image* const* images) {
    zq_graphics_SetAlpha(r[7]);
    zq_graphics_SetColor(r[10], r[11], r[12]);
    zq_graphics_SetBlend(0);
    if (r[13] == 3.0f) zq_graphics_SetBlend(1);
    float x = r[1] * list.sx + list.marginX, y = r[2] * list.sy + list.marginY;
    if (r[0] == kListRect) {
        zq_graphics_DrawRect(x, y, r[4] * list.sx, r[5] * list.sy);
    } else if (r[0] == kListOval) {
        zq_graphics_DrawEllipse(x, y, r[4] * list.sx, r[5] * list.sy);
    } else if (r[0] == kListLine) {
        zq_graphics_DrawLine(x, y, r[4] * list.sx + list.marginX, r[5] * list.sy + list.marginY);
    } else if (r[0] > -1.0f && r[0] < 100.0f) {
        c_Image* image = images[static_cast<int>(r[0])];
        if (image)
            zq_graphics_DrawImage2(image, x, y, r[3], r[4] * list.sx * list.imageScale,
                                   r[5] * list.sy * list.imageScale, static_cast<int>(r[6]));
    }
}

// An image file as the game loads it (a surface adopting the decoded
// pixels, cut into frames with a centre handle), without a host object.
c_Image* LoadImage(const std::string& path, const ListImage& info) {
    int w = 0, h = 0, depth = 0;
    unsigned char* pixels = stbi_load(path.c_str(), &w, &h, &depth, 0);
    if (!pixels) return nullptr;
    tvxSurface* surface = gc_new<tvxSurface>();
    surface->SetData(pixels, w, h, depth);
    surface->Bind();
    return gc_new<c_Image>()->m_new()->p_Init2(surface, 0, 0, info.frameWidth, info.frameHeight, info.frames,
                                               c_Image::CentreHandle, nullptr, 0, 0, w, h);
}

void BM_Fill_Tolvar(benchmark::State& state, const std::string& name) {
    ListFile list;
    if (!LoadList(state, name, list)) return;
    tvxGraphics* device = OpenOurWindow(state, list.width, list.height);
    if (!device) return;
    // Not roots: nothing runs the collector while the benchmark draws.
    static c_Image* images[100];
    std::fill(std::begin(images), std::end(images), nullptr);
    for (const ListImage& i : list.images) images[i.slot] = LoadImage(DataDir() + "/" + i.file, i);
    for (const ListImage& i : list.images)
        if (!images[i.slot]) {
            state.SkipWithError(("cannot load " + i.file).c_str());
            glfw2::glfwCloseWindow();
            return;
        }
    auto w = static_cast<float>(list.width), h = static_cast<float>(list.height);
    TimeFrames(state, ours[name], [&] {
        device->BeginRender();
        zq_graphics_BeginRender();
        zq_graphics_SetColor(list.clear[0], list.clear[1], list.clear[2]);
        zq_graphics_SetAlpha(list.clear[3]);
        zq_graphics_DrawRect(-1, -1, w + 2, h + 2);
        zq_graphics_SetColor(255, 255, 255);
        zq_graphics_SetAlpha(1);
        for (const auto& r : list.records) ReplayRecord(list, r, images);
        zq_graphics_EndRender();
        device->EndRender();
    });
    const tvxFrameStats& stats = device->LastFrameStats();
    state.counters["draw_calls"] = stats.drawCalls;
    state.counters["records"] = static_cast<double>(list.records.size());
    glfw2::glfwCloseWindow();
}

// [SDL2] ----------------------------------------------------------------------------

struct SdlImage {
    SDL_Texture* texture = nullptr;
    ListImage info;
};

SDL_Texture* LoadTexture(SDL_Renderer* renderer, const std::string& path) {
    int w = 0, h = 0, n = 0;
    unsigned char* pixels = stbi_load(path.c_str(), &w, &h, &n, 4);
    if (!pixels) return nullptr;
    // Premultiplied, as our surfaces store them.
    for (long i = 0; i < static_cast<long>(w) * h; ++i) {
        unsigned char* p = pixels + 4 * i;
        for (int c = 0; c < 3; ++c) p[c] = static_cast<unsigned char>(p[c] * p[3] / 255);
    }
    SDL_Texture* t = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_STATIC, w, h);
    if (t) SDL_UpdateTexture(t, nullptr, pixels, w * 4);
    stbi_image_free(pixels);
    return t;
}

// Premultiplied colour bytes of a record, as our device packs them.
SDL_Color Premultiplied(float r, float g, float b, float alpha) {
    auto byte = [](float v) { return static_cast<Uint8>(std::clamp(v, 0.0f, 255.0f)); };
    return {byte(r * alpha), byte(g * alpha), byte(b * alpha), byte(alpha * 255)};
}

void DrawSdlOval(SDL_Renderer* renderer, SDL_Color c, float cx, float cy, float rx, float ry) {
    // Segments as our device counts them for an untransformed oval.
    int s = static_cast<int>(std::fabs(std::trunc(rx)) + std::fabs(std::trunc(ry)));
    s = s < 12 ? 12 : s > 1024 ? 1024 : s & ~3;
    std::vector<SDL_Vertex> v;
    v.reserve(static_cast<size_t>(s) * 3);
    auto at = [&](int i) {
        float a = static_cast<float>(i) * 6.2831855f / static_cast<float>(s);
        return SDL_Vertex{{cx + rx * std::cos(a), cy - ry * std::sin(a)}, c, {0, 0}};
    };
    for (int i = 1; i + 1 < s; ++i) {
        v.push_back(at(0));
        v.push_back(at(i));
        v.push_back(at(i + 1));
    }
    SDL_RenderGeometry(renderer, nullptr, v.data(), static_cast<int>(v.size()), nullptr, 0);
}

void DrawSdlRecord(SDL_Renderer* renderer, const ListFile& list, const std::array<float, 15>& r,
                   const std::map<int, SdlImage>& images) {
    SDL_Color c = Premultiplied(r[10], r[11], r[12], r[7]);
    float x = r[1] * list.sx + list.marginX, y = r[2] * list.sy + list.marginY;
    if (r[0] == kListRect) {
        SDL_SetRenderDrawColor(renderer, c.r, c.g, c.b, c.a);
        SDL_FRect rect{x, y, r[4] * list.sx, r[5] * list.sy};
        SDL_RenderFillRectF(renderer, &rect);
    } else if (r[0] == kListOval) {
        DrawSdlOval(renderer, c, x, y, r[4] * list.sx, r[5] * list.sy);
    } else if (r[0] == kListLine) {
        SDL_SetRenderDrawColor(renderer, c.r, c.g, c.b, c.a);
        SDL_RenderDrawLineF(renderer, x, y, r[4] * list.sx + list.marginX, r[5] * list.sy + list.marginY);
    } else if (r[0] > -1.0f && r[0] < 100.0f) {
        auto found = images.find(static_cast<int>(r[0]));
        if (found == images.end()) return;
        const SdlImage& image = found->second;
        int frame = static_cast<int>(r[6]);
        int perRow = 0;
        SDL_QueryTexture(image.texture, nullptr, nullptr, &perRow, nullptr);
        perRow /= image.info.frameWidth;
        if (frame < 0 || frame >= image.info.frames || perRow < 1) return;
        SDL_Rect src{frame % perRow * image.info.frameWidth, frame / perRow * image.info.frameHeight,
                     image.info.frameWidth, image.info.frameHeight};
        float scaleX = r[4] * list.sx * list.imageScale, scaleY = r[5] * list.sy * list.imageScale;
        float w = std::fabs(scaleX) * static_cast<float>(src.w),
              h = std::fabs(scaleY) * static_cast<float>(src.h);
        int flip = (scaleX < 0 ? SDL_FLIP_HORIZONTAL : 0) | (scaleY < 0 ? SDL_FLIP_VERTICAL : 0);
        SDL_FRect dst{x - w / 2, y - h / 2, w, h};
        SDL_SetTextureColorMod(image.texture, c.r, c.g, c.b);
        SDL_SetTextureAlphaMod(image.texture, c.a);
        // Our rotation turns counter-clockwise on screen; SDL's clockwise.
        SDL_RenderCopyExF(renderer, image.texture, &src, &dst, -r[3], nullptr,
                          static_cast<SDL_RendererFlip>(flip));
    }
}

void BM_Fill_SDL2(benchmark::State& state, const std::string& name) {
    ListFile list;
    if (!LoadList(state, name, list)) return;
    SdlWindow sdl;
    if (!sdl.Open(state, list.width, list.height)) return;
    SDL_Renderer* renderer = sdl.renderer;
    SDL_BlendMode premultiplied = SDL_ComposeCustomBlendMode(
        SDL_BLENDFACTOR_ONE, SDL_BLENDFACTOR_ONE_MINUS_SRC_ALPHA, SDL_BLENDOPERATION_ADD, SDL_BLENDFACTOR_ONE,
        SDL_BLENDFACTOR_ONE_MINUS_SRC_ALPHA, SDL_BLENDOPERATION_ADD);
    std::map<int, SdlImage> images;
    for (const ListImage& i : list.images) {
        SDL_Texture* t = LoadTexture(renderer, DataDir() + "/" + i.file);
        if (!t) continue;
        SDL_SetTextureBlendMode(t, premultiplied);
        SDL_SetTextureScaleMode(t, SDL_ScaleModeNearest);
        images[i.slot] = {t, i};
    }
    SDL_SetRenderDrawBlendMode(renderer, premultiplied);
    SDL_Color clear = Premultiplied(list.clear[0], list.clear[1], list.clear[2], list.clear[3]);
    TimeFrames(state, peer[name], [&] {
        SDL_SetRenderDrawColor(renderer, clear.r, clear.g, clear.b, clear.a);
        SDL_FRect all{-1, -1, static_cast<float>(list.width + 2), static_cast<float>(list.height + 2)};
        SDL_RenderFillRectF(renderer, &all);
        for (const auto& r : list.records) DrawSdlRecord(renderer, list, r, images);
        SDL_RenderFlush(renderer);
    });
    for (auto& [slot, image] : images) SDL_DestroyTexture(image.texture);
}

}  // namespace

int main(int argc, char** argv) {
    StartWindowSystems();
    for (const char* name : kLists) {
        std::string list = name;
        benchmark::RegisterBenchmark(("BM_Fill_Tolvar/" + list).c_str(),
                                     [list](benchmark::State& s) { BM_Fill_Tolvar(s, list); })
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond)
            ->MinTime(2.0);
        benchmark::RegisterBenchmark(("BM_Fill_SDL2/" + list).c_str(),
                                     [list](benchmark::State& s) { BM_Fill_SDL2(s, list); })
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond)
            ->MinTime(2.0);
    }
    if (!RunInterleaved(argc, argv)) return 1;
    std::printf("%-18s %12s %12s %12s %12s %8s %8s\n", "list", "ours ms", "SDL2 ms", "ours cpu", "SDL2 cpu",
                "ratio", "cpu ratio");
    for (const char* name : kLists) {
        const Times& o = ours[name];
        const Times& s = peer[name];
        double ow = Median(o.wall) * 1e3, sw = Median(s.wall) * 1e3;
        double oc = Median(o.cpu) * 1e3, sc = Median(s.cpu) * 1e3;
        std::printf("%-18s %12.3f %12.3f %12.3f %12.3f %8.3f %8.3f\n", name, ow, sw, oc, sc,
                    sw > 0 ? ow / sw : 0.0, sc > 0 ? oc / sc : 0.0);
    }
    StopWindowSystems();
    return 0;
}
