// Reading a stream into memory, shared by the text loader (String::Load),
// the byte loader (ZqGame::LoadData) and the saved state's loader.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

// The largest file the loaders accept: its length must fit the int lengths
// of String and ZqDataBuffer. Anything longer is refused, not truncated.
constexpr size_t zq_max_loaded_bytes = 0x7FFFFFF0u;

// How much of the saved-state file ZqGame::LoadState reads: a state is one
// short line (the game's longest is under 27 KB), so 1 MiB leaves ample
// room while a huge file costs no more memory than a normal start.
constexpr size_t zq_max_state_bytes = 1u << 20;

// Reads the stream in chunks of 4096 bytes until a read returns fewer, and
// appends everything to `bytes`. False (with `bytes` emptied) when the
// stream is longer than zq_max_loaded_bytes or a read fails.
bool zq_ReadWholeStream(std::FILE* stream, std::vector<uint8_t>& bytes);

// The same for at most `limit` bytes: a longer stream is read no further
// (its head is kept, and true returned). False (with `bytes` emptied) when
// a read fails.
bool zq_ReadStreamHead(std::FILE* stream, std::vector<uint8_t>& bytes, size_t limit);
