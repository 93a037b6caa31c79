// The host's window and its callbacks, in a real window under Xvfb driven
// by real X input (xdotool) and a real window-manager close request.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

#include "input/keys.h"
#include "tests/host/host_harness.h"
#include "tests/host/x11_driver.h"

namespace {

constexpr const char* kTitle = "Skitterwind";

RecordingDelegate* NewDelegate() {
    return gc_new<RecordingDelegate>()->m_new();
}

// Runs `step` once, in the first update, with the window's X id.
template <class Step>
void OnFirstUpdate(RecordingDelegate* d, Step step) {
    d->onUpdate = [d, step] {
        if (d->updates == 1) step(xdriver::FindWindow(kTitle));
    };
}

TEST(Window, OpensCentred640x480AndTitledSkitterwind) {
    RecordingDelegate* d = NewDelegate();
    int width = 0, height = 0, x = 0, y = 0, deviceWidth = 0, deviceHeight = 0;
    std::string title;
    OnFirstUpdate(d, [&](unsigned long window) {
        title = xdriver::WindowTitle(window);
        xdriver::WindowGeometry(window, &x, &y, &width, &height);
        deviceWidth = Host()->GetDeviceWidth();
        deviceHeight = Host()->GetDeviceHeight();
        Finish();
    });
    RunHost(d);
    EXPECT_EQ(title, kTitle);
    EXPECT_EQ(width, 640);
    EXPECT_EQ(height, 480);
    EXPECT_EQ(deviceWidth, 640);
    EXPECT_EQ(deviceHeight, 480);
    // Centred on the 1280 x 1024 test screen.
    EXPECT_EQ(x, (1280 - 640) / 2);
    EXPECT_EQ(y, (1024 - 480) / 2);
}

TEST(Window, CloseRequestDeliversKey432DownAndUpAndTheWindowStaysOpen) {
    RecordingDelegate* d = NewDelegate();
    int closeUpdate = 0;
    d->onUpdate = [&] {
        if (d->updates == 1) xdriver::SendDeleteRequest(xdriver::FindWindow(kTitle));
        if (!closeUpdate && d->Find("key 2 432") >= 0) closeUpdate = d->updates;
        // Several frames later the window is still open and the loop runs on.
        if (closeUpdate && d->updates == closeUpdate + 5) Finish();
    };
    RunHost(d);
    ASSERT_FALSE(TimedOut());
    int down = d->Find("key 1 432");
    ASSERT_GE(down, 0);
    EXPECT_EQ(d->log[down + 1], "key 2 432");
    EXPECT_EQ(d->Count("key 1 432"), 1);
    EXPECT_EQ(d->Count("key 2 432"), 1);
    EXPECT_GT(d->updates, closeUpdate);
}

TEST(Window, MouseButtonsZeroToTwoArriveAndButtonThreeGivesNothing) {
    RecordingDelegate* d = NewDelegate();
    d->onUpdate = [&] {
        if (d->updates == 1) {
            unsigned long w = xdriver::FindWindow(kTitle);
            xdriver::Xdotool("mousemove --window " + std::to_string(w) + " 100 50");
            xdriver::Xdotool("click 8");  // X button 8 is GLFW mouse button 3
            xdriver::Xdotool("click 3");  // X button 3 (right) is GLFW button 1
            xdriver::Xdotool("click 1");
        }
        if (d->Find("mouse 5 0 100 50") >= 0) Finish();
    };
    RunHost(d);
    ASSERT_FALSE(TimedOut());
    EXPECT_GE(d->Find("mouse 6 -1 100 50"), 0);
    int rightDown = d->Find("mouse 4 1 100 50");
    EXPECT_GE(rightDown, 0);
    EXPECT_GT(d->Find("mouse 5 1 100 50", rightDown), rightDown);
    EXPECT_GE(d->Find("mouse 4 0 100 50"), 0);
    for (const std::string& e : d->log) {
        EXPECT_EQ(e.rfind("mouse 4 3", 0), std::string::npos) << e;
        EXPECT_EQ(e.rfind("mouse 5 3", 0), std::string::npos) << e;
    }
}

TEST(Window, KeysArriveTranslatedWithTheirEditingCharacters) {
    RecordingDelegate* d = NewDelegate();
    d->onUpdate = [&] {
        if (d->updates == 1) {
            unsigned long w = xdriver::FindWindow(kTitle);
            xdriver::Xdotool("windowfocus --sync " + std::to_string(w));
            xdriver::Xdotool("key Right Delete a");
        }
        if (d->Find("key 2 65") >= 0) Finish();
    };
    RunHost(d);
    ASSERT_FALSE(TimedOut());
    int right = d->Find("key 1 39");
    ASSERT_GE(right, 0);
    EXPECT_EQ(d->log[right + 1], "key 3 65575");  // the arrow's character follows its key-down
    EXPECT_GE(d->Find("key 2 39", right), 0);
    int del = d->Find("key 1 46");
    ASSERT_GE(del, 0);
    EXPECT_EQ(d->log[del + 1], "key 3 127");
    // A letter: its key code, and the typed character from the character callback.
    int letter = d->Find("key 1 65");
    ASSERT_GE(letter, 0);
    EXPECT_GE(d->Find("key 3 97", letter), 0);
}

TEST(Window, LosingFocusSuspendsOnceAndRenderingGoesOnWithoutUpdates) {
    RecordingDelegate* d = NewDelegate();
    unsigned long window = 0;
    std::thread driver;
    int updatesAtResume = -1;
    // A schedule: after the pause, a schedule that was not restarted would
    // be far behind and catch up with a burst of updates.
    d->onStart = [] { Host()->SetUpdateRate(60); };
    d->onUpdate = [&] {
        if (d->updates == 1) {
            window = xdriver::FindWindow(kTitle);
            xdriver::Xdotool("windowfocus --sync " + std::to_string(window));
        }
        if (d->updates == 3)
            xdriver::Xdotool("windowfocus --sync " + std::to_string(xdriver::RootWindowId()));
        if (updatesAtResume < 0 && d->Find("resume") >= 0) updatesAtResume = d->updates;
        if (updatesAtResume >= 0 && d->updates == updatesAtResume + 3) Finish();
    };
    d->onRender = [&] {
        // The first render while suspended: the loop now blocks for events.
        // Wake it with pointer motion a few times, then give the focus back.
        if (Host()->Suspended() && !driver.joinable()) {
            driver = std::thread([window] {
                for (int i = 0; i < 3; ++i) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(100));
                    xdriver::Xdotool("mousemove --window " + std::to_string(window) + " " +
                                     std::to_string(10 + i) + " 10");
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
                xdriver::Xdotool("windowfocus " + std::to_string(window));
            });
        }
    };
    RunHost(d);
    if (driver.joinable()) driver.join();
    ASSERT_FALSE(TimedOut());
    EXPECT_EQ(d->Count("suspend"), 1);
    EXPECT_EQ(d->Count("resume"), 1);
    int suspendAt = d->Find("suspend");
    int resumeAt = d->Find("resume");
    ASSERT_LT(suspendAt, resumeAt);
    // Between suspend and resume: renders (one per wake-up), no update.
    int renders = 0;
    for (int i = suspendAt; i < resumeAt; ++i) {
        EXPECT_NE(d->log[i], "update");
        if (d->log[i] == "render") ++renders;
    }
    EXPECT_GE(renders, 2);
    // The loop blocked for events: a few wake-ups in about 400 ms (a loop
    // that polled would have rendered hundreds of frames).
    EXPECT_LE(renders, 20);
    // Updates run again right after the resume, on a schedule restarted
    // from the current time: no catch-up burst in the first frame.
    EXPECT_EQ(d->log[resumeAt + 1], "update");
    int firstFrameUpdates = 0;
    for (size_t i = static_cast<size_t>(resumeAt) + 1; i < d->log.size() && d->log[i] != "render"; ++i)
        firstFrameUpdates += d->log[i] == "update";
    EXPECT_LT(firstFrameUpdates, 4);
}

