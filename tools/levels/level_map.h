// Maps of built levels as pictures: one level at a readable size, or all
// levels 1..100 as a contact sheet. Drawn with the asset generator's canvas.
#pragma once

#include <string>

#include "tools/levels/level_source.h"

namespace levels {

// Writes the map of `level` as a PNG (about `width` pixels wide). False
// when the file cannot be written.
bool WriteMapPng(const Level& level, const std::string& file, int width = 1024);
// Writes levels 1..100 as a 10 x 10 sheet of small maps with their numbers.
bool WriteAtlasPng(const std::string& file);

}  // namespace levels
