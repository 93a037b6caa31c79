// ZqGlfwGame::OpenUrl in the browser: a new tab, detached from the game's
// page (no opener). Only web addresses are opened, as on Windows; a page
// that blocks pop-ups may refuse it, and nothing is reported back.
#include <emscripten.h>

#include <string>

#include "runtime/host/glfw_game.h"

namespace {
// clang-format off
EM_JS(void, tolvar_web_open_url, (const char* url), {
    window.open(UTF8ToString(url), "_blank", "noopener");
});
// clang-format on
}  // namespace

void ZqGlfwGame::OpenUrl(String url) {
    std::string address = url.ToUtf8();
    if (address.rfind("http://", 0) != 0 && address.rfind("https://", 0) != 0) return;
    tolvar_web_open_url(address.c_str());
}
