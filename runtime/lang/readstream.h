// Reading a whole stream into memory, shared by the text loader
// (String::Load) and the byte loader (ZqGame::LoadData).
#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

// The largest file the loaders accept: its length must fit the int lengths
// of String and ZqDataBuffer. Anything longer is refused, not truncated.
constexpr size_t zq_max_loaded_bytes = 0x7FFFFFF0u;

// Reads the stream in chunks of 4096 bytes until a read returns fewer, and
// appends everything to `bytes`. False (with `bytes` emptied) when the
// stream is longer than zq_max_loaded_bytes or a read fails.
bool zq_ReadWholeStream(std::FILE* stream, std::vector<uint8_t>& bytes);
