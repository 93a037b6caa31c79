// ZqGlfwGame::OpenUrl on Windows (open_url_posix.cpp is the POSIX one): the
// shell's "open" operation, which starts the user's browser for a web
// address. The URL is narrowed to 8-bit characters (each unit's low byte),
// as ShellExecuteA takes them; no result is examined.
//
// Only web addresses are handed over: "open" on any other text would start
// whatever program or file it names.
// The host's header first: windows.h defines macros (LoadString) that
// would rename its methods.
#include "runtime/host/glfw_game.h"
// clang-format off
#include <windows.h>
#include <shellapi.h>  // needs windows.h first
// clang-format on

#include <string>

void ZqGlfwGame::OpenUrl(String url) {
    std::string narrow = url.ToNarrow();
    if (narrow.rfind("http://", 0) != 0 && narrow.rfind("https://", 0) != 0) return;
    ShellExecuteA(nullptr, "open", narrow.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
