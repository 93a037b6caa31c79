// The showcase as a user meets it: it opens its window, draws a colourful
// field of sprites, answers the keyboard, survives two full-screen switches
// and quits cleanly on Escape.
#include <gtest/gtest.h>
#include <stb_image.h>
#include <unistd.h>

#include <cstdio>
#include <set>
#include <string>

#include "tests/host/probe_process.h"
#include "tests/host/x11_driver.h"

namespace {

// Waits until a window titled "Skitterwind" is viewable; 0 on timeout.
unsigned long WaitForWindow(double seconds) {
    for (int i = 0; i < seconds * 10; ++i) {
        if (unsigned long w = xdriver::FindWindow("Skitterwind")) return w;
        usleep(100000);
    }
    return 0;
}

int SpriteCount(const std::string& line) {
    return std::stoi(line.substr(line.rfind(' ') + 1));
}

bool IsSpriteLine(const std::string& line) {
    return line.rfind("showcase: sprites ", 0) == 0;
}

}  // namespace

TEST(Showcase, RunsDrawsAnswersKeysAndQuits) {
    ProbeProcess showcase;
    ASSERT_TRUE(showcase.Started()) << "PROBE_APP names the showcase";
    std::string first = showcase.WaitFor(IsSpriteLine, 20);
    ASSERT_FALSE(first.empty());
    int initial = SpriteCount(first);

    unsigned long window = WaitForWindow(20);
    ASSERT_NE(window, 0u);
    xdriver::Xdotool("windowfocus --sync " + std::to_string(window));
    sleep(1);
    EXPECT_GE(xdriver::DistinctColours(window), 6) << "sprites in several colours over the background";

    for (int i = 0; i < 5; ++i) {
        xdriver::Xdotool("key Up");
        usleep(150000);
    }
    int raised = initial;
    for (std::string line; !(line = showcase.WaitFor(IsSpriteLine, 5)).empty();) {
        raised = SpriteCount(line);
        if (raised >= 2499) break;
    }
    EXPECT_GT(raised, initial);

    // Full screen: a new, untitled window covering the screen, found by its
    // process; the screenshot is of the whole screen. Back in a window: found
    // by title.
    xdriver::Xdotool("key F11");
    ASSERT_FALSE(showcase.WaitForPrefix("showcase: full screen", 10).empty());
    std::string fullscreen = xdriver::Run("xdotool search --sync --onlyvisible --pid " +
                                          std::to_string(showcase.Pid()) + " | head -1");
    ASSERT_FALSE(fullscreen.empty());
    xdriver::Xdotool("windowfocus --sync " + fullscreen);
    sleep(1);
    EXPECT_GE(xdriver::DistinctColours(xdriver::RootWindowId()), 6) << "still drawing sprites in full screen";

    xdriver::Xdotool("key F11");
    ASSERT_FALSE(showcase.WaitForPrefix("showcase: window", 10).empty());
    window = WaitForWindow(10);
    ASSERT_NE(window, 0u);
    xdriver::Xdotool("windowfocus --sync " + std::to_string(window));
    sleep(1);
    EXPECT_GE(xdriver::DistinctColours(window), 6) << "still drawing sprites back in a window";

    xdriver::Xdotool("key Escape");
    EXPECT_EQ(showcase.WaitExit(15), 0);
}
