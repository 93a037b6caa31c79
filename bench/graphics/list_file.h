// A display list of the game kept as a text file, as the fill-rate
// benchmark replays it and the capture tool writes it.
//
// The file, one item per line ('#' starts a comment line):
//   size W H                     device size in pixels when captured
//   scale SX SY MX MY            virtual-to-device scale and margins
//   imagescale S                 the image tier's factor (1, 0.5, 0.25)
//   clear R G B A                the window's fill colour and alpha
//   image SLOT FILE FW FH N      an image: file in the data folder (with
//                                its tier suffix), frame size in texels,
//                                frame count; centre handle
//   record K X Y ROT A B FRAME ALPHA R G BL BLEND
//                                one display-list record: elements 0..7
//                                and 10..13 of the game's 15 floats
// The replay (ReplayList) does for each record what the game's render does
// for its own list.
#pragma once

#include <array>
#include <string>
#include <vector>

struct ListImage {
    int slot = 0;
    std::string file;
    int frameWidth = 0, frameHeight = 0, frames = 0;
};

struct ListFile {
    int width = 0, height = 0;
    float sx = 1, sy = 1, marginX = 0, marginY = 0;
    float imageScale = 1;
    float clear[4] = {0, 0, 0, 1};
    std::vector<ListImage> images;
    std::vector<std::array<float, 15>> records;
};

// Display-list record kinds besides image slots 0..99.
constexpr float kListRect = -3717.0f, kListOval = -3716.0f, kListLine = -3715.0f;

// Reads a list; false (and `error` says why) when the file is missing or a
// line does not parse.
bool ReadListFile(const std::string& path, ListFile& out, std::string& error);
// Writes a list; false when the file cannot be written.
bool WriteListFile(const std::string& path, const ListFile& list, const std::string& comment);
