// The per-letter kerning of the game's bitmap text: pixels added to the
// font's advance of 7. One table for the text writer (game/draw_text.cpp)
// and for the data generator that draws the font to fit it.
#pragma once

constexpr int TextKerning(int c) {
    switch (c) {
        case 'w':
        case 'm':
            return 2;
        case 'W':
        case 'M':
            return 1;
        case 'i':
        case 'f':
        case 'l':
            return -3;
        case 'j':
        case 's':
        case 'k':
        case 'r':
        case 'z':
        case 't':
        case 'n':
            return -1;
        default:
            return 0;
    }
}
