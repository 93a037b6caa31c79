# Toolchain for the 64-bit Windows build: Debian's MinGW-w64 with POSIX
# threads (std::thread and std::mutex need them), cross-compiling from Linux.
#
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
#         -DTOLVAR_WINDOWS_DEPS=<prefix from scripts/windows-deps> ...
#
# TOLVAR_WINDOWS_DEPS holds the third-party libraries built for Windows
# (GLFW, OpenAL Soft, GoogleTest, stb); pkg-config and find_package look
# there and in the MinGW sysroot only, never at the build machine's own
# libraries. Programs run under Wine when CMake or ctest needs to run one.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TOLVAR_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TOLVAR_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TOLVAR_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${TOLVAR_MINGW}-windres)

# try_compile projects read this file again: hand them the prefix too.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TOLVAR_WINDOWS_DEPS)

set(CMAKE_FIND_ROOT_PATH /usr/${TOLVAR_MINGW} ${TOLVAR_WINDOWS_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

if(TOLVAR_WINDOWS_DEPS)
  set(ENV{PKG_CONFIG_LIBDIR} ${TOLVAR_WINDOWS_DEPS}/lib/pkgconfig)
  set(ENV{PKG_CONFIG_PATH} "")
endif()

# Wine runs the test programs (ctest) and anything CMake must execute.
find_program(TOLVAR_WINE wine REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${TOLVAR_WINE})
