// The game's sound effects and its one tune, described as synthesis recipes.
#pragma once

#include <string>
#include <vector>

namespace assetgen {

// Ids of every effect the game loads ("sfx/" + three digits + ".wav").
std::vector<int> soundIds();
// Synthesises effect `id` and writes it as a 16-bit mono 44.1 kHz WAV file.
bool writeSound(int id, const std::string& path);
// Composes, renders and encodes the tune as stereo Ogg Vorbis.
bool writeTune(const std::string& path);

}  // namespace assetgen
