// Test support: a c_MyApp without a window. A HeadlessHost stands in for
// the desktop host (a settable clock, the saved state kept in memory), the
// framework's globals are initialised as at program start, and the test's
// game object is a collector root, so tests can call the game's methods one
// by one and inspect its fields and display list.
//
// No graphics, audio or input device is installed: the front ends answer
// null / 0 / false and drawing only fills the display list. Main thread only.
#pragma once

#include "game/my_app.h"
#include "runtime/lang/game.h"

class HeadlessHost : public ZqGame {
  public:
    int millis = 1000;  // what Millisecs() answers
    String state;       // the saved state
    int saves = 0;
    int width = 640, height = 480;  // the device size

    int Millisecs() override { return millis; }
    int SaveState(String s) override {
        state = s;
        ++saves;
        return 0;
    }
    String LoadState() override { return state; }
    int GetDeviceWidth() override { return width; }
    int GetDeviceHeight() override { return height; }
};

// Resets the globals (zqInit's work without the window) with `host` as the
// framework's host, and returns a fresh game object with its construction
// defaults (InitFields, not registered as the application). The object stays
// alive until the next call.
c_MyApp* NewHeadlessGame(HeadlessHost* host);

// The i-th display-list record's element `e`.
inline float Record(c_MyApp* app, int i, int e) {
    return app->displayList[i * 15 + e];
}
inline int RecordCount(c_MyApp* app) {
    return app->displayListFill / 15;
}
