// Contact sheets: one PNG per tier showing every image frame by frame, with
// its frame numbers, once on a light and once on a dark background, so the
// whole set can be judged at a glance. Not game data: written outside data/.
#pragma once

#include <string>
#include <vector>

#include "image_set.h"

namespace assetgen {

// One image prepared for a sheet: frames resampled to their display size.
struct SheetEntry {
    std::string label;
    int displayW = 0, displayH = 0;
    std::vector<std::vector<uint8_t>> frames;  // straight RGBA, displayW x displayH each
};

// Large frames are shown reduced (box filter), tiny ones enlarged (nearest),
// so that every frame is comfortable to look at.
SheetEntry makeSheetEntry(const RenderedImage& image);

// Writes the sheet; false on failure.
bool writeContactSheet(const std::string& path, const std::string& title,
                       const std::vector<SheetEntry>& entries);

}  // namespace assetgen
