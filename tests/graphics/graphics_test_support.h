// Shared pieces of the graphics tests: a host that decodes images and maps
// the data folder to a temporary folder, PNG writing, and a real window.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "graphics/tvx_graphics.h"
#include "runtime/lang/game.h"

// A platform-neutral host whose image loader is the real one and whose
// "tolvar://data/" folder is `dataFolder`.
class TestHost : public ZqGame {
  public:
    std::string appFolder;   // the program's folder; holds "data"
    std::string dataFolder;  // appFolder + "/data"

    String PathToFilePath(String path) override;
    unsigned char* LoadImageData(String path, int* width, int* height, int* depth) override;
};

// Installs one TestHost as ZqGame::_game (once per process) with a fresh
// temporary data folder, runs the module initialisers and queues the roots.
TestHost* InstallTestRuntime();

// Writes an image file of `depth` channels (rows top to bottom) as PNG.
void WritePng(const std::string& path, int width, int height, int depth, const std::vector<uint8_t>& pixels);

// A w x h RGBA image filled with one colour.
std::vector<uint8_t> SolidRgba(int width, int height, uint8_t r, uint8_t g, uint8_t b, uint8_t a);

// The real 640 x 480 window of the GLFW-2 layer. Open() increments
// glfwGraphicsSeq as the host does for every window it opens.
void OpenTestWindow();
void CloseTestWindow();

// The RGBA bytes of window pixel (x, y), y measured from the top.
struct Rgba {
    int r, g, b, a;
};
Rgba PixelAt(int x, int y);
