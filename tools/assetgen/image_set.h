// The catalogue of images the game reads, and how one image is rendered at a
// resolution tier and laid out as frames.
//
// Layouts: Grid cuts frames left to right, then top to bottom, with a column
// count that makes the sheet roughly square (the way the game's loader cuts
// them); Strip puts the frames side by side, each with a transparent border of
// one texel left and right (the default font's layout).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "canvas.h"

namespace assetgen {

enum class Layout { Grid, PaddedStrip };

struct ImageSpec {
    std::string name;  // file base name inside data/, without tier suffix and ".png"
    int frameWidth = 0, frameHeight = 0, frames = 0;  // level-1 pixels
    std::function<void(Pen&, int frame)> draw;        // paints one frame in design units
    Layout layout = Layout::Grid;
    bool allTiers = true;  // false: base tier only, name used as is
    float penScale = 0;    // base tier only: pixels per design unit when not 1 (icon sizes)
};

// Resolution tiers: factor and file-name suffix.
struct Tier {
    int factor;
    const char* suffix;
};
inline constexpr Tier kTiers[3] = {{1, ""}, {2, "-hd"}, {4, "-hd2"}};

// Number of frame columns in a Grid sheet of n frames.
int gridColumns(int frames);

// The rendered sheet of one image at one tier.
struct RenderedImage {
    std::string file;  // path relative to data/
    int width = 0, height = 0;
    std::vector<uint8_t> rgba;                      // straight alpha
    std::vector<std::pair<int, int>> frameOrigins;  // top-left texel of every frame
    int frameWidth = 0, frameHeight = 0;            // texels
};

RenderedImage renderImage(const ImageSpec& image, const Tier& tier);

// Every image of the game, in the loader's order.
std::vector<ImageSpec> allImages();

// Parts of the catalogue, one per source file.
void addPlayImages(std::vector<ImageSpec>& out);
void addUiImages(std::vector<ImageSpec>& out);
void addFontImages(std::vector<ImageSpec>& out);
void addIconImages(std::vector<ImageSpec>& out);  // the desktop icon, not read by the game

}  // namespace assetgen
