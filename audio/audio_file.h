// Sound files decoded whole into memory: the host's LoadAudioData.
//
// The result is a malloc'ed block of interleaved little-endian PCM that the
// caller owns (free()), with
//   length    sample frames per channel
//   channels  channel count (1 or 2 are playable)
//   format    bytes per sample (1 or 2 are playable)
//   hertz     sample rate
// The block holds at least length * channels * format bytes.
//
// Threading: called on the main thread (the path String belongs to it); the
// only collector state touched is the atomic external-byte counter.
#pragma once

#include "runtime/lang/game.h"
#include "runtime/lang/string.h"

// Opens `path` through host->OpenFile(path, "rb") and decodes it by its
// extension, compared without regard to case: ".wav" with LoadWAV, ".ogg"
// with LoadOGG; any other extension, a missing file or a decoding failure
// gives null and the outputs are not meaningful. On success reports
// length * channels * format bytes to the collector (gc_ext_malloced).
unsigned char* tvxLoadAudioFile(ZqGame* host, String path, int* length, int* channels, int* format,
                                int* hertz);