TEST(Window, SwitchingToFullScreenReleasesHeldKeysFirstAndOpensANewContext) {
    RecordingDelegate* d = NewDelegate();
    int seqBefore = 0, seqAtRelease = -1, seqAfter = 0, widthAfter = 0;
    bool switched = false;
    d->onKey = [&] {
        if (d->log.back() == "key 2 39" && seqAtRelease < 0) seqAtRelease = glfwGraphicsSeq;
    };
    d->onUpdate = [&] {
        if (d->updates == 1) {
            xdriver::Xdotool("windowfocus --sync " + std::to_string(xdriver::FindWindow(kTitle)));
            xdriver::Xdotool("keydown Right");
        }
        if (!switched && d->Find("key 1 39") >= 0) {
            switched = true;
            seqBefore = glfwGraphicsSeq;
            Host()->SetGlfwWindow(1280, 1024, 8, 8, 8, 0, 0, 0, true);
            seqAfter = glfwGraphicsSeq;
            widthAfter = Host()->GetDeviceWidth();
            xdriver::Xdotool("keyup Right");
            Finish();
        }
    };
    RunHost(d);
    ASSERT_FALSE(TimedOut());
    EXPECT_EQ(seqAtRelease, seqBefore);  // released while the old window was still open
    EXPECT_EQ(seqAfter, seqBefore + 1);
    EXPECT_EQ(widthAfter, 1280);
    EXPECT_EQ(d->Count("key 2 39"), 1);
}

