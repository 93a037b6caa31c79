// Fatal runtime errors, printing and the debugger line protocol.
#pragma once

#include "runtime/lang/string.h"

// Prints the text as UTF-8 plus a newline on standard output and flushes.
void zqPrint(const String& text);
void zqDebugLog(const String& text);
// The fatal runtime error; an empty message is the normal quit (exit 0).
[[noreturn]] void zqError(const String& message);
