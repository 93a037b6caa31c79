// The two fonts: the game's "fonts/shadow_pixel" (16 x 16 cells, 128 frames,
// every tier) and the runtime's default "vexo_font.png" (96 cells side by
// side, each with a transparent texel left and right, base tier only).
//
// The game draws a glyph's cell centred on its pen position and then
// advances the pen by 7 plus a per-letter kerning k. Its text writer puts an
// invisible space in front of every string and measures all but the last
// character for alignment, so the visible glyphs line up with the aligned
// box only when each glyph owns the space [pen - 7, pen + k]: a glyph is
// placed in its cell centred on 8 - 3.5 + k/2, left of the cell's middle.
// Centred text is then centred, left-aligned text starts at its x and
// right-aligned text ends there. Frames 96..110 are pad-button pictures and
// 112..126 the matching keyboard keys, used by the text's icon escape
// (advance 7 + 4, or 7 + 6 for the shoulder buttons).
#include "drawing.h"
#include "image_set.h"
#include "pixel_font.h"
#include "symbols.h"

namespace assetgen {
namespace {

const Rgba kShadow = rgb(16, 12, 40, 0.9f);
const float kGlyphCentre = 4.5f;           // of a glyph with k = 0, in its 16-pixel cell
const float kIconX = 6.5f, kIconY = 8.0f;  // an icon owns [pen - 7, pen + 4] (k = 4)

void drawTextGlyph(Pen& pen, int code) {
    const Glyph& g = textGlyph(code);
    if (g.width == 0 || code == ' ') return;
    float left = std::floor(kGlyphCentre + textKerning(code) / 2.0f - g.width / 2.0f);
    const float top = 4.0f;
    bool smoothSteps = pen.scale() > 1.5f;
    paintGlyph(pen, g, left + 1, top + 1, 1.0f, kShadow, smoothSteps);
    paintGlyph(pen, g, left, top, 1.0f, kWhite, smoothSteps);
}

// A small face button with its position among the four lit.
void faceButton(Pen& pen, int lit, bool pressed) {
    V2 c{kIconX, kIconY + (pressed ? 0.6f : 0)};
    auto disc = [&](V2 p) { return sdCircle(p, c, 5.6f); };
    styledShape(pen, disc, kWhite, 0.6f, pressed ? 0.0f : 1.0f, kInk);
    pen.fill(pressed ? rgb(235, 120, 20) : kNavy, [&](V2 p) { return disc(p) + 0.9f; });
    if (pressed) {
        pen.fill(rgb(255, 220, 150), [&](V2 p) { return sdCircle(p, c, 2.0f); });
        return;
    }
    for (int d = 0; d < 4; ++d) {
        bool on = d == lit;
        pen.fill(on ? kWhite : rgb(255, 255, 255, 0.35f),
                 [&](V2 p) { return sdCircle(p, c + dir(d * 90.0f) * 2.7f, on ? 1.45f : 0.9f); });
    }
}

// A shoulder button (side -1 left, +1 right) with its tiny letter.
void shoulderButton(Pen& pen, int side, bool pressed) {
    V2 c{kIconX, kIconY + (pressed ? 0.6f : 0)};
    std::vector<V2> shape = {
        c + V2{-6.0f, 3.5f}, c + V2{-6.0f + (side < 0 ? 0 : 2.0f), -2.0f}, c + V2{-3.0f, -3.6f},
        c + V2{3.0f, -3.6f}, c + V2{6.0f - (side > 0 ? 0 : 2.0f), -2.0f},  c + V2{6.0f, 3.5f}};
    auto sd = [&](V2 p) { return sdPolygon(p, shape) - 0.6f; };
    styledShape(pen, sd, kWhite, 0.6f, pressed ? 0.0f : 1.0f, kInk);
    pen.fill(pressed ? rgb(235, 120, 20) : kNavy, [&](V2 p) { return sd(p) + 0.9f; });
    if (!pressed)
        paintGlyph(pen, tinyGlyph(side < 0 ? 'L' : 'R'), c.x - 1.5f, c.y - 2.3f, 1.0f, kWhite, false);
}

// A small pill (back / start) with a symbol.
void pill(Pen& pen, bool start) {
    V2 c{kIconX, kIconY};
    auto sd = [&](V2 p) { return sdBox(p, c, {5.8f, 3.4f}, 3.2f); };
    styledShape(pen, sd, kWhite, 0.6f, 1.0f, kInk);
    pen.fill(rgb(70, 80, 110), [&](V2 p) { return sd(p) + 0.9f; });
    if (start)
        symTriangle(pen, c + V2{0.3f, 0}, 5.0f, kWhite, 90);
    else
        for (int i = 0; i < 2; ++i)
            pen.fill(kWhite, [&](V2 p) { return sdBox(p, c + V2{-1.6f + 3.2f * i, 0}, {1.0f, 1.0f}); });
}

// The d-pad; `lit` 0..3 = up, down, left, right highlighted, -1 none.
void dpad(Pen& pen, int lit) {
    V2 c{kIconX, kIconY};
    auto cross = [&](V2 p) {
        return std::min(sdBox(p, c, {6.0f, 2.1f}, 0.6f), sdBox(p, c, {2.1f, 6.0f}, 0.6f));
    };
    styledShape(pen, cross, kNavy, 0.7f, 1.0f, kInk);
    static const float kAngles[4] = {0, 180, 270, 90};
    if (lit >= 0) {
        V2 arm = c + dir(kAngles[lit]) * 3.8f;
        pen.fill(kOrange, [&](V2 p) { return std::max(cross(p), sdCircle(p, arm, 2.6f)); });
    }
    pen.fill(rgb(255, 255, 255, 0.35f), [&](V2 p) { return sdCircle(p, c, 1.0f); });
}

// A key cap `halfW` wide (half extent), optionally pressed.
V2 keyCap(Pen& pen, float halfW, bool pressed, float halfH = 5.5f, V2 at = {kIconX, kIconY}) {
    float drop = pressed ? 0.8f : 0.0f;
    V2 c = at + V2{0, drop * 0.5f};
    auto base = [&](V2 p) { return sdBox(p, c + V2{0, 0.6f - drop * 0.5f}, {halfW, halfH}, 1.6f); };
    auto top = [&](V2 p) { return sdBox(p, c + V2{0, -0.4f}, {halfW - 0.9f, halfH - 1.3f}, 1.2f); };
    pen.fill(kInk, [&](V2 p) { return base(p) - 0.6f; });
    pen.fill(rgb(150, 155, 170), base);
    pen.fill(pressed ? rgb(255, 170, 60) : rgb(238, 240, 246), top);
    return c + V2{0, -0.4f};
}

void keyWithLetter(Pen& pen, char letter) {
    V2 c = keyCap(pen, 5.5f, false);
    const Glyph& g = textGlyph(letter);
    paintGlyph(pen, g, std::floor(c.x - g.width / 2.0f + 0.5f), std::floor(c.y - 3.0f), 1.0f, kInk,
               pen.scale() > 1.5f);
}

void keyArrow(Pen& pen, float angle) {
    V2 c = keyCap(pen, 5.5f, false);
    symTriangle(pen, c, 7.0f, kInk, angle);
}

void arrowCluster(Pen& pen) {
    const float h = 2.3f;
    V2 c{kIconX, kIconY};
    V2 at[4] = {c + V2{0, -2.6f}, c + V2{-4.9f, 2.6f}, c + V2{0, 2.6f}, c + V2{4.9f, 2.6f}};
    float ang[4] = {0, 270, 180, 90};
    for (int i = 0; i < 4; ++i) {
        V2 t = keyCap(pen, h, false, h, at[i]);
        symTriangle(pen, t, 2.6f, kInk, ang[i]);
    }
}

void drawIconGlyph(Pen& pen, int f) {
    switch (f) {
        case 96:
            faceButton(pen, 2, false);
            break;  // J: south
        case 97:
            faceButton(pen, 1, false);
            break;  // K: east
        case 98:
            faceButton(pen, 3, false);
            break;  // L: west
        case 99:
            faceButton(pen, 0, false);
            break;  // I: north
        case 100:
            shoulderButton(pen, -1, false);
            break;
        case 101:
            shoulderButton(pen, 1, false);
            break;
        case 102:
            pill(pen, false);
            break;  // back
        case 103:
            pill(pen, true);
            break;  // start
        case 104:
            dpad(pen, -1);
            break;
        case 105:
            dpad(pen, 0);
            break;
        case 106:
            dpad(pen, 1);
            break;
        case 107:
            dpad(pen, 2);
            break;
        case 108:
            dpad(pen, 3);
            break;
        case 109:
            faceButton(pen, -1, true);
            break;
        case 110:
            shoulderButton(pen, -1, true);
            break;
        case 112:
            keyWithLetter(pen, 'Z');
            break;
        case 113:
            keyWithLetter(pen, 'X');
            break;
        case 114:
            keyWithLetter(pen, 'C');
            break;
        case 115:
            keyWithLetter(pen, 'V');
            break;
        case 116:
            keyWithLetter(pen, 'B');
            break;
        case 117:
            keyWithLetter(pen, 'N');
            break;
        case 118: {
            V2 c = keyCap(pen, 6.6f, false);
            float x = std::floor(c.x - 5.5f + 0.5f), y = std::floor(c.y - 2.0f);
            for (int i = 0; i < 3; ++i)
                paintGlyph(pen, tinyGlyph("ESC"[i]), x + 4.0f * i, y, 1.0f, kInk, false);
            break;
        }
        case 119: {  // Enter: a return arrow
            V2 c = keyCap(pen, 6.6f, false);
            V2 a = c + V2{3.0f, -3.0f}, b = c + V2{3.0f, 1.2f}, d = c + V2{-2.0f, 1.2f};
            pen.fill(kInk,
                     [&](V2 p) { return std::min(sdSegment(p, a, b, 0.6f), sdSegment(p, b, d, 0.6f)); });
            symTriangle(pen, d + V2{-0.6f, 0}, 4.2f, kInk, 270);
            break;
        }
        case 120:
            arrowCluster(pen);
            break;
        case 121:
            keyArrow(pen, 0);
            break;
        case 122:
            keyArrow(pen, 180);
            break;
        case 123:
            keyArrow(pen, 270);
            break;
        case 124:
            keyArrow(pen, 90);
            break;
        case 125:
            keyCap(pen, 5.5f, true);
            break;
        case 126:
            keyCap(pen, 6.6f, true);
            break;
        default:
            break;  // 111 and 127 stay empty
    }
}

void drawGameFont(Pen& pen, int f) {
    if (f < 96)
        drawTextGlyph(pen, f + 32);
    else
        drawIconGlyph(pen, f);
}

// Default font: an 8 x 12 cell per character (plus the transparent border).
void drawDefaultFont(Pen& pen, int f) {
    int code = f + 32;
    const Glyph& g = textGlyph(code);
    if (code == ' ' || g.width == 0) return;
    paintGlyph(pen, g, std::floor(4.0f - g.width / 2.0f), 2.0f, 1.0f, kWhite, false);
}

}  // namespace

void addFontImages(std::vector<ImageSpec>& out) {
    out.push_back({"fonts/shadow_pixel", 16, 16, 128, drawGameFont});
    ImageSpec vexo{"vexo_font.png", 8, 12, 96, drawDefaultFont};
    vexo.layout = Layout::PaddedStrip;
    vexo.allTiers = false;
    out.push_back(vexo);
}

}  // namespace assetgen
