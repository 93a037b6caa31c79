// Drawing vocabulary shared by the image descriptions: the eight-colour
// palette, a deterministic hash for "random" variety, the house style of a
// shape (soft shadow, dark outline, body), rounded lettering built from the
// pixel face, and the runtime's emblem.
#pragma once

#include <functional>
#include <string>

#include "canvas.h"

namespace assetgen {

// The eight bug/planet colours, index 0..7 (red, orange, yellow, green, cyan,
// blue, violet, pink), as straight colours with alpha 1.
Rgba paletteColour(int index, float value = 1.0f, float saturation = 0.75f);

// A value in [0, 1) determined only by its arguments.
float hash01(int a, int b = 0, int c = 0);

// House style: a soft drop shadow, a dark outline `outline` units wide and the
// body filled with `body`. sd is the body's signed distance.
template <class S>
void styledShape(Pen& pen, S&& sd, Rgba body, float outline = 1.0f, float shadow = 1.0f,
                 Rgba outlineCol = rgb(24, 22, 40)) {
    if (shadow > 0)
        pen.shade([&](V2 p, float px) {
            float d = sd(p - V2{shadow * 0.6f, shadow});
            return scaled(rgb(0, 0, 20), 0.35f * clamp01(0.5f - d / (px + shadow * 0.8f)));
        });
    if (outline > 0) pen.fill(outlineCol, [&](V2 p) { return sd(p) - outline; });
    pen.fill(body, sd);
}

// Rounded lettering: every lit cell of the pixel face becomes a round dot
// joined to its lit neighbours by capsules of radius `weight` x cell. Draws
// the text with its top-left at (x, y); `grow` widens every stroke (for
// outlines and shadows). Returns the width in design units.
float roundText(Pen& pen, const std::string& text, float x, float y, float cell, float weight, Rgba col,
                float grow = 0.0f);
// The same with a colour that depends on position.
float roundTextBy(Pen& pen, const std::string& text, float x, float y, float cell, float weight,
                  const std::function<Rgba(V2)>& colourAt, float grow = 0.0f);
float roundTextWidth(const std::string& text, float cell);

// The Tolvar emblem centred on c, about `size` units across.
void drawEmblem(Pen& pen, V2 c, float size);

}  // namespace assetgen
