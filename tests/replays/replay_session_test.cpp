// Recording and replaying in the real host: a session recorded while the
// game plays in its window replays without one to the same state, saves
// and checkpoints; the same recording replays the same in windows of other
// sizes and at other render rates (renders do not change the game); and a
// recording read while its session still runs is valid up to its last
// write, as a killed session leaves it.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <tuple>

#include "runtime/glfw2/glfw2.h"
#include "runtime/host/replay_host.h"
#include "runtime/host/replay_recorder.h"
#include "tests/game_support/game_harness.h"

namespace {

using Outcome = ZqReplayPlayer::Outcome;

class RecordingHarnessHost : public ZqRecordingHost<HarnessHost> {};

struct Replayed {
    Outcome outcome = Outcome::Failed;
    uint64_t hash = 0;
    int checkpoints = 0, matched = 0;
    uint32_t updates = 0;
    std::string saved;
    int saves = 0;
};

// Replays `path` to its end or `maxUpdates` updates: headless (width 0),
// or in a width x height window with `renders` renders before every step.
Replayed Replay(const std::string& path, uint32_t maxUpdates = UINT32_MAX, int width = 0, int height = 0,
                int renders = 0) {
    Replayed out;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return out;
    zqreplay::FileInput input(file);
    ZqReplayPlayer player(input);
    if (player.Open()) {
        auto mode = width > 0 ? ZqReplayHost::Mode::Watch : ZqReplayHost::Mode::Headless;
        auto* host = new ZqReplayHost(mode, player);
        static const bool glfwStarted = glfw2::glfwInit() != 0;
        if (width > 0 && glfwStarted) host->SetGlfwWindow(width, height, 8, 8, 8, 0, 0, 0, false);
        host->Install();
        c_MyApp* app = gc_new<c_MyApp>()->m_new();
        do {
            for (int i = 0; i < renders; ++i) {
                host->RenderGame();
                glfw2::glfwSwapBuffers();
            }
            out.outcome = player.RunNext();
        } while (out.outcome == Outcome::Step && player.updates() < maxUpdates);
        out.hash = app->p_ReplayStateHash();
        out.checkpoints = player.checkpoints();
        out.matched = player.checkpointsMatched();
        out.updates = player.updates();
        out.saved = host->saved.ToUtf8();
        out.saves = host->saves;
        if (width > 0) glfw2::glfwCloseWindow();
        delete host;
    }
    std::fclose(file);
    return out;
}

GameHarness::Options Recording(const std::string& path) {
    GameHarness::Options options;
    options.makeHost = [path]() -> HarnessHost* {
        auto* host = new RecordingHarnessHost();
        host->program = "replay_session_test";
        host->recorder.Open({path});
        return host;
    };
    return options;
}

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Everything a session can hand the game: keys, characters, the mouse, a
// joystick, a window of another size, losing and regaining focus, a level
// started, paused and quit (which saves).
TEST(ReplaySession, ReplaysHeadlessToTheSameStateSavesAndCheckpoints) {
    const std::string path = "session.rec";
    uint64_t hash = 0;
    std::string saved;
    int saves = 0;
    {
        GameHarness game(Recording(path));
        c_MyApp* app = game.app();
        ASSERT_TRUE(game.FinishLoading());
        game.Step(50);
        game.Tap(kKeyEnter);  // level 1 from the wheel
        game.Step(5);
        ASSERT_EQ(app->screenMode, 10);
        game.Hold(kKeyRight, 40);
        game.MouseDown(300, 200);  // a drag steers
        game.Step(5);
        game.MouseMove(340, 260);
        game.Step(20);
        game.MouseUp(340, 260);
        game.TypeChar('q');
        game.Pad(0).stickX[0] = -0.8f;
        game.Pad(0).buttons[3] = true;
        game.Step(20);
        game.RemovePad(0);
        game.ResizeWindow(800, 600);  // the loader runs again at the new size
        game.Step(40);
        game.Suspend();  // comes back in the pause menu
        game.Step(5);
        game.Resume();
        game.Step(40);
        game.Tap(kKeyEscape);  // resume
        game.Step(40);
        ASSERT_EQ(app->paused, 0);
        game.Tap(kKeyEscape);
        game.Step(40);
        game.Tap(kKeyUp);
        game.Tap(kKeyEnter);  // quit: the result is saved
        game.StepUntil([&] { return app->screenMode == 1; }, 600);
        hash = app->p_ReplayStateHash();
        saved = game.savedState().ToUtf8();
        saves = game.saves();
        ASSERT_GE(saves, 2) << "the suspension and the quit save";
    }
    Replayed r = Replay(path);
    EXPECT_EQ(r.outcome, Outcome::Ended);
    EXPECT_GE(r.checkpoints, 5);
    EXPECT_EQ(r.matched, r.checkpoints);
    EXPECT_EQ(r.hash, hash);
    EXPECT_EQ(r.saved, saved);
    EXPECT_EQ(r.saves, saves);
}

// The level-2 corpus session switches to full screen and back mid-level
// (new device sizes, images reloaded) within its first 720 updates: that
// part replays the same in a small window with one render per update, a
// large one with two, and without renders.
TEST(ReplaySession, AnyWindowSizeAndRenderRateReplaysTheSameGame) {
    const std::string path = std::string(REPLAY_CORPUS) + "/level2-fullscreen.rec";
    constexpr uint32_t kUpdates = 721;  // the checkpoint after update 720 is read on the way to 721
    Replayed headless = Replay(path, kUpdates);
    ASSERT_EQ(headless.outcome, Outcome::Step);
    ASSERT_EQ(headless.checkpoints, 12);
    ASSERT_EQ(headless.matched, headless.checkpoints);
    for (auto [w, h, renders] : {std::tuple{640, 480, 1}, std::tuple{1024, 600, 2}}) {
        Replayed watched = Replay(path, kUpdates, w, h, renders);
        EXPECT_EQ(watched.outcome, Outcome::Step) << w;
        EXPECT_EQ(watched.matched, headless.checkpoints) << w;
        EXPECT_EQ(watched.hash, headless.hash) << w;
        EXPECT_EQ(watched.saved, headless.saved) << w;
    }
}

// What is on disk while the session runs is a valid recording up to the
// last write (a checkpoint, a save, or a second gone by): a killed session
// leaves exactly that.
TEST(ReplaySession, ARecordingReadWhileItsSessionRunsIsValidUpToItsLastWrite) {
    const std::string path = "running.rec";
    {
        GameHarness game(Recording(path));
        ASSERT_TRUE(game.FinishLoading());
        game.StepUntil([&] { return game.app()->screenMode == 1; }, 100);
        while (game.updates() < 130) game.Step();  // past the checkpoint at 120
        std::ofstream("killed.rec", std::ios::binary) << Slurp(path);
    }
    Replayed r = Replay("killed.rec");
    EXPECT_EQ(r.outcome, Outcome::Finished) << "no end record, no damage";
    EXPECT_GE(r.updates, 120u);
    EXPECT_GE(r.checkpoints, 2);
    EXPECT_EQ(r.matched, r.checkpoints);
}

}  // namespace
