// <GL/gl.h> for the Windows build. MinGW-w64's own header stops at
// OpenGL 1.1; the renderer also names a few constants of later versions
// (GL_CLAMP_TO_EDGE, GL_BGRA) whose values glext.h gives, as Mesa's gl.h
// does on Linux. MinGW's gl.h includes windows.h, whose LoadString macro
// would rename ZqGame::LoadString in every file that sees both: it goes.
// This folder comes first on the Windows include path only
// (cmake/TolvarWindows.cmake).
#pragma once

#include_next <GL/gl.h>
#include <GL/glext.h>

#undef LoadString
