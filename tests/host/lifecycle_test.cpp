// The host's guarded event methods, the application registration and the
// zq_app functions, against hosts whose platform answers are scripted.
#include <gtest/gtest.h>

#include <errno.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "audio/tvx_audio.h"
#include "input/input_device.h"
#include "runtime/host/app.h"
#include "runtime/host/game_delegate.h"
#include "runtime/host/zq_app.h"
#include "tests/host/host_harness.h"

namespace {

// A platform-neutral host that counts collector steps and reports the
// display modes and window size a test gives it.
class ScriptedHost : public ZqGame {
  public:
    int collections = 0;
    std::vector<std::pair<int, int>> modes;
    int desktopWidth = 0, desktopHeight = 0;  // 0 = no desktop mode
    int width = 0, height = 0;

    void gc_collect() override {
        ++collections;
        ZqGame::gc_collect();
    }
    Array<ZqDisplayMode*> GetDisplayModes() override {
        Array<ZqDisplayMode*> out(static_cast<int>(modes.size()));
        for (int i = 0; i < out.Length(); ++i)
            out[i] = gc_new<ZqDisplayMode>(modes[i].first, modes[i].second);
        return out;
    }
    ZqDisplayMode* GetDesktopMode() override {
        return desktopWidth ? gc_new<ZqDisplayMode>(desktopWidth, desktopHeight) : nullptr;
    }
    int GetDeviceWidth() override { return width; }
    int GetDeviceHeight() override { return height; }
};

class Guards : public ::testing::Test {
  protected:
    void SetUp() override {
        delegate = gc_new<RecordingDelegate>()->m_new();
        host.SetDelegate(delegate);
    }
    ScriptedHost host;
    RecordingDelegate* delegate = nullptr;
};

TEST_F(Guards, KeyAndMouseEventsBeforeStartAreDropped) {
    host.KeyEvent(1, 39);
    host.MouseEvent(4, 0, 1, 2);
    host.UpdateGame();
    host.RenderGame();
    host.SuspendGame();
    EXPECT_TRUE(delegate->log.empty());
    EXPECT_EQ(host.collections, 0);
    EXPECT_FALSE(host.Suspended());
}

TEST_F(Guards, ASecondStartDoesNothingAndRunsNoCollection) {
    host.StartGame();
    EXPECT_TRUE(host.Started());
    EXPECT_EQ(host.collections, 1);
    host.StartGame();
    EXPECT_EQ(delegate->Count("start"), 1);
    EXPECT_EQ(host.collections, 1);
}

TEST_F(Guards, ResumeWithoutSuspendDoesNothing) {
    host.StartGame();
    host.ResumeGame();
    EXPECT_EQ(delegate->Count("resume"), 0);
    EXPECT_EQ(host.collections, 1);
}

TEST_F(Guards, WhileSuspendedUpdatesStopButRenderingAndInputFlow) {
    host.StartGame();
    host.SuspendGame();
    host.SuspendGame();
    EXPECT_EQ(delegate->Count("suspend"), 1);
    host.UpdateGame();
    host.RenderGame();
    host.KeyEvent(1, 39);
    EXPECT_EQ(delegate->Count("update"), 0);
    EXPECT_EQ(delegate->Count("render"), 1);
    EXPECT_EQ(delegate->Count("key 1 39"), 1);
    host.ResumeGame();
    host.UpdateGame();
    EXPECT_EQ(delegate->Count("resume"), 1);
    EXPECT_EQ(delegate->Count("update"), 1);
    // start, suspend, render, key, resume, update: one step after each.
    EXPECT_EQ(host.collections, 6);
}

TEST_F(Guards, AnythingThrownThatIsNotAThrowableObjectPassesThrough) {
    host.StartGame();
    delegate->onUpdate = [] { throw 7; };
    EXPECT_THROW(host.UpdateGame(), int);
}

TEST_F(Guards, AThrowableObjectEscapingAnEventEndsTheProcessWithMinusOne) {
    host.StartGame();
    delegate->onUpdate = [] { throw gc_new<ThrowableObject>(); };
    EXPECT_EXIT(host.UpdateGame(), ::testing::ExitedWithCode(255), "");
}

class AppModule : public ::testing::Test {
  protected:
    void SetUp() override { zq_app_InitGlobals(&host); }
    void TearDown() override { zq_app_InitGlobals(nullptr); }
    ScriptedHost host;
};

TEST_F(AppModule, CreatingTheApplicationInstallsOneDelegateInTheHost) {
    c_App* app = gc_new<c_App>()->m_new();
    EXPECT_EQ(zq_app__app, app);
    ASSERT_NE(zq_app__delegate, nullptr);
    EXPECT_EQ(host.Delegate(), zq_app__delegate);
    EXPECT_EQ(zq_app__delegate->graphics, nullptr);
    EXPECT_EQ(zq_app__delegate->audio, nullptr);
    EXPECT_EQ(zq_app__delegate->input, nullptr);
}

// The delegate's input routing, with an input device but no window.
class DelegateInput : public AppModule {
  protected:
    void SetUp() override {
        AppModule::SetUp();
        gc_new<c_App>()->m_new();
        input = gc_new<c_InputDevice>()->m_new();
        gc_assign(zq_app__delegate->input, input);
    }
    c_InputDevice* input = nullptr;
};

TEST_F(DelegateInput, MouseButtonsAreKeysAndOnlyPressAndMoveRecordThePosition) {
    zq_app__delegate->MouseEvent(4, 0, 10, 20);
    EXPECT_TRUE(input->p_KeyDown(1));
    EXPECT_TRUE(input->p_KeyDown(384));
    EXPECT_EQ(input->p_KeyHit(1), 1);
    EXPECT_EQ(input->p_KeyHit(384), 1);
    EXPECT_FLOAT_EQ(input->p_MouseX(), 10);
    zq_app__delegate->MouseEvent(5, 0, 30, 40);
    EXPECT_FALSE(input->p_KeyDown(1));
    EXPECT_FALSE(input->p_KeyDown(384));
    EXPECT_FLOAT_EQ(input->p_MouseX(), 10);
    EXPECT_FLOAT_EQ(input->p_MouseY(), 20);
    zq_app__delegate->MouseEvent(6, -1, 50, 60);
    EXPECT_FLOAT_EQ(input->p_MouseX(), 50);
    EXPECT_FLOAT_EQ(input->p_MouseY(), 60);
}

TEST_F(DelegateInput, KeysReachTheInputDeviceAndOnlyCloseOrBackKeyDownsEndTheApp) {
    zq_app__delegate->KeyEvent(1, 39);
    EXPECT_TRUE(input->p_KeyDown(39));
    zq_app__delegate->KeyEvent(2, 432);  // a release alone ends nothing
    EXPECT_EXIT(zq_app__delegate->KeyEvent(1, 432), ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(zq_app__delegate->KeyEvent(1, 416), ::testing::ExitedWithCode(0), "");
}

// The application hears of a suspension while its sounds still play, and
// of the resumption once they play again.
std::vector<std::string> orderLog;

class OrderApp : public c_App {
  public:
    OrderApp* m_new() {
        c_App::m_new();
        return this;
    }
    void p_OnSuspend() override { orderLog.push_back("app suspend"); }
    void p_OnResume() override { orderLog.push_back("app resume"); }
};

class OrderAudio : public tvxAudio {
  public:
    void Suspend() override {
        orderLog.push_back("audio suspend");
        tvxAudio::Suspend();
    }
    void Resume() override {
        orderLog.push_back("audio resume");
        tvxAudio::Resume();
    }
};

TEST_F(AppModule, SuspendTellsTheAppBeforeTheAudioAndResumeAfter) {
    gc_new<OrderApp>()->m_new();
    gc_assign(zq_app__delegate->audio, static_cast<tvxAudio*>(gc_new<OrderAudio>()));
    orderLog.clear();
    zq_app__delegate->SuspendGame();
    zq_app__delegate->ResumeGame();
    EXPECT_EQ(orderLog,
              (std::vector<std::string>{"app suspend", "audio suspend", "audio resume", "app resume"}));
}

TEST_F(AppModule, DisplayModesKeepTheFirstOfEachSizeInHostOrder) {
    host.modes = {{640, 480}, {800, 600}, {640, 480}, {1024, 768}, {800, 600}, {480, 640}};
    host.desktopWidth = 1280;
    host.desktopHeight = 1024;
    zq_app_EnumDisplayModes();
    ASSERT_EQ(zq_app__displayModes.Length(), 4);
    int expected[4][2] = {{640, 480}, {800, 600}, {1024, 768}, {480, 640}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(zq_app__displayModes[i]->width, expected[i][0]);
        EXPECT_EQ(zq_app__displayModes[i]->height, expected[i][1]);
    }
    ASSERT_NE(zq_app__desktopMode, nullptr);
    EXPECT_EQ(zq_app__desktopMode->width, 1280);
    EXPECT_EQ(zq_app__desktopMode->height, 1024);
}

TEST_F(AppModule, WithoutModesTheListIsEmptyAndTheDesktopIsTheDeviceSize) {
    host.width = 640;
    host.height = 480;
    zq_app_ValidateDeviceWindow(false);
    zq_app_EnumDisplayModes();
    EXPECT_EQ(zq_app__displayModes.Length(), 0);
    ASSERT_NE(zq_app__desktopMode, nullptr);
    EXPECT_EQ(zq_app__desktopMode->width, 640);
    EXPECT_EQ(zq_app__desktopMode->height, 480);
}

TEST_F(AppModule, DeviceSizeFollowsTheHostOnEveryValidation) {
    host.width = 640;
    host.height = 480;
    zq_app_ValidateDeviceWindow(false);
    EXPECT_EQ(zq_app_DeviceWidth(), 640);
    EXPECT_EQ(zq_app_DeviceHeight(), 480);
    host.width = 1280;
    host.height = 1024;
    EXPECT_EQ(zq_app_DeviceWidth(), 640);  // stored, not read live
    zq_app_ValidateDeviceWindow(false);
    EXPECT_EQ(zq_app_DeviceWidth(), 1280);
    EXPECT_EQ(zq_app_DeviceHeight(), 1024);
}

TEST(HostServices, UpdateRateSetsThePeriodAndRestartsTheSchedule) {
    ZqTolvarGame host;
    host.nextUpdate = 123;
    host.SetUpdateRate(50);
    EXPECT_EQ(host.UpdateRate(), 50);
    EXPECT_DOUBLE_EQ(host.updatePeriod, 0.02);
    EXPECT_EQ(host.nextUpdate, 0);
    host.nextUpdate = 5;
    host.SetUpdateRate(0);  // keeps the old period, still unschedules
    EXPECT_DOUBLE_EQ(host.updatePeriod, 0.02);
    EXPECT_EQ(host.nextUpdate, 0);
}

TEST(HostServices, MillisecsTruncatesGlfwTime) {
    ManualClock clock;
    clock.now = 1.2349;
    ClockGuard guard(&clock);
    ZqTolvarGame host;
    EXPECT_EQ(host.Millisecs(), 1234);
}

TEST(HostServices, TolvarPathsMapUnderTheApplicationFolder) {
    ZqTolvarGame host;
    String mapped = host.PathToFilePath("tolvar://data/a.png");
    EXPECT_TRUE(mapped.EndsWith("/data/a.png"));
    EXPECT_FALSE(mapped.StartsWith("tolvar:"));
    EXPECT_TRUE(host.PathToFilePath("tolvar:nowhere").IsEmpty());
    EXPECT_TRUE(host.PathToFilePath("./x.txt") == String("./x.txt"));
}

// A stand-in opener on PATH that records its arguments, so OpenUrl's real
// fork and exec run without a desktop.
class FakeOpener : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/host_open_url_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        record = dir + "/record";
        std::ofstream script(dir + "/xdg-open");
        // The signals the opener starts with ignored go beside the record.
        script << "#!/bin/sh\nsed -n 's/^SigIgn:[[:space:]]*//p' /proc/$$/status > " << dir << "/ignored\n"
               << "printf '%s|%s' \"$#\" \"$1\" > \"$0.tmp\" && mv \"$0.tmp\" " << record << "\n";
        script.close();
        chmod((dir + "/xdg-open").c_str(), 0755);
        oldPath = getenv("PATH");
        setenv("PATH", (dir + ":" + oldPath).c_str(), 1);
    }
    void TearDown() override {
        setenv("PATH", oldPath.c_str(), 1);
        std::system(("rm -rf " + dir).c_str());
    }
    // The opener's record ("<argument count>|<first argument>"), or empty
    // when it did not run within `seconds`.
    std::string WaitForRecord(double seconds) {
        for (int i = 0; i < seconds * 100; ++i) {
            std::ifstream in(record);
            if (in) {
                std::stringstream text;
                text << in.rdbuf();
                return text.str();
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return std::string();
    }
    std::string dir, record, oldPath;
};

TEST_F(FakeOpener, OpenUrlHandsTheUrlOverAsOneArgumentWithoutAShellAndLeavesNoChild) {
    ZqTolvarGame host;
    std::string url = "http://example.invalid/a b?x=1&y=$(touch " + dir + "/shell);`touch " + dir + "/tick`";
    host.OpenUrl(String(url.c_str()));
    EXPECT_EQ(WaitForRecord(5), "1|" + url);
    struct stat st;
    EXPECT_NE(stat((dir + "/shell").c_str(), &st), 0);
    EXPECT_NE(stat((dir + "/tick").c_str(), &st), 0);
    // The intermediate child was reaped and the opener belongs to init.
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
}

// The runtime ignores SIGPIPE; the opener and the browser it starts must
// not inherit that.
TEST_F(FakeOpener, OpenerStartsWithThePipeSignalAtItsDefault) {
    struct sigaction ignore {
    }, previous{};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGPIPE, &ignore, &previous);
    ZqTolvarGame host;
    host.OpenUrl(String("http://example.invalid/"));
    EXPECT_EQ(WaitForRecord(5), "1|http://example.invalid/");
    sigaction(SIGPIPE, &previous, nullptr);
    std::ifstream in(dir + "/ignored");
    std::string mask;
    in >> mask;
    ASSERT_FALSE(mask.empty());
    unsigned long long ignored = std::stoull(mask, nullptr, 16);
    EXPECT_EQ(ignored & (1ull << (SIGPIPE - 1)), 0u) << "SigIgn " << mask;
}

TEST_F(FakeOpener, OpenUrlNarrowsEachUnitToItsLowByte) {
    ZqTolvarGame host;
    const Char units[] = {u'h', u'i', 0x0141};
    host.OpenUrl(String(units, 3));
    EXPECT_EQ(WaitForRecord(5), "1|hiA");
}

TEST_F(FakeOpener, AUrlThatReadsAsAnOptionIsNotOpened) {
    ZqTolvarGame host;
    host.OpenUrl("--help");
    host.OpenUrl("");
    EXPECT_EQ(WaitForRecord(0.5), "");
}

}  // namespace
