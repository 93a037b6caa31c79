// Test support: save strings written the way the game documents them, for
// tests that start the game from a prepared state (title tests, end-to-end).
#pragma once

#include <string>
#include <vector>

// Default settings as they stand after loading's repairs (sound mode 1), no
// badges, and the given best results of levels 1, 2, ... (every other entry
// 0), each block with its checksum.
inline std::string SavedStateWithBest(const std::vector<int>& bestOfLevel) {
    int settings[25] = {};
    settings[5] = 1;
    settings[10] = settings[11] = 64;
    settings[12] = 10;
    settings[14] = 1;
    std::string s;
    int sum = 0;
    for (int i = 0; i < 25; ++i) {
        s += std::to_string(settings[i]) + "|";
        sum += i * settings[i];
    }
    s += std::to_string(sum) + "|";
    for (int w = 0; w < 9; ++w) s += "0|";
    for (int g = 0; g < 105; ++g) {
        int best = g < static_cast<int>(bestOfLevel.size()) ? bestOfLevel[g] : 0;
        s += std::to_string(best) + "|";
        for (int k = 1; k < 20; ++k) s += "0|";
        s += std::to_string(4 * best) + "|";  // best entry 0 weighs 0 + 4
    }
    return s;
}
