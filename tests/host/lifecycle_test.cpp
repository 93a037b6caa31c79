// The host's guarded event methods, the application registration and the
// zq_app functions, against hosts whose platform answers are scripted.
#include <gtest/gtest.h>

#include <vector>

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

}  // namespace
