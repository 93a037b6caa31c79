// Runs the autopilot in the whole game (the real host, window and input
// device, with the harness's test clock): one level from its start to the
// end of its ending, with the pilot's keys pressed and released through the
// host's key events like a player's.
//
// Level start: the tool sets currentLevel and the level-start screen (11)
// from the title screen, since the title's wheel offers only levels that
// earlier results have unlocked. Everything after that is the game's own.
#pragma once

#include <string>

#include "tests/game_support/game_harness.h"
#include "tools/autoplay/autopilot.h"

namespace autopilot {

struct LevelRun {
    int level = 0;
    int result = 0;      // percent brought home; 0 for a failure
    int updates = 0;     // gameplay updates until the level ended
    std::string ending;  // "complete", "time", "bugs" (or "quit" / "none")
};

// Plays `level` from the title screen and returns to it. `onPlayUpdate`,
// when given, runs after every gameplay update (for traces and tests).
LevelRun PlayLevel(GameHarness& game, int level,
                   const std::function<void(const Pilot&)>& onPlayUpdate = nullptr);

}  // namespace autopilot
