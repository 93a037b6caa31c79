// The "REPLAY" mark drawn over the picture while a recording is watched.
#pragma once

// Draws "REPLAY" small in the bottom-right corner of a window of `width` x
// `height` device pixels, with the framework's current font, in device
// pixels (the same size at any scale). Render only; changes no game state.
void DrawReplayMark(int width, int height);
