// A whole program (real main, host, delegate, graphics, audio and input
// devices) driven through a real window by real X input; the probe
// application reports what it read through the input front end.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tests/host/probe_process.h"
#include "tests/host/x11_driver.h"

namespace {

constexpr const char* kTitle = "Skitterwind";

struct KeyLine {
    int update = 0, code = 0, down = 0, hit = 0;
};

bool ParseKey(const std::string& line, KeyLine& out) {
    return std::sscanf(line.c_str(), "u%d key %d down=%d hit=%d", &out.update, &out.code, &out.down,
                       &out.hit) == 4;
}

// Waits for the probe's first update and gives its window the focus.
unsigned long StartAndFocus(ProbeProcess& probe) {
    EXPECT_TRUE(probe.Started()) << "PROBE_APP must name host_probe_app";
    EXPECT_NE(probe.WaitForPrefix("ready"), "");
    unsigned long window = xdriver::FindWindow(kTitle);
    EXPECT_NE(window, 0u);
    xdriver::Xdotool("windowfocus --sync " + std::to_string(window));
    return window;
}

// The key line for `code` with a hit, or update 0.
KeyLine WaitForHit(ProbeProcess& probe, int code) {
    KeyLine k;
    probe.WaitFor([&](const std::string& l) { return ParseKey(l, k) && k.code == code && k.hit > 0; });
    return k.code == code && k.hit > 0 ? k : KeyLine{};
}

bool HasLine(const ProbeProcess& probe, const std::string& line) {
    for (const std::string& l : probe.Lines())
        if (l == line) return true;
    std::string all;
    for (const std::string& l : probe.Lines()) all += l + "\n";
    ADD_FAILURE() << "no line \"" << line << "\" in:\n" << all;
    return false;
}

void Close(ProbeProcess& probe, unsigned long window) {
    xdriver::SendDeleteRequest(window);
    EXPECT_EQ(probe.WaitExit(), 0);
}

TEST(App, StartsIn640x480ListsDisplayModesAndEndsWithCode0OnACloseRequest) {
    ProbeProcess probe;
    std::string ready = probe.WaitForPrefix("ready");
    int width = 0, height = 0, modes = 0;
    ASSERT_EQ(std::sscanf(ready.c_str(), "ready %d %d %d", &width, &height, &modes), 3) << ready;
    EXPECT_EQ(width, 640);
    EXPECT_EQ(height, 480);
    EXPECT_GE(modes, 1);
    unsigned long window = xdriver::FindWindow(kTitle);
    ASSERT_NE(window, 0u);
    xdriver::SendDeleteRequest(window);
    EXPECT_EQ(probe.WaitExit(), 0);
}

TEST(App, StatsPrintOneLinePerScreenAndSizeAtTheExitOfACloseRequest) {
    ProbeProcess probe("", {"--stats"});
    ASSERT_NE(probe.WaitForPrefix("ready"), "");
    // Some frames to time: the probe prints a line for every update.
    for (int i = 0; i < 5; ++i) probe.WaitForPrefix("u");
    unsigned long window = xdriver::FindWindow(kTitle);
    ASSERT_NE(window, 0u);
    xdriver::SendDeleteRequest(window);
    ASSERT_EQ(probe.WaitExit(), 0);
    // The probe names no screen.
    int stats = 0;
    for (const std::string& line : probe.Lines()) {
        if (line.rfind("stats ", 0) != 0) continue;
        ++stats;
        long renders = 0;
        double median = -1, p99 = -1;
        ASSERT_EQ(std::sscanf(line.c_str(), "stats none 640x480 renders=%ld median_ms=%lf p99_ms=%lf",
                              &renders, &median, &p99),
                  3)
            << line;
        EXPECT_GE(renders, 2);
        EXPECT_GT(median, 0);
        EXPECT_GE(p99, median);
    }
    EXPECT_EQ(stats, 1);
}

TEST(App, WithoutStatsNothingIsPrintedAtExit) {
    ProbeProcess probe;
    ASSERT_NE(probe.WaitForPrefix("ready"), "");
    unsigned long window = xdriver::FindWindow(kTitle);
    ASSERT_NE(window, 0u);
    xdriver::SendDeleteRequest(window);
    ASSERT_EQ(probe.WaitExit(), 0);
    for (const std::string& line : probe.Lines()) EXPECT_NE(line.rfind("stats ", 0), 0u) << line;
}

TEST(App, ArrowKeyGivesCode39OneHitAndItsCharacter) {
    ProbeProcess probe;
    unsigned long window = StartAndFocus(probe);
    xdriver::Xdotool("key Right");
    KeyLine k = WaitForHit(probe, 39);
    EXPECT_EQ(k.hit, 1);
    probe.WaitForPrefix("u" + std::to_string(k.update) + " char");
    EXPECT_TRUE(HasLine(probe, "u" + std::to_string(k.update) + " char 65575"));
    Close(probe, window);
}

TEST(App, DeleteQueues127AndBackspaceQueues8) {
    ProbeProcess probe;
    unsigned long window = StartAndFocus(probe);
    xdriver::Xdotool("key Delete");
    EXPECT_NE(probe.WaitFor([](const std::string& l) { return l.find(" char 127") != std::string::npos; }),
              "");
    xdriver::Xdotool("key BackSpace");
    EXPECT_NE(probe.WaitFor([](const std::string& l) { return l.find(" char 8") != std::string::npos; }), "");
    Close(probe, window);
}

TEST(App, HeldKeyGivesOneHitOverThreeUpdates) {
    ProbeProcess probe;
    unsigned long window = StartAndFocus(probe);
    xdriver::Xdotool("keydown x");
    KeyLine first = WaitForHit(probe, 'X');
    ASSERT_GT(first.update, 0);
    EXPECT_EQ(first.hit, 1);
    EXPECT_EQ(first.down, 1);
    // The next two updates: still down, no further hit (repeats add none).
    for (int next = first.update + 1; next <= first.update + 2; ++next) {
        KeyLine k;
        probe.WaitFor(
            [&](const std::string& l) { return ParseKey(l, k) && k.code == 'X' && k.update == next; });
        EXPECT_EQ(k.update, next);
        EXPECT_EQ(k.down, 1);
        EXPECT_EQ(k.hit, 0);
    }
    xdriver::Xdotool("keyup x");
    Close(probe, window);
}

TEST(App, LeftClickPressesCodes1And384AndTheReleaseKeepsThePosition) {
    ProbeProcess probe;
    unsigned long window = StartAndFocus(probe);
    xdriver::Xdotool("mousemove --window " + std::to_string(window) + " 200 100");
    ASSERT_NE(
        probe.WaitFor([](const std::string& l) { return l.find(" mouse 200 100") != std::string::npos; }),
        "");
    xdriver::Xdotool("mousedown 1");
    KeyLine button = WaitForHit(probe, 1);
    ASSERT_GT(button.update, 0);
    EXPECT_EQ(button.down, 1);
    EXPECT_EQ(button.hit, 1);
    KeyLine touch = WaitForHit(probe, 384);
    EXPECT_EQ(touch.update, button.update);
    EXPECT_EQ(touch.down, 1);
    EXPECT_EQ(touch.hit, 1);

    // Release, then leave the window at once: the position read with the
    // release lies outside the window and must not be recorded.
    xdriver::Xdotool("mouseup 1 mousemove 3 3");
    // Let a few updates pass after the release.
    probe.WaitFor([&](const std::string& l) {
        int update = 0;
        return std::sscanf(l.c_str(), "u%d tick", &update) == 1 && update >= button.update + 30;
    });
    // After the pointer reached (200, 100) it was never recorded anywhere else.
    bool atClick = false;
    int lastDown = 0;
    for (const std::string& l : probe.Lines()) {
        int update = 0, x = 0, y = 0;
        if (std::sscanf(l.c_str(), "u%d mouse %d %d", &update, &x, &y) == 3) {
            if (atClick) ADD_FAILURE() << "moved after the click: " << l;
            atClick = x == 200 && y == 100;
        }
        KeyLine k;
        if (ParseKey(l, k) && (k.code == 1 || k.code == 384)) lastDown = k.update;
    }
    EXPECT_TRUE(atClick);
    // Both codes went up together and stayed up.
    EXPECT_LT(lastDown, button.update + 30);
    Close(probe, window);
}

TEST(App, FocusLossSuspendsAndRegainResumes) {
    ProbeProcess probe;
    unsigned long window = StartAndFocus(probe);
    xdriver::Xdotool("windowfocus --sync " + std::to_string(xdriver::RootWindowId()));
    EXPECT_EQ(probe.WaitFor([](const std::string& l) { return l == "suspend"; }), "suspend");
    xdriver::Xdotool("windowfocus --sync " + std::to_string(window));
    EXPECT_EQ(probe.WaitFor([](const std::string& l) { return l == "resume"; }), "resume");
    Close(probe, window);
}

TEST(App, ASecondApplicationIsARuntimeError) {
    ProbeProcess probe("second-app");
    EXPECT_EQ(probe.WaitExit(), 255);
    EXPECT_TRUE(HasLine(probe, "Tolvar Runtime Error : App has already been created"));
}

TEST(App, AnExceptionEscapingAnUpdateEndsTheProcessThroughDie) {
    ProbeProcess probe("throw-update");
    EXPECT_EQ(probe.WaitExit(), 255);
    EXPECT_TRUE(HasLine(probe, "Tolvar Runtime Error : Uncaught Tolvar Exception"));
}

TEST(App, AnExceptionWhileTheApplicationIsCreatedEndsTheProcessThroughDie) {
    ProbeProcess probe("throw-create");
    EXPECT_EQ(probe.WaitExit(), 255);
    EXPECT_TRUE(HasLine(probe, "Tolvar Runtime Error : Uncaught Tolvar Exception"));
}

}  // namespace
