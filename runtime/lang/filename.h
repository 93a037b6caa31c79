// File names as text and back, without loss.
//
// A file-system name is a sequence of bytes that is usually, but not
// always, UTF-8. The runtime keeps names in 16-bit Strings, so the codec
// must give back the very bytes it was given for any name:
//   - UTF-8 sequences of one to three bytes become one unit; four-byte
//     sequences (characters above U+FFFF, such as emoji) become a
//     surrogate pair;
//   - every byte that does not start a well-formed, shortest-form sequence
//     (a Latin-1 byte, a stray continuation byte, an encoded surrogate)
//     becomes the unit U+DC00 + byte, a lone low surrogate that no decoded
//     sequence produces.
// Encoding reverses this: a surrogate pair is written as its four-byte
// sequence, a lone unit U+DC80..U+DCFF as the byte it stands for, and every
// other unit as ordinary UTF-8 (a lone surrogate as three bytes).
//
// Threading: pure functions, any thread.
#pragma once

#include <string>

#include "runtime/lang/string.h"

// The text of a file-system name.
String zq_FileNameText(const std::string& bytes);
// The bytes of a file name given as text. False when the text holds a unit
// 0, which would cut the name short and name another file.
bool zq_FileNameBytes(const String& text, std::string& out);
