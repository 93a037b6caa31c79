// The small services ZqGlfwGame offers the framework: time, update rate,
// video modes, path mapping and the image and audio loaders.
#include <vector>

#include "audio/audio_file.h"
#include "graphics/image_file.h"
#include "runtime/glfw2/glfw2.h"
#include "runtime/host/glfw_game.h"
#include "runtime/lang/datapath.h"

using namespace glfw2;

ZqGlfwGame* ZqGlfwGame::_glfwGame = nullptr;

namespace {

// Room for the video-mode list, as many as any monitor reports.
constexpr int kMaxVideoModes = 1024;

std::vector<GLFWvidmode> VideoModes() {
    std::vector<GLFWvidmode> modes(kMaxVideoModes);
    modes.resize(static_cast<size_t>(glfwGetVideoModes(modes.data(), kMaxVideoModes)));
    return modes;
}

// The desktop mode, or false when no monitor is known.
bool DesktopMode(GLFWvidmode& mode) {
    glfwGetDesktopMode(&mode);
    return mode.Width > 0 && mode.Height > 0;
}

}  // namespace

int ZqGlfwGame::Millisecs() {
    return static_cast<int>(glfwGetTime() * 1000.0);
}

void ZqGlfwGame::SetUpdateRate(int rate) {
    updateRate = rate;
    if (rate != 0) updatePeriod = 1.0 / rate;
    nextUpdate = 0;
}

Array<ZqDisplayMode*> ZqGlfwGame::GetDisplayModes() {
    std::vector<GLFWvidmode> modes = VideoModes();
    Array<ZqDisplayMode*> out(static_cast<int>(modes.size()));
    for (int i = 0; i < out.Length(); ++i) out[i] = gc_new<ZqDisplayMode>(modes[i].Width, modes[i].Height);
    return out;
}

ZqDisplayMode* ZqGlfwGame::GetDesktopMode() {
    GLFWvidmode mode;
    return DesktopMode(mode) ? gc_new<ZqDisplayMode>(mode.Width, mode.Height) : nullptr;
}

Array<ZqGlfwVideoMode*> ZqGlfwGame::GetGlfwVideoModes() {
    std::vector<GLFWvidmode> modes = VideoModes();
    Array<ZqGlfwVideoMode*> out(static_cast<int>(modes.size()));
    for (int i = 0; i < out.Length(); ++i) {
        const GLFWvidmode& m = modes[i];
        out[i] = gc_new<ZqGlfwVideoMode>(m.Width, m.Height, m.RedBits, m.GreenBits, m.BlueBits);
    }
    return out;
}

ZqGlfwVideoMode* ZqGlfwGame::GetGlfwDesktopMode() {
    GLFWvidmode m;
    return DesktopMode(m) ? gc_new<ZqGlfwVideoMode>(m.Width, m.Height, m.RedBits, m.GreenBits, m.BlueBits)
                          : nullptr;
}

String ZqGlfwGame::PathToFilePath(String path) {
    if (appPath.IsEmpty()) appPath = zq_ApplicationFolder();
    return zq_TolvarPathToFilePath(path, appPath);
}

unsigned char* ZqGlfwGame::LoadImageData(String path, int* width, int* height, int* depth) {
    return tvxLoadImageFile(this, path, width, height, depth);
}

unsigned char* ZqGlfwGame::LoadAudioData(String path, int* length, int* channels, int* format, int* hertz) {
    return tvxLoadAudioFile(this, path, length, channels, format, hertz);
}
