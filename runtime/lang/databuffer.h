// Byte buffers: ZqDataBuffer (the host side: a block and its length) and
// c_DataBuffer (the framework side: peek, poke and copy of bytes and
// strings).
//
// Ownership: the byte block comes from the system allocator, is owned by the
// buffer and is freed by Discard() or when the collector destroys the
// buffer. Only the buffer object itself is collected; the block is not.
//
// Addresses are byte offsets into the buffer. Every access is clamped to the
// buffer and to the array it reads or writes: a negative or out-of-range
// address, offset or count makes the access smaller, down to nothing, and
// never touches memory outside either. Counts are worked out in 64 bits, so
// hostile values cannot overflow.
//
// Threading: a buffer belongs to one thread at a time (the main thread, or
// the worker that is loading or filling it for an asynchronous operation).
#pragma once

#include "runtime/lang/array.h"
#include "runtime/lang/object.h"
#include "runtime/lang/string.h"

class ZqDataBuffer : public Object {
  public:
    unsigned char* data = nullptr;  // owned; null when the buffer is empty
    int length = 0;                 // bytes

    ~ZqDataBuffer() override;

    // Takes `memory` (which must come from malloc; the buffer then owns it)
    // or, when null, a new block of `length` bytes. False when the buffer
    // already has data or the block cannot be allocated.
    bool _New(int length, void* memory = nullptr);
    // Loads the whole file through the host's LoadData. False when the
    // buffer already has data or the file cannot be read.
    bool _Load(String path);
    // Frees the block; the buffer is empty afterwards.
    void Discard();
};

class c_DataBuffer : public ZqDataBuffer {
  public:
    // A block of `length` bytes (contents undefined; a negative length is
    // taken as 0). Raises "Allocate DataBuffer failed" when the buffer
    // already has data or the block cannot be allocated.
    c_DataBuffer* m_new(int length);
    // A new buffer holding the file, or null when it cannot be read.
    static c_DataBuffer* m_Load(String path);

    // Writes the low 8 bits of bytes[offset + i] to data[address + i] for
    // i < min(count, length - address, bytes length - offset).
    void p_PokeBytes(int address, Array<int> bytes, int offset, int count);
    // The reverse: each byte read as a signed 8-bit value (-128..127).
    void p_PeekBytes(int address, Array<int> bytes, int offset, int count);
    // A new array of min(count, length - address) signed bytes.
    Array<int> p_PeekBytes2(int address, int count);
    // Copies min(count, length - address, destination length -
    // destinationAddress) bytes; overlapping ranges within one buffer copy
    // correctly.
    void p_CopyBytes(int address, c_DataBuffer* destination, int destinationAddress, int count);

    // "utf8": writes as much of the UTF-8 encoding as fits and returns its
    // full length. "ascii": the low 8 bits of each unit, as many as fit;
    // returns the text's length. Any other encoding raises
    // "Invalid string encoding:" + encoding.
    int p_PokeString(int address, String text, String encoding);
    // Decodes min(count, length - address) bytes. "ascii": one unit per byte
    // (0..255). "utf8": UTF-8; when malformed, one unit per byte widened as
    // a signed 8-bit value (80..FF become FF80..FFFF). Any other encoding
    // raises "Invalid string encoding:" + encoding.
    String p_PeekString(int address, int count, String encoding);
    // p_PeekString(address, length - address, encoding).
    String p_PeekString2(int address, String encoding);
};
