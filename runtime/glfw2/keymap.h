// Key numbering between GLFW 3 and the v2 interface (internal to the
// layer). v2 numbering: printable keys are their ASCII codes; the special
// keys run from GLFW_KEY_ESC (257) to GLFW_KEY_MENU (325) in a fixed order.
#pragma once

namespace glfw2 {

// The v2 code of a v3 key, or GLFW_KEY_UNKNOWN (-1) for keys v2 has no
// name for (print screen, keys above the special range).
int KeyFromV3(int v3key);
// The v3 key of a v2 code, or -1 when GLFW 3 has no such key.
int KeyToV3(int v2key);

}  // namespace glfw2
