// Ogg Vorbis decoding with stb_vorbis (libstb), whole file into memory.
#pragma once

#include <cstdio>

// Decodes the Ogg Vorbis stream at the file's current position into a
// malloc'ed block of interleaved 16-bit samples (format 2). Null when the
// stream cannot be opened, or when it decodes to more than 2 GiB (the size
// must stay countable in an int). The file stays open; the caller closes it.
unsigned char* LoadOGG(std::FILE* file, int* length, int* channels, int* format, int* hertz);
