// The zq_app module: globals and the functions over the host.
#include "runtime/host/zq_app.h"

#include "runtime/host/app.h"
#include "runtime/host/game_delegate.h"
#include "runtime/host/host_platform.h"
#include "runtime/lang/containers.h"
#include "runtime/lang/errors.h"

ZqGame* zq_app__game = nullptr;
c_App* zq_app__app = nullptr;
GC_ROOT(zq_app__app);
c_GameDelegate* zq_app__delegate = nullptr;
GC_ROOT(zq_app__delegate);
int zq_app__updateRate = 0;
Array<c_DisplayMode*> zq_app__displayModes;
GC_ROOT(zq_app__displayModes);
c_DisplayMode* zq_app__desktopMode = nullptr;
GC_ROOT(zq_app__desktopMode);

void zq_app_InitGlobals(ZqGame* host) {
    zq_app__game = host;
    zq_app__app = nullptr;
    zq_app__delegate = nullptr;
    zq_app__updateRate = 0;
    zq_app__devWidth = 0;
    zq_app__devHeight = 0;
    zq_app__displayModes = Array<c_DisplayMode*>();
    zq_app__desktopMode = nullptr;
}

void zq_app_EndApp() {
    // A browser tab has no process of its own to end: closing it is quitting.
    if (!zqHostCanQuit()) return;
    zqError(String());
}

String zq_app_LoadState() {
    return zq_app__game->LoadState();
}

void zq_app_SaveState(String state) {
    zq_app__game->SaveState(state);
}

void zq_app_SetUpdateRate(int rate) {
    zq_app__updateRate = rate;
    zq_app__game->SetUpdateRate(rate);
}

int zq_app_Millisecs() {
    return zq_app__game->Millisecs();
}

void zq_app_ValidateDeviceWindow(bool /*notify*/) {
    int width = zq_app__game->GetDeviceWidth();
    int height = zq_app__game->GetDeviceHeight();
    if (width != zq_app__devWidth || height != zq_app__devHeight) {
        zq_app__devWidth = width;
        zq_app__devHeight = height;
    }
}

int zq_app_DeviceWidth() {
    return zq_app__devWidth;
}

int zq_app_DeviceHeight() {
    return zq_app__devHeight;
}

void zq_app_EnumDisplayModes() {
    Array<ZqDisplayMode*> modes = zq_app__game->GetDisplayModes();
    // The map detects repeated sizes; the stack keeps the order.
    c_IntMap* seen = gc_new<c_IntMap>()->m_new();
    c_Stack* kept = gc_new<c_Stack>()->m_new();
    for (ZqDisplayMode* mode : modes) {
        int key = static_cast<int>((static_cast<unsigned>(mode->width) << 16) |
                                   static_cast<unsigned>(mode->height));
        if (seen->p_Contains(key)) continue;
        c_DisplayMode* entry = gc_new<c_DisplayMode>()->m_new(mode->width, mode->height);
        seen->p_Insert(key, entry);
        kept->p_Push(entry);
    }
    gc_assign(zq_app__displayModes, kept->p_ToArray());

    ZqDisplayMode* desktop = zq_app__game->GetDesktopMode();
    c_DisplayMode* desktopMode = desktop
                                     ? gc_new<c_DisplayMode>()->m_new(desktop->width, desktop->height)
                                     : gc_new<c_DisplayMode>()->m_new(zq_app__devWidth, zq_app__devHeight);
    gc_assign(zq_app__desktopMode, desktopMode);
}
