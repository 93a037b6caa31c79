// Bitmap text: p_Text lays a string out glyph by glyph from the current
// font image (128 frames of 16 x 16 cells, frame = character code - 32,
// frames 96 and up are button icons) and appends one image record per
// visible glyph.
//
// Text forms understood:
// - backslash + "n" (two characters, as the strings hold them): a line
//   break; the next line starts one glyph right of the start point;
// - "¬" + letter: a button icon chosen by the letter and by the kind of
//   control in use (inputKind); a "¬" at the very end ends the walk;
// - any other character is a glyph; code 0 neither draws nor advances,
//   space and codes from 160 on advance without drawing.
// The walk never reads past the end of the string, and a font slot outside
// the bank appends nothing.
#include "game/degrees.h"
#include "game/my_app.h"
#include "game/text_kerning.h"
#include "runtime/host/zq_app.h"

namespace {

constexpr int kImageSlots = 100;
constexpr int kIconEscape = 0xAC;  // "¬"
// The icon escape is measured as one character of this kerning.
constexpr int kIconMeasureKern = 2;

struct Icon {
    int frame;  // pad button picture; keyboard pictures are 16 further on
    int blink;  // shown while a pad button flashes; -1: none
    int kern;
};

// Icons by letter: pad button frame, blink frame (-1: none), kerning.
struct IconRow {
    char letter;
    Icon icon;
};
constexpr IconRow kIcons[] = {
    {'J', {96, 109, 4}},  {'K', {97, 109, 4}},  {'L', {98, 109, 4}},  {'I', {99, 109, 4}},
    {'U', {100, 110, 6}}, {'O', {101, 110, 6}}, {'Q', {102, -1, 4}},  {'E', {103, -1, 4}},
    {'F', {104, -1, 4}},  {'W', {105, 104, 4}}, {'S', {106, 104, 4}}, {'A', {107, 104, 4}},
    {'D', {108, 104, 4}},
};

// The icon that "¬" + letter draws; any other character is its own frame.
Icon IconFor(int letter) {
    for (const IconRow& row : kIcons)
        if (row.letter == letter) return row.icon;
    return {letter, -1, 4};
}

bool IsLineBreak(const String& s, int i) {
    return s[i] == '\\' && i + 1 < s.Length() && s[i + 1] == 'n';
}

}  // namespace

int c_MyApp::p_Text(float x, float y, String text, float alignX, float alignY, int slotOffset) {
    int slot = fontSlot + slotOffset;
    if (slot < 0 || slot >= kImageSlots) return 0;
    const float advance = static_cast<float>(imageInfo[slot * 3]);
    const float lineHeight = static_cast<float>(imageInfo[slot * 3 + 1]);
    const float r = drawRotation;
    // The leading space puts the first real glyph one advance right of x.
    String s = String(" ") + text;
    const int n = s.Length();

    // Width for alignment: every character but the last, truncated as it grows.
    int width = 0;
    for (int i = 0; i < n - 1; ++i) {
        int k = TextKerning(s[i]);
        if (s[i] == kIconEscape) {
            k = kIconMeasureKern;
            ++i;  // the letter belongs to the icon
        }
        width = static_cast<int>(static_cast<float>(width) + (advance + static_cast<float>(k)) * drawScaleX);
    }

    const float w = static_cast<float>(width);
    const float h = lineHeight * drawScaleY;
    const float x0 = x + SinDeg(-r - 90.0f) * w * alignX / 2.0f + SinDeg(-r) * h * (alignY - 1.0f) / 2.0f;
    const float y0 = y - CosDeg(-r - 90.0f) * w * alignX / 2.0f - CosDeg(-r) * h * (alignY - 1.0f) / 2.0f;

    float penX = x0, penY = y0;
    int lines = 0;
    for (int i = 0; i < n; ++i) {
        int c = s[i];
        if (IsLineBreak(s, i)) {
            ++lines;
            float l = lineHeight * drawScaleY * static_cast<float>(lines);
            penX = x0 + SinDeg(180.0f - r) * l + SinDeg(90.0f - r) * advance * drawScaleX;
            penY = y0 - CosDeg(180.0f - r) * l;
            ++i;
            continue;
        }
        if (c == 0) continue;
        int k = TextKerning(c);
        if (c == kIconEscape) {
            if (i + 1 >= n) break;  // a trailing "¬" has no icon
            Icon icon = IconFor(s[++i]);
            int frame = icon.frame;
            if (inputKind == 0) frame += 16;
            if (inputKind == 1 && icon.blink >= 0 && zq_app_Millisecs() % 500 < 200) frame = icon.blink;
            p_DrawImg(slot, penX, penY, static_cast<float>(frame));
            k = icon.kern;
        } else {
            int glyph = c - 32;
            if (glyph >= 1 && glyph <= 127) p_DrawImg(slot, penX, penY, static_cast<float>(glyph));
        }
        float step = (advance + static_cast<float>(k)) * drawScaleX;
        penX += SinDeg(90.0f - r) * step;
        penY -= CosDeg(90.0f - r) * step;
    }
    return 0;
}
