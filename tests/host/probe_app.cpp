// host_probe_app: a whole Tolvar program (the real main, host, delegate and
// devices) whose application writes what it receives to standard output,
// one line per fact, for the tests in app_test.cpp to read.
//
//   ready <deviceWidth> <deviceHeight> <displayModes>   first update
//   u<N> key <code> down=<0|1> hit=<count>              a key down or hit in update N
//   u<N> char <character>                               a queued character
//   u<N> mouse <x> <y>                                  the pointer moved since the last update
//   u<N> tick                                           every 10th update
//   suspend / resume
//
// PROBE_MODE selects a failure to exercise: "second-app" creates a second
// application in OnCreate; "throw-update" throws from the second update;
// "throw-create" throws while the application is created.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "input/zq_input.h"
#include "runtime/host/app.h"
#include "runtime/host/tolvar_game.h"
#include "runtime/host/zq_app.h"

namespace {

bool Mode(const char* name) {
    const char* mode = std::getenv("PROBE_MODE");
    return mode && std::strcmp(mode, name) == 0;
}

void Line(const char* format, int a = 0, int b = 0, int c = 0, int d = 0) {
    std::printf(format, a, b, c, d);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

}  // namespace

class c_ProbeApp : public c_App {
  public:
    int updates = 0;
    float lastX = -1, lastY = -1;

    c_ProbeApp* m_new() {
        c_App::m_new();
        if (Mode("throw-create")) throw gc_new<ThrowableObject>();
        return this;
    }

    void p_OnCreate() override {
        zq_app_SetUpdateRate(60);
        if (Mode("second-app")) gc_new<c_ProbeApp>()->m_new();
    }

    void p_OnUpdate() override {
        ++updates;
        if (updates == 1)
            Line("ready %d %d %d", zq_app_DeviceWidth(), zq_app_DeviceHeight(),
                 zq_app__displayModes.Length());
        if (updates % 10 == 0) Line("u%d tick", updates);
        if (updates == 2 && Mode("throw-update")) throw gc_new<ThrowableObject>();
        for (int code = 1; code < 512; ++code) {
            bool down = zq_input_KeyDown(code);
            int hits = zq_input_KeyHit(code);
            if (down || hits) Line("u%d key %d down=%d hit=%d", updates, code, down ? 1 : 0, hits);
        }
        for (int c = zq_input_GetChar(); c != 0; c = zq_input_GetChar()) Line("u%d char %d", updates, c);
        float x = zq_input_MouseX(), y = zq_input_MouseY();
        if (x != lastX || y != lastY) {
            Line("u%d mouse %d %d", updates, static_cast<int>(x), static_cast<int>(y));
            lastX = x;
            lastY = y;
        }
    }

    void p_OnSuspend() override { Line("suspend"); }
    void p_OnResume() override { Line("resume"); }
};

ZQ_APPLICATION(c_ProbeApp);
