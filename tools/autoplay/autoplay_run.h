// Runs the autopilot in the whole game (the real host, window and input
// device, with the harness's test clock): one level from its start to the
// end of its ending, with the pilot's keys pressed and released through the
// host's key events like a player's.
//
// Level start: on the title screen the runner turns the wheel to the level
// with the arrow keys and selects it with Enter, like a player. The wheel
// offers only the levels that the saved results unlock: a harness made with
// SavedStateUnlocking(level) as its saved state has the level on offer.
// For a level still locked in the harness's game, the runner falls back to
// setting the level and the level-start screen itself (LevelRun says which).
#pragma once

#include <string>

#include "tests/game_support/game_harness.h"
#include "tools/autoplay/autopilot.h"

namespace autopilot {

struct LevelRun {
    int level = 0;
    int result = 0;                 // percent brought home; 0 for a failure
    int updates = 0;                // gameplay updates until the level ended
    std::string ending;             // "complete", "time", "bugs" (or "quit" / "none")
    bool startedFromWheel = false;  // false: the level was locked, and set directly
};

// A saved state (the harness's Options::savedState) in which the title's
// wheel offers levels 1..level.
std::string SavedStateUnlocking(int level);

// Plays `level` from the title screen and returns to it. `onPlayUpdate`,
// when given, runs after every gameplay update (for traces and tests).
LevelRun PlayLevel(GameHarness& game, int level,
                   const std::function<void(const Pilot&)>& onPlayUpdate = nullptr);

}  // namespace autopilot
