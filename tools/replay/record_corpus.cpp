// skitterwind-record-replays DIR [NAME...]: records the regression corpus
// of session recordings (or only the sessions named) into DIR (tests/replays/ through `make replays`), one
// file per kind of session, each a real game in the real host and window, played by the autopilot or by a
// short script of key presses under the test clock (so re-recording gives the same files until a rule
// changes).
//
// Run it again after changing a rule on purpose (and raise the game's data
// version, game/replay_state.cpp). Needs an X server (`make replays` starts
// one); sound goes to OpenAL's null output.
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "runtime/host/replay_recorder.h"
#include "runtime/host/replay_session.h"
#include "tools/autoplay/autoplay_run.h"

namespace {

constexpr int kTitleScreen = 1, kPlayScreen = 10;
constexpr int kKeyF11 = 122;
constexpr int kTitleSettle = 45;   // updates for the title to come to rest
constexpr int kMaxUpdates = 8000;  // longer than any level with its ending

using Script = std::function<void(GameHarness&)>;

class RecordingHarnessHost : public ZqRecordingHost<HarnessHost> {};

bool AtTitle(GameHarness& game) {
    return game.app()->screenMode == kTitleScreen && game.app()->loaderStage == 0;
}

// From the first title screen of a new game into level 1 (the only level
// a new game offers): Enter on the wheel.
void StartLevelOne(GameHarness& game) {
    game.FinishLoading();
    game.StepUntil([&] { return AtTitle(game); }, kMaxUpdates);
    game.Step(kTitleSettle);
    game.Tap(kKeyEnter);
    game.StepUntil([&] { return game.app()->screenMode == kPlayScreen; }, 10);
}

// Steps until the level has ended and the title is back.
void FinishLevel(GameHarness& game) {
    game.StepUntil([&] { return game.app()->gameOver != 0; }, kMaxUpdates);
    game.StepUntil([&] { return AtTitle(game); }, kMaxUpdates);
}

// Off the first planet into empty space until every follower is lost,
// then the level's ending.
void LoseTheSwarm(GameHarness& game) {
    game.Press(kKeyLeft);
    game.StepUntil([&] { return game.app()->aliveFollowers == 0; }, kMaxUpdates);
    game.Release(kKeyLeft);
    FinishLevel(game);
}

// Level `level` flown by the autopilot; `during(n)` runs after its n-th update.
Script Piloted(int level, std::function<void(GameHarness&, int)> during = nullptr) {
    return [level, during](GameHarness& game) {
        int n = 0;
        autopilot::PlayLevel(game, level, [&](const autopilot::Pilot&) {
            if (during) during(game, ++n);
        });
    };
}

bool Record(const std::string& path, int unlocked, const Script& script) {
    GameHarness::Options options;
    options.savedState = String(autopilot::SavedStateUnlocking(unlocked).c_str());
    bool opened = false;
    options.makeHost = [&]() -> HarnessHost* {
        auto* host = new RecordingHarnessHost();
        host->program = "skitterwind";
        host->version = zqProgramVersion();
        opened = host->recorder.Open({path});
        return host;
    };
    {
        GameHarness game(options);
        if (!opened) return false;
        script(game);
    }  // the harness's end finishes the recording
    std::printf("recorded %s\n", path.c_str());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: skitterwind-record-replays DIR [NAME...]\n");
        return 2;
    }
    setenv("ALSOFT_DRIVERS", "null", 0);
    const std::string dir = argv[1];
    struct Session {
        const char* name;
        int unlocked;
        Script script;
    };
    const Session sessions[] = {
        {"level1-complete", 1, Piloted(1)},
        {"level1-time", 1,
         [](GameHarness& game) {
             StartLevelOne(game);  // and never move: the countdown runs out
             FinishLevel(game);
         }},
        {"level1-bugs", 1,
         [](GameHarness& game) {
             StartLevelOne(game);
             LoseTheSwarm(game);
         }},
        {"level1-pause-quit", 1,
         [](GameHarness& game) {
             StartLevelOne(game);
             game.Hold(kKeyRight, 90);
             game.Tap(kKeyEscape);
             game.Step(30);
             game.Tap(kKeyUp);  // the highlight from "resume" up to the cross
             game.Step(5);
             game.Tap(kKeyEnter);
             FinishLevel(game);
         }},
        {"level1-pause-resume", 1,
         [](GameHarness& game) {
             StartLevelOne(game);
             game.Hold(kKeyRight, 60);
             game.Tap(kKeyEscape);
             game.Step(60);
             game.Tap(kKeyEscape);  // back: resume
             game.Step(20);
             game.Hold(kKeyDown, 60);
             LoseTheSwarm(game);
         }},
        {"level2-fullscreen", 2,
         Piloted(2,
                 [](GameHarness& game, int n) {
                     if (n != 200 && n != 500) return;
                     game.Tap(kKeyF11);  // full screen at 200, back to the window at 500
                     game.FinishLoading();
                 })},
        {"level1-focus", 1,
         [](GameHarness& game) {
             StartLevelOne(game);
             game.Hold(kKeyRight, 60);
             game.Suspend();
             game.Step(30);  // renders only: no updates while suspended
             game.Resume();
             game.Step(20);
             game.Tap(kKeyEscape);  // the game came back paused: resume
             game.Step(20);
             game.Hold(kKeyUp, 60);
             LoseTheSwarm(game);
         }},
    };
    bool ok = true;
    for (const Session& s : sessions) {
        bool wanted = argc == 2;
        for (int i = 2; i < argc; ++i) wanted = wanted || std::string(argv[i]) == s.name;
        if (wanted) ok = Record(dir + "/" + s.name + ".rec", s.unlocked, s.script) && ok;
    }
    return ok ? 0 : 1;
}
