// Skitterwind as a player starts it: a 640 x 480 window titled
// "Skitterwind" shows the loader (the logo between a blue and two orange
// rings of dots), then the title screen; F4, a window-manager close and
// Escape on the title end the program with status 0, and each closes the
// audio device on the way out.
//
// The loader lasts about half a second, too short to catch with a
// screenshot taken at some moment. The program is therefore frozen
// (SIGSTOP) for every screenshot and allowed to run a few milliseconds
// between them: the window keeps its last frame while the process is
// stopped, and the game's clock-driven loop simply catches up afterwards.
#include <gtest/gtest.h>
#include <signal.h>
#include <stb_image.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <string>

#include "tests/audio/sound_tools.h"
#include "tests/host/probe_process.h"
#include "tests/host/x11_driver.h"

// Last: Xlib's macros (None, Status ...) would clash with the headers above.
#include <X11/Xlib.h>

namespace {

constexpr const char* kTitle = "Skitterwind";

// An X server resets when its last client disconnects, and refuses new
// connections while it does: a program started just after the previous one
// quit would fail to open its window. This connection, held for the whole
// test program, keeps the server from resetting.
struct HoldServer {
    Display* display = XOpenDisplay(nullptr);
    ~HoldServer() {
        if (display) XCloseDisplay(display);
    }
} holdServer;

struct Shot {
    int width = 0, height = 0;
    int blueRing = 0, orangeRing = 0;  // ring-coloured pixels away from the logo
    double brightness = 0;             // mean of r, g and b, 0..255
};

unsigned long WaitForWindow(double seconds) {
    for (int i = 0; i < seconds * 20; ++i) {
        if (unsigned long w = xdriver::FindWindow(kTitle)) return w;
        usleep(50000);
    }
    return 0;
}

Shot TakeShot(unsigned long window) {
    Shot shot;
    std::string file = "/tmp/game_e2e_" + std::to_string(getpid()) + ".png";
    xdriver::Run("import -window " + std::to_string(window) + " " + file);
    int n = 0;
    unsigned char* pixels = stbi_load(file.c_str(), &shot.width, &shot.height, &n, 3);
    std::remove(file.c_str());
    if (!pixels) return shot;
    double sum = 0;
    const float cx = shot.width / 2.0f, cy = shot.height / 2.0f;
    for (int y = 0; y < shot.height; ++y) {
        for (int x = 0; x < shot.width; ++x) {
            const unsigned char* p = pixels + 3 * (y * shot.width + x);
            sum += (p[0] + p[1] + p[2]) / 3.0;
            // The rings run 168 to 216 pixels from the centre; the logo
            // (which has blue and orange of its own) stays within 130.
            if (std::hypot(x - cx, y - cy) < 150.0f) continue;
            if (p[2] > 150 && p[0] < 60 && p[1] > 50 && p[1] < 170) ++shot.blueRing;
            if (p[0] > 150 && p[1] > 50 && p[1] < 170 && p[2] < 60) ++shot.orangeRing;
        }
    }
    stbi_image_free(pixels);
    shot.brightness = sum / (shot.width * shot.height);
    return shot;
}

// Runs the program for `millis` milliseconds, then freezes it for a shot.
Shot RunThenShoot(const ProbeProcess& game, unsigned long window, int millis) {
    kill(game.Pid(), SIGCONT);
    usleep(millis * 1000);
    kill(game.Pid(), SIGSTOP);
    return TakeShot(window);
}

// Starts the game, checks its window and catches the loader; returns the
// window once the title screen shows (0 on failure).
unsigned long StartToTitle(ProbeProcess& game) {
    EXPECT_TRUE(game.Started()) << "PROBE_APP names skitterwind";
    unsigned long window = WaitForWindow(20);
    if (!window) {
        game.WaitFor([](const std::string&) { return false; }, 1);
        std::string out;
        for (const std::string& l : game.Lines()) out += l + "\n";
        ADD_FAILURE() << "no window titled Skitterwind; the program said:\n" << out;
        return 0;
    }
    kill(game.Pid(), SIGSTOP);
    EXPECT_EQ(xdriver::WindowTitle(window), kTitle);
    int x = 0, y = 0, w = 0, h = 0;
    EXPECT_TRUE(xdriver::WindowGeometry(window, &x, &y, &w, &h));
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);
    // Updates run only while the window has the focus.
    kill(game.Pid(), SIGCONT);
    xdriver::Xdotool("windowfocus --sync " + std::to_string(window));
    kill(game.Pid(), SIGSTOP);

    bool sawLoader = false;
    Shot shot = TakeShot(window);
    for (int i = 0; i < 400 && shot.brightness < 150; ++i) {
        if (shot.blueRing > 100 && shot.orangeRing > 100) sawLoader = true;
        shot = RunThenShoot(game, window, 15);
    }
    kill(game.Pid(), SIGCONT);
    EXPECT_TRUE(sawLoader) << "the loader's blue and orange rings were never seen";
    EXPECT_GE(shot.brightness, 150) << "the light title screen did not follow the loader";
    return window;
}

}  // namespace

namespace {

// The program's sound goes to OpenAL Soft's wave driver, which finishes the
// file's header only when the program closes the audio device: every quit
// must leave a complete file behind.
class WaveSession {
  public:
    WaveSession() { UseWaveOutput(dir_ / "session.wav"); }
    ~WaveSession() {
        ::unsetenv("ALSOFT_CONF");
        ::setenv("ALSOFT_DRIVERS", "null", 1);
    }
    std::string HeaderProblem() const { return WaveHeaderProblem(dir_ / "session.wav"); }

  private:
    TempDir dir_;
};

// Starts the game with its sound going to a wave file, reaches the title,
// ends the program with `quit` and expects status 0 and a finished file.
void QuitFromTheTitle(const std::function<void(unsigned long window)>& quit) {
    WaveSession wave;
    ProbeProcess game;
    unsigned long window = StartToTitle(game);
    ASSERT_NE(window, 0u);
    quit(window);
    EXPECT_EQ(game.WaitExit(15), 0);
    EXPECT_EQ(wave.HeaderProblem(), "") << "the audio device was closed";
}

}  // namespace

TEST(Game, ShowsTheLoaderThenTheTitleAndQuitsWithStatus0OnF4) {
    QuitFromTheTitle([](unsigned long window) {
        xdriver::Xdotool("windowfocus --sync " + std::to_string(window));
        xdriver::Xdotool("key F4");
    });
}

TEST(Game, QuitsWithStatus0WhenTheWindowManagerClosesIt) {
    QuitFromTheTitle([](unsigned long window) { xdriver::SendDeleteRequest(window); });
}

TEST(Game, EscapeOnTheTitleQuitsAndClosesTheAudioDevice) {
    QuitFromTheTitle([](unsigned long window) {
        xdriver::Xdotool("windowfocus --sync " + std::to_string(window));
        usleep(500000);  // past the title's slide-in
        // Held for a while: the menus read keys as held, once per update,
        // and a busy machine may run no update between a quick press and
        // its release.
        xdriver::Xdotool("keydown Escape");
        usleep(300000);
        xdriver::Xdotool("keyup Escape");
    });
}
