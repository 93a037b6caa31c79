// The credits: 57 lines, ending with "-=-=-" and "End" ("End" is never shown).
#pragma once

#include "runtime/lang/array.h"
#include "runtime/lang/string.h"

Array<String> MakeCreditText();