// A button held while the window is re-opened: GLFW drops the old window's
// callbacks, so its release would never arrive and the button stay down.
TEST(Window, SwitchingWindowsReleasesHeldMouseButtonsFirst) {
    RecordingDelegate* d = NewDelegate();
    int seqBefore = 0, seqAtRelease = -1;
    bool switched = false;
    d->onMouse = [&] {
        if (d->log.back().rfind("mouse 5 0 ", 0) == 0 && seqAtRelease < 0) seqAtRelease = glfwGraphicsSeq;
    };
    d->onUpdate = [&] {
        if (d->updates == 1) {
            unsigned long window = xdriver::FindWindow(kTitle);
            xdriver::Xdotool("windowfocus --sync " + std::to_string(window));
            xdriver::Xdotool("mousemove --window " + std::to_string(window) + " 100 100");
            xdriver::Xdotool("mousedown 1");
        }
        bool pressed = false;
        for (const std::string& e : d->log) pressed = pressed || e.rfind("mouse 4 0 ", 0) == 0;
        if (!switched && pressed) {
            switched = true;
            seqBefore = glfwGraphicsSeq;
            Host()->SetGlfwWindow(320, 240, 8, 8, 8, 0, 0, 0, false);
            xdriver::Xdotool("mouseup 1");
            Finish();
        }
    };
    RunHost(d);
    ASSERT_FALSE(TimedOut());
    EXPECT_EQ(seqAtRelease, seqBefore);  // released while the old window was still open
    int releases = 0;
    for (const std::string& e : d->log) releases += e.rfind("mouse 5 0 ", 0) == 0;
    EXPECT_EQ(releases, 1);
}

// A host whose window openings fail from the `failFrom`-th on (counting
// from 1), or only in full screen.
class RefusingHost : public ZqTolvarGame {
  public:
    int failFrom = 1 << 30;
    bool refuseFullScreen = false;
    int opens = 0;
    std::vector<std::string> asked;

  protected:
    bool OpenWindow(int width, int height, int r, int g, int b, int a, int depth, int stencil,
                    bool fullscreen) override {
        ++opens;
        asked.push_back(std::to_string(width) + "x" + std::to_string(height) + (fullscreen ? " full" : ""));
        if (opens >= failFrom || (fullscreen && refuseFullScreen)) return false;
        return ZqTolvarGame::OpenWindow(width, height, r, g, b, a, depth, stencil, fullscreen);
    }
};

TEST(Window, RefusedFullScreenFallsBackToTheLastWindowedSize) {
    RecordingDelegate* d = NewDelegate();
    auto* host = new RefusingHost();
    host->refuseFullScreen = true;
    std::vector<std::string> asked;
    int seqBefore = 0, seqAfter = 0, widthAfter = 0, updatesAfter = -1;
    std::string titleAfter;
    d->onUpdate = [&] {
        if (d->updates == 2) Host()->SetGlfwWindow(400, 300, 8, 8, 8, 0, 0, 0, false);
        if (d->updates == 3) {
            seqBefore = glfwGraphicsSeq;
            Host()->SetGlfwWindow(1280, 1024, 8, 8, 8, 0, 0, 0, true);
            seqAfter = glfwGraphicsSeq;
            widthAfter = Host()->GetDeviceWidth();
            updatesAfter = d->updates;
        }
        if (updatesAfter > 0 && d->updates == updatesAfter + 3) {
            titleAfter = xdriver::WindowTitle(xdriver::FindWindow(kTitle));
            asked = host->asked;
            Finish();
        }
    };
    RunHost(d, 20, host);
    ASSERT_FALSE(TimedOut());
    EXPECT_EQ(asked, (std::vector<std::string>{"640x480", "400x300", "1280x1024 full", "400x300"}));
    EXPECT_EQ(seqAfter, seqBefore + 1);
    EXPECT_EQ(widthAfter, 400);
    EXPECT_EQ(titleAfter, kTitle);  // a windowed window, titled as usual
}

TEST(WindowDeathTest, NoWindowAtAllEndsWithStatusMinusOne) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto run = [] {
        dup2(2, 1);  // the message goes to standard output; the matcher reads standard error
        RecordingDelegate* d = NewDelegate();
        auto* host = new RefusingHost();
        host->failFrom = 2;
        d->onUpdate = [&] {
            if (d->updates == 1) Host()->SetGlfwWindow(1280, 1024, 8, 8, 8, 0, 0, 0, true);
        };
        RunHost(d, 20, host);
    };
    EXPECT_EXIT(run(), ::testing::ExitedWithCode(255), "glfwOpenWindow failed");
}

}  // namespace
