// Drives the autopilot through the game harness: level start, key presses
// and releases per update, and the ending back to the title. See the header.
#include "tools/autoplay/autoplay_run.h"

#include <algorithm>
#include <vector>

#include "game/records.h"
#include "tests/game_menu/saved_state.h"

namespace autopilot {
namespace {

constexpr int kTitleScreen = 1, kLevelStartScreen = 11, kPlayScreen = 10;
// Longer than any level can last (its countdown is 6311 updates).
constexpr int kMaxPlayUpdates = 7000;
constexpr int kMaxEndingUpdates = 1200;
constexpr int kTitleSettle = 45;     // updates for the title's slide-in or the wheel to come to rest
constexpr int kMaxWheelSteps = 110;  // more than the levels on the wheel
constexpr int kPass = 30;            // a best result that passes a level but unlocks only the next

// Holds exactly the keys in `want`, pressing and releasing as needed.
class KeyBoard {
  public:
    explicit KeyBoard(GameHarness& game) : game_(game) {}
    void Hold(const Keys& want) {
        Set(kKeyLeft, want.left, held_.left);
        Set(kKeyRight, want.right, held_.right);
        Set(kKeyUp, want.up, held_.up);
        Set(kKeyDown, want.down, held_.down);
    }
    void ReleaseAll() { Hold(Keys{}); }

  private:
    void Set(int code, bool want, bool& held) {
        if (want == held) return;
        if (want)
            game_.Press(code);
        else
            game_.Release(code);
        held = want;
    }
    GameHarness& game_;
    Keys held_;
};

// Turns the title's wheel to `level` with the arrow keys, as a player
// would, and selects it; false when the wheel does not start it (locked).
bool StartFromWheel(GameHarness& game, int level) {
    c_MyApp* app = game.app();
    game.Step(kTitleSettle);
    for (int i = 0; i < kMaxWheelSteps && app->selectedLevel != level - 1; ++i)
        game.Tap(app->selectedLevel < level - 1 ? kKeyDown : kKeyUp);
    game.Step(kTitleSettle);  // at rest: a turning wheel selects what passes its pointer
    if (app->selectedLevel != level - 1 || app->levelUnlocked == 0) return false;
    game.Press(kKeyEnter);
    game.Step();
    game.Release(kKeyEnter);
    return app->screenMode == kLevelStartScreen && app->currentLevel == level;
}

}  // namespace

std::string SavedStateUnlocking(int level) {
    // A pass on every level before it: each pass unlocks the next level.
    return SavedStateWithBest(std::vector<int>(static_cast<size_t>(std::max(level - 1, 0)), kPass));
}

LevelRun PlayLevel(GameHarness& game, int level, const std::function<void(const Pilot&)>& onPlayUpdate) {
    c_MyApp* app = game.app();
    game.FinishLoading();
    game.StepUntil([app] { return app->screenMode == kTitleScreen && app->loaderStage == 0; },
                   kMaxEndingUpdates);

    LevelRun run;
    run.level = level;
    run.startedFromWheel = StartFromWheel(game, level);
    if (!run.startedFromWheel) {
        // Locked in this game's saved results: start it as the wheel would.
        app->currentLevel = level;
        app->screenMode = kLevelStartScreen;
    }
    game.Step();  // the level start builds the level and switches to play

    Pilot pilot;
    KeyBoard keys(game);
    while (app->screenMode == kPlayScreen && app->gameOver == 0 &&
           app->player[rec::kPlayerHomeMeter] < 64.0f && run.updates < kMaxPlayUpdates) {
        keys.Hold(pilot.Decide(Look(*app)));
        game.Step();
        ++run.updates;
        if (onPlayUpdate) onPlayUpdate(pilot);
    }
    keys.ReleaseAll();
    // A completed level is counted by the level-complete sequence, which
    // ends the level once every bug near home has flown in.
    if (app->gameOver == 0) game.StepUntil([app] { return app->gameOver != 0; }, kMaxEndingUpdates);
    run.ending = c_MyApp::m_EndingName(app->gameOverReason);
    run.result = run.ending == "complete" ? app->lastResult : 0;
    // The banner, then back to the title screen.
    game.StepUntil([app] { return app->screenMode == kTitleScreen; }, kMaxEndingUpdates);
    return run;
}

}  // namespace autopilot
