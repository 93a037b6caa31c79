// Symbols shared by the icons, the touch pad and the game font's key caps,
// in the house colours. Each is drawn centred on c and fits a box of about
// `s` design units; angles follow the game (0 = up, clockwise).
#pragma once

#include "canvas.h"

namespace assetgen {

inline const Rgba kNavy = rgb(28, 40, 84);
inline const Rgba kInk = rgb(16, 18, 36);
inline const Rgba kWhite = rgb(255, 255, 255);
inline const Rgba kOrange = rgb(255, 150, 30);

void symPlay(Pen& pen, V2 c, float s, Rgba col);
void symPause(Pen& pen, V2 c, float s, Rgba col);
void symCross(Pen& pen, V2 c, float s, Rgba col);
void symArrow(Pen& pen, V2 c, float s, Rgba col, float angle);
void symTriangle(Pen& pen, V2 c, float s, Rgba col, float angle);
void symSpeaker(Pen& pen, V2 c, float s, Rgba col, bool waves);
void symNote(Pen& pen, V2 c, float s, Rgba col);
void symCorners(Pen& pen, V2 c, float s, Rgba col, bool inward);
void symGear(Pen& pen, V2 c, float s, Rgba col);
void symRestart(Pen& pen, V2 c, float s, Rgba col);
void symStar(Pen& pen, V2 c, float s, Rgba col);
void symCheck(Pen& pen, V2 c, float s, Rgba col);
void symQuestion(Pen& pen, V2 c, float s, Rgba col);
// A round navy badge of radius r with a white rim: the background of icons.
void badge(Pen& pen, V2 c, float r, Rgba fillCol = kNavy);

}  // namespace assetgen
