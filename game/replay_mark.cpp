// The watching mark (see replay_mark.h). Drawn in the render, straight
// through the graphics front end and not through the display list, so the
// game's state and its display list are those of the recorded session.
#include "game/replay_mark.h"

#include "graphics/graphics_context.h"
#include "graphics/image.h"
#include "graphics/zq_graphics.h"

namespace {

constexpr char kMark[] = "REPLAY";
constexpr float kMargin = 6.0f;  // device pixels from the window's edges

}  // namespace

void DrawReplayMark(int width) {
    c_Image* font = zq_graphics_context ? zq_graphics_context->font : nullptr;
    if (font == nullptr) return;
    const float advance = static_cast<float>(font->p_Width());
    const int first = zq_graphics_context->firstChar;
    float x = static_cast<float>(width) - kMargin - advance * static_cast<float>(sizeof kMark - 1);
    zq_graphics_SetColor(255.0f, 210.0f, 90.0f);
    zq_graphics_SetAlpha(0.85f);
    for (const char* c = kMark; *c != '\0'; ++c, x += advance)
        zq_graphics_DrawImage(font, x, kMargin, *c - first);
    zq_graphics_SetColor(255.0f, 255.0f, 255.0f);
    zq_graphics_SetAlpha(1.0f);
}
