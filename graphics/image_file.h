// Image file decoding for the host's LoadImageData.
//
// Assumptions and limits
// - Any format stb_image reads (PNG, JPEG, BMP, TGA, GIF's first frame, PSD,
//   PIC, PNM, HDR converted to 8 bits), decoded with the file's own channel
//   count (1 grey, 2 grey + alpha, 3 RGB, 4 RGBA).
// - A damaged or hostile file gives null: images larger than the surface
//   limits of tvx_surface.h are refused from their header, before any pixel
//   memory is allocated.
// - Main thread: the path is a String and the file is opened through the
//   host. (stb_image also records its last failure reason in a global.)
#pragma once

#include "runtime/lang/game.h"

// Opens `path` through host->OpenFile(path, "rb") and decodes it. Returns a
// malloc'ed block of width * height * depth bytes (rows top to bottom, the
// caller owns it) and reports its size with gc_ext_malloced; null when the
// file cannot be opened or decoded (the outputs are then untouched).
unsigned char* tvxLoadImageFile(ZqGame* host, String path, int* width, int* height, int* depth);
