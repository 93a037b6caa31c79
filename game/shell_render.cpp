// The shell's render: paint the window with the background colour, fit the
// picture to the window, and replay the display list that the last update
// filled. Nothing is decided here and no game state changes (a recorded
// session replays the same at any window size and render rate); a render
// without a new update shows the same picture again. The update fits the
// game's virtual screen to the device size it sees (ApplyScale).
#include "game/my_app.h"
#include "game/records.h"
#include "game/replay_mark.h"
#include "graphics/zq_graphics.h"
#include "runtime/host/replay_host.h"
#include "runtime/host/screen_stats.h"
#include "runtime/host/zq_app.h"

namespace {

// The virtual screen fitted to a device of w x h pixels.
struct VirtualScreen {
    float scale;          // virtual to device pixels, both axes
    float width, height;  // virtual pixels
};

// False for a device without area (minimised, or a render while
// suspended) or an overscan that leaves no picture.
bool FitVirtualScreen(int w, int h, VirtualScreen& fit) {
    if (w <= 0 || h <= 0) return false;
    float fw = static_cast<float>(w), fh = static_cast<float>(h);
    // Portrait windows get a virtual screen half as large again.
    float f = w >= h ? 1.0f : 1.5f;
    float sx = (fw - 2.0f * overscan) / (rawscrw * f);
    float sy = (fh - 2.0f * overscan) / (rawscrh * f);
    if (sx <= 0.0f || sy <= 0.0f) return false;
    // The larger factor wins: the dominant side keeps its design size.
    if (sx >= sy) {
        fit = {sx, rawscrw * f, fh * rawscrw * f / fw};
    } else {
        fit = {sy, fw * rawscrh * f / fh, rawscrh * f};
    }
    return true;
}

// The name of what the display list shows, for the host's per-screen frame
// statistics: the level-complete count and every end banner are "complete".
const char* ScreenName(c_MyApp* app) {
    if (app->loaderStage > 0) return "loader";
    if (app->screenMode < 10) return "title";
    if (app->paused != 0) return "pause";
    if (app->gameOver != 0 || app->player[rec::kPlayerHomeMeter] >= 64.0f) return "complete";
    return "play";
}

}  // namespace

bool c_MyApp::ApplyScale(int w, int h) {
    // A window without area keeps the last scale, virtual size and
    // remembered size: nothing to divide by.
    if (w <= 0 || h <= 0) return false;
    if (w != lastDeviceWidth || h != lastDeviceHeight) {
        lastDeviceWidth = w;
        lastDeviceHeight = h;
        loaderStage = 1;  // reload every image at the tier of the new size
    }
    VirtualScreen fit;
    // An overscan that leaves no picture keeps the last scale as well.
    if (!FitVirtualScreen(w, h, fit)) return false;
    scaleX = scaleY = fit.scale;
    vscrw = fit.width;
    vscrh = fit.height;
    isLandscape = vscrh <= vscrw ? 1 : 0;
    return true;
}

void c_MyApp::p_OnRender() {
    MeasureRate(renderMillis, renderFps, renderFpsAverage);
    zq_app_SetScreenName(ScreenName(this));
    int w = zq_app_DeviceWidth(), h = zq_app_DeviceHeight();
    // Painted over rather than cleared: a clear alpha below 1 leaves trails.
    zq_graphics_SetColor(clearRed, clearGreen, clearBlue);
    zq_graphics_SetAlpha(clearAlpha);
    zq_graphics_DrawRect(-1.0f, -1.0f, static_cast<float>(w + 2), static_cast<float>(h + 2));
    zq_graphics_SetColor(255.0f, 255.0f, 255.0f);
    zq_graphics_SetAlpha(1.0f);
    // The picture is fitted to this window without touching the game's own
    // virtual screen, which the update keeps for the device size it saw.
    VirtualScreen fit;
    if (FitVirtualScreen(w, h, fit) && displayListFill >= 15)
        ReplayDisplayList(fit.scale, fit.scale, overscan,
                          overscan * static_cast<float>(h) / static_cast<float>(w));
    if (zqReplayWatching()) DrawReplayMark(w, h);
    zq_graphics_SetColor(255.0f, 255.0f, 255.0f);
    zq_graphics_SetAlpha(0.5f);
}
