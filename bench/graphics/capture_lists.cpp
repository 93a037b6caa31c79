// Captures the display lists that the fill-rate benchmark replays, from the
// real game in the real host (llvmpipe under Xvfb), and says where their
// pixels go.
//
//   graphics_capture_lists OUT_DIR [SHOT_DIR]
//
// For each device size (1920 x 1080 and 640 x 480) it starts the game from
// a saved state with levels 1 to 3 passed, lets the title screen settle
// (kTitleUpdates) and writes title-WxH.list; then starts the level the
// wheel rests on and keeps, of its first kPlayUpdates updates (after the
// first second, while the view settles), the frame whose records cover the
// most device pixels as play-WxH.list. With
// SHOT_DIR it also renders both frames and writes them as PNG files there
// (the same frames every run: the harness's clock is a test clock), so that
// two builds' pictures can be compared pixel for pixel.
//
// The analysis printed per list: for each image slot and for the
// untextured kinds, the device pixels its quads cover, the part of them
// inside the inked box of each frame, the part on screen, and that in
// screens; the total is the overdraw. The busiest play frame is the one
// with the most pixels on screen.
#include <stb_image_write.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "bench/graphics/list_file.h"
#include "game/my_app.h"
#include "graphics/zq_graphics.h"
#include "tests/game_menu/saved_state.h"
#include "tests/game_support/game_harness.h"

