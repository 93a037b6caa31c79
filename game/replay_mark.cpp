// The watching mark (see replay_mark.h). Drawn in the render, straight
// through the graphics front end and not through the display list, so the
// game's state and its display list are those of the recorded session.
#include "game/replay_mark.h"

#include "graphics/graphics_context.h"
#include "graphics/image.h"
#include "graphics/zq_graphics.h"

namespace {

constexpr char kMark[] = "REPLAY";
constexpr float kMargin = 6.0f;   // device pixels from the window's edges
constexpr float kPadding = 3.0f;  // around the text, on its dark backing

}  // namespace

void DrawReplayMark(int width, int height) {
    c_Image* font = zq_graphics_context ? zq_graphics_context->font : nullptr;
    if (font == nullptr) return;
    const float advance = static_cast<float>(font->p_Width());
    const float textWidth = advance * static_cast<float>(sizeof kMark - 1);
    const float lineHeight = static_cast<float>(font->p_Height());
    const int first = zq_graphics_context->firstChar;
    // Bottom right, where no screen of the game puts anything during play;
    // a dark backing keeps it readable on the light and the dark screens.
    float x = static_cast<float>(width) - kMargin - textWidth;
    const float y = static_cast<float>(height) - kMargin - lineHeight;
    zq_graphics_SetColor(0.0f, 0.0f, 0.0f);
    zq_graphics_SetAlpha(0.45f);
    zq_graphics_DrawRect(x - kPadding, y - kPadding, textWidth + 2 * kPadding, lineHeight + 2 * kPadding);
    zq_graphics_SetColor(255.0f, 220.0f, 120.0f);
    zq_graphics_SetAlpha(1.0f);
    for (const char* c = kMark; *c != '\0'; ++c, x += advance) zq_graphics_DrawImage(font, x, y, *c - first);
    zq_graphics_SetColor(255.0f, 255.0f, 255.0f);
}
