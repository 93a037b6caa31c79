// Our pixel typefaces, as grids of lit cells:
//  - the text face (codes 32..127): 7 rows above the baseline, 2 below for
//    descenders, widths from 1 to 7 cells chosen to match the game's kerning;
//  - a tiny 3x5 face (digits, capitals, "-", "/", ".") for labels on the
//    contact sheets and on small key caps.
// Painting turns every lit cell into a square; from 2x on, diagonal steps get
// small wedges so that slanted strokes stay smooth at the higher resolution.
#pragma once

#include <string>
#include <vector>

#include "canvas.h"

namespace assetgen {

struct Glyph {
    int width = 0;                  // cells
    std::vector<std::string> rows;  // up to 9 rows, '#' = lit; row 6 sits on the baseline
    bool lit(int x, int y) const {
        return y >= 0 && y < int(rows.size()) && x >= 0 && x < int(rows[y].size()) && rows[y][x] == '#';
    }
};

// The text face glyph for a character code 32..127 (an empty glyph otherwise).
const Glyph& textGlyph(int code);
// The tiny face glyph (3 cells wide, 5 rows) or an empty glyph.
const Glyph& tinyGlyph(char c);

// Per-letter kerning of the game's text writer: pixels added to its advance
// of 7 (narrow i, l, f; wide m, w).
int textKerning(int code);

// Paints the glyph with its top-left cell at (x, y), each cell `cell` design
// units square. `smoothDiagonals` adds the diagonal wedges (use from 2x on).
void paintGlyph(Pen& pen, const Glyph& g, float x, float y, float cell, Rgba col, bool smoothDiagonals);

}  // namespace assetgen