namespace {

constexpr int kTitleUpdates = 150;
constexpr int kPlayUpdates = 600;
// Play frames before this are passed over: the view is still moving from the
// start onto the swarm.
constexpr int kPlaySettled = 60;

// The image files of the game's bank, by slot (the loader's table).
const std::map<int, const char*> kImageNames = {
    {97, "common/icons"},
    {95, "common/Buttons"},
    {94, "common/dpad"},
    {93, "common/MakerLogo"},
    {90, "fonts/shadow_pixel"},
    {99, "menu"},
    {98, "logo"},
    {80, "BadgesA"},
    {96, "parts"},
    {85, "common/circle"},
    {86, "common/light"},
    {2, "gfx"},
    {1, "gfxb"},
    {3, "cube"},
    {4, "bad"},
    {9, "circle"},
};

// The inked box (alpha above 0) of a frame, in texels relative to it.
struct Box {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    long Area() const { return static_cast<long>(std::max(0, x1 - x0)) * std::max(0, y1 - y0); }
};

Box InkedBox(c_Image* image, int frame) {
    tvxSurface* s = image->surface;
    c_Frame* f = image->frames[frame];
    Box box{image->width, image->height, 0, 0};
    if (!s->data || s->depth != 4) return Box{0, 0, image->width, image->height};
    for (int y = 0; y < image->height; ++y)
        for (int x = 0; x < image->width; ++x)
            if (s->data[(static_cast<size_t>(f->y + y) * s->width + f->x + x) * 4 + 3] != 0) {
                box.x0 = std::min(box.x0, x);
                box.y0 = std::min(box.y0, y);
                box.x1 = std::max(box.x1, x + 1);
                box.y1 = std::max(box.y1, y + 1);
            }
    return box;
}

ListFile Capture(GameHarness& game) {
    c_MyApp* app = game.app();
    ListFile list;
    list.width = app->lastDeviceWidth;
    list.height = app->lastDeviceHeight;
    list.sx = app->scaleX;
    list.sy = app->scaleY;
    list.marginX = overscan;
    list.marginY = overscan * static_cast<float>(list.height) / static_cast<float>(list.width);
    list.imageScale = app->imageScale;
    list.clear[0] = app->clearRed;
    list.clear[1] = app->clearGreen;
    list.clear[2] = app->clearBlue;
    list.clear[3] = app->clearAlpha;
    std::map<int, bool> used;
    for (int at = 0; at + 15 <= app->displayListFill; at += 15) {
        std::array<float, 15> r{};
        for (int k = 0; k < 15; ++k) r[static_cast<size_t>(k)] = app->displayList[at + k];
        list.records.push_back(r);
        if (r[0] > -1 && r[0] < 100) used[static_cast<int>(r[0])] = true;
    }
    for (const auto& [slot, _] : used) {
        c_Image* image = app->images[slot];
        auto name = kImageNames.find(slot);
        if (!image || name == kImageNames.end()) continue;
        std::string file = app->TierFileName(String(name->second)).ToNarrow();
        list.images.push_back({slot, file, image->width, image->height, image->frames.Length()});
    }
    return list;
}

// Device pixels covered by a record's quad or shape (before clipping), the
// inked part of an image frame, and the quad's share that lies on screen
// (by its upright bounding box).
struct Fill {
    double quad = 0, inked = 0, onScreen = 0;
    int records = 0;
};

// The share of the box (x0, y0) .. (x1, y1) inside the w x h screen.
double OnScreenShare(double x0, double y0, double x1, double y1, int w, int h) {
    double area = (x1 - x0) * (y1 - y0);
    if (!(area > 0)) return 0;
    double cx = std::max(0.0, std::min(x1, double(w)) - std::max(x0, 0.0));
    double cy = std::max(0.0, std::min(y1, double(h)) - std::max(y0, 0.0));
    return cx * cy / area;
}

std::map<std::string, Fill> Analyse(c_MyApp* app, const ListFile& list) {
    std::map<std::string, Fill> fills;
    Fill& clear = fills["clear (window fill)"];
    clear.quad = clear.inked = static_cast<double>(list.width + 2) * (list.height + 2);
    clear.onScreen = static_cast<double>(list.width) * list.height;
    clear.records = 1;
    for (const auto& r : list.records) {
        float kind = r[0];
        std::string name;
        double quad = 0, inked = 0, share = 1;
        double x = r[1] * list.sx + list.marginX, y = r[2] * list.sy + list.marginY;
        if (kind == kListRect) {
            name = "rectangles";
            quad = inked = std::fabs(r[4] * r[5] * list.sx * list.sy);
            share = OnScreenShare(x, y, x + r[4] * list.sx, y + r[5] * list.sy, list.width, list.height);
        } else if (kind == kListOval) {
            name = "ovals";
            quad = inked = M_PI * std::fabs(r[4] * r[5] * list.sx * list.sy);
            double rx = std::fabs(r[4] * list.sx), ry = std::fabs(r[5] * list.sy);
            share = OnScreenShare(x - rx, y - ry, x + rx, y + ry, list.width, list.height);
        } else if (kind == kListLine) {
            name = "lines";
            quad = inked = std::hypot((r[4] - r[1]) * list.sx, (r[5] - r[2]) * list.sy);
        } else if (kind > -1 && kind < 100) {
            int slot = static_cast<int>(kind);
            c_Image* image = app->images[slot];
            int frame = static_cast<int>(r[6]);
            if (!image || frame < 0 || frame >= image->frames.Length()) continue;
            double scale2 = std::fabs(r[4] * r[5]) * list.sx * list.sy * list.imageScale * list.imageScale;
            quad = scale2 * image->width * image->height;
            inked = scale2 * static_cast<double>(InkedBox(image, frame).Area());
            // Turned or not, the quad lies within its half-diagonal of the centre.
            double half =
                0.5 * std::hypot(r[4] * image->width, r[5] * image->height) * list.sx * list.imageScale;
            share = OnScreenShare(x - half, y - half, x + half, y + half, list.width, list.height);
            auto n = kImageNames.find(slot);
            name = "slot " + std::to_string(slot) + " " + (n != kImageNames.end() ? n->second : "?");
        } else {
            continue;
        }
        Fill& f = fills[name];
        f.quad += quad;
        f.inked += inked;
        f.onScreen += quad * share;
        ++f.records;
    }
    return fills;
}

double PrintAnalysis(const std::string& what, c_MyApp* app, const ListFile& list) {
    auto fills = Analyse(app, list);
    double screen = static_cast<double>(list.width) * list.height;
    double quads = 0, inked = 0, onScreen = 0;
    std::printf("%s: %zu records at %dx%d\n", what.c_str(), list.records.size(), list.width, list.height);
    std::printf("  %-28s %7s %12s %12s %12s %8s\n", "what", "records", "quad px", "inked px", "on-screen px",
                "screens");
    for (const auto& [name, f] : fills) {
        std::printf("  %-28s %7d %12.0f %12.0f %12.0f %8.3f\n", name.c_str(), f.records, f.quad, f.inked,
                    f.onScreen, f.onScreen / screen);
        quads += f.quad;
        inked += f.inked;
        onScreen += f.onScreen;
    }
    std::printf("  %-28s %7s %12.0f %12.0f %12.0f %8.3f\n", "total", "", quads, inked, onScreen,
                onScreen / screen);
    return onScreen;
}

void WritePng(const std::string& path, const std::vector<uint32_t>& argb, int w, int h) {
    std::vector<unsigned char> rgb(static_cast<size_t>(w) * h * 3);
    for (size_t i = 0; i < argb.size(); ++i) {
        rgb[3 * i] = static_cast<unsigned char>(argb[i] >> 16);
        rgb[3 * i + 1] = static_cast<unsigned char>(argb[i] >> 8);
        rgb[3 * i + 2] = static_cast<unsigned char>(argb[i]);
    }
    if (!stbi_write_png(path.c_str(), w, h, 3, rgb.data(), w * 3))
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
}

void Shot(GameHarness& game, const std::string& dir, const std::string& name) {
    if (dir.empty()) return;
    int w = 0, h = 0;
    std::vector<uint32_t> pixels = game.Screenshot(&w, &h);
    if (!pixels.empty()) WritePng(dir + "/" + name + ".png", pixels, w, h);
}

bool CaptureSize(int w, int h, const std::string& outDir, const std::string& shotDir) {
    std::string size = std::to_string(w) + "x" + std::to_string(h);
    GameHarness::Options options;
    options.width = w;
    options.height = h;
    options.savedState = String(SavedStateWithBest({95, 95, 95}).c_str());
    GameHarness game(options);
    if (!game.FinishLoading()) return false;
    game.Step(kTitleUpdates);
    c_MyApp* app = game.app();
    ListFile title = Capture(game);
    PrintAnalysis("title " + size, app, title);
    std::string comment =
        "The title screen at " + size + ", " + std::to_string(kTitleUpdates) +
        " updates after loading, levels 1 to 3 passed.\nCaptured by graphics_capture_lists.";
    if (!WriteListFile(outDir + "/title-" + size + ".list", title, comment)) return false;
    Shot(game, shotDir, "title-" + size);

    // Play: the wheel's level, from its start; the frame covering the most pixels.
    int level = app->currentLevel;
    game.Tap(kKeyEnter);
    int busiest = -1;
    double most = -1;
    for (int i = 0; i < kPlayUpdates; ++i) {
        game.Step(1);
        if (i + 1 < kPlaySettled || app->screenMode != 10 || app->paused != 0) continue;
        ListFile frame = Capture(game);
        double area = 0;
        for (const auto& [name, f] : Analyse(app, frame)) area += f.onScreen;
        if (area > most) {
            most = area;
            busiest = i;
        }
    }
    if (busiest < 0) return false;
    // The harness's clock makes the run repeatable: play it again up to that frame.
    return [&] {
        GameHarness again(options);
        again.FinishLoading();
        again.Step(kTitleUpdates);
        again.Tap(kKeyEnter);
        again.Step(busiest + 1);
        ListFile play = Capture(again);
        PrintAnalysis("play " + size + " (level " + std::to_string(level) + ", update " +
                          std::to_string(busiest + 1) + ")",
                      again.app(), play);
        std::string note =
            "Level " + std::to_string(level) + " at " + size + ", update " + std::to_string(busiest + 1) +
            " of play without input: of updates " + std::to_string(kPlaySettled) + " to " +
            std::to_string(kPlayUpdates) +
            ", the frame whose records cover the most pixels on screen.\nCaptured by graphics_capture_lists.";
        if (!WriteListFile(outDir + "/play-" + size + ".list", play, note)) return false;
        Shot(again, shotDir, "play-" + size);
        return true;
    }();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUT_DIR [SHOT_DIR]\n", argv[0]);
        return 2;
    }
    std::string out = argv[1], shots = argc > 2 ? argv[2] : "";
    for (auto [w, h] : {std::pair{1920, 1080}, std::pair{640, 480}}) {
        if (!CaptureSize(w, h, out, shots)) {
            std::fprintf(stderr, "capture at %dx%d failed\n", w, h);
            return 1;
        }
    }
    return 0;
}
