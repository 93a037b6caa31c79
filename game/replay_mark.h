// The "REPLAY" mark drawn over the picture while a recording is watched.
#pragma once

// Draws "REPLAY" small in the top-right corner of a window `width` device
// pixels wide, with the framework's current font, in device pixels (the
// same size at any scale). Render only; changes no game state.
void DrawReplayMark(int width);
