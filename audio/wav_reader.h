// Our own reader of RIFF WAVE files with integer PCM samples.
//
// Accepts: "RIFF" <size> "WAVE", a "fmt " chunk first (format code 1, any
// chunk size of at least the 16 bytes it reads), then any chunks up to the
// first "data" chunk, whose bytes are the samples. Chunk sizes are taken as
// they stand (no pad byte after an odd-sized chunk).
//
// Gives null for: a read failure or a missing tag before the data chunk,
// another format code (floating point 3, extensible 0xFFFE, compressed), a
// header with 0 channels or less than 8 bits per sample, a chunk that claims
// more bytes than the file still holds, and a file without "data".
//
// Bound: the one allocation is the data chunk, checked against the bytes
// left in the stream first, so a damaged header never makes the reader
// allocate more than the file holds. The stream must be seekable (a regular
// file or a memory stream); an unseekable one gives null.
#pragma once

#include <cstdio>

// Reads from the file's current position; the file stays open. On success
// returns the data chunk (malloc'ed, caller frees) with length = chunk size /
// (channels * bytes per sample), the channel count, the bytes per sample
// (bits >> 3) and the sample rate.
unsigned char* LoadWAV(std::FILE* file, int* length, int* channels, int* format, int* hertz);
