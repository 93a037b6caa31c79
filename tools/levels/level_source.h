// Levels without a window: a game object on a minimal host (no graphics,
// audio or input device), used to build levels by number for the level
// tools and their tests. The object is a collector root. Main thread only.
#pragma once

#include <string>
#include <vector>

#include "game/my_app.h"
#include "tools/levels/float_text.h"

namespace levels {

// The records of one built level, copied out of the game object.
struct Level {
    int level = 0;
    int planetCount = 0, colourTheme = 0, followerLast = 0, hazardLast = 0, timeLeft = 0;
    unsigned seed = 0;                        // the generator's state after the build
    std::vector<std::vector<float>> planets;  // records 0 .. planetCount - 1, 10 floats each
    std::vector<std::vector<float>> hazards;  // records 1 .. hazardLast, 10 floats each
};

// Builds `level` (1 and up) as the game does at a level start.
Level Build(int level);

// The levels first..last as a JSON array (see the tool's usage); floats
// as FloatText writes them.
std::string ToJson(const std::vector<Level>& levels);

}  // namespace levels
