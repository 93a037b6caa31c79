// Shortest round-trip texts of 32-bit floats for the level tool's JSON.
// Pure functions; any thread.
#pragma once

#include <string>

namespace levels {

// The shortest text that reads back to the same 32-bit float, written as
// std::to_chars(float) writes it (not every standard library we build with
// has that overload): the fewest significant digits that read back to `v`,
// the nearest such to `v`, in fixed notation unless scientific ("1e+06",
// "1e-07") is shorter. Zeros are "0" / "-0", infinities "inf" / "-inf",
// NaNs "nan" / "-nan".
std::string FloatText(float v);

}  // namespace levels
