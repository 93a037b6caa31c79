#include "tests/graphics/graphics_test_support.h"

#include <stb_image_write.h>

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "graphics/image_file.h"
#include "runtime/glfw2/glfw2.h"
#include "runtime/lang/datapath.h"
#include "runtime/lang/init.h"

String TestHost::PathToFilePath(String path) {
    return zq_TolvarPathToFilePath(path, String(appFolder.c_str()));
}

unsigned char* TestHost::LoadImageData(String path, int* width, int* height, int* depth) {
    return tvxLoadImageFile(this, path, width, height, depth);
}

TestHost* InstallTestRuntime() {
    static TestHost* host = [] {
        auto* h = new TestHost();
        // The application folder holds "data"; a fresh one per process (a
        // name no other folder has, made with create_directory's answer).
        namespace fs = std::filesystem;
        std::random_device random;
        fs::path root;
        do {
            root = fs::temp_directory_path() / ("tolvar_graphics_" + std::to_string(random()));
        } while (!fs::create_directory(root));
        h->appFolder = root.generic_string();
        h->dataFolder = h->appFolder + "/data";
        std::filesystem::create_directories(h->dataFolder);
        ZqGame::_game = h;
        zq_run_module_inits();
        gc_mark();
        return h;
    }();
    return host;
}

void WritePng(const std::string& path, int width, int height, int depth, const std::vector<uint8_t>& pixels) {
    ASSERT_TRUE(stbi_write_png(path.c_str(), width, height, depth, pixels.data(), width * depth)) << path;
}

std::vector<uint8_t> SolidRgba(int width, int height, uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    std::vector<uint8_t> out(static_cast<size_t>(width) * height * 4);
    for (size_t i = 0; i < out.size(); i += 4) {
        out[i] = r;
        out[i + 1] = g;
        out[i + 2] = b;
        out[i + 3] = a;
    }
    return out;
}

void OpenTestWindow() {
    static bool initialised = glfw2::glfwInit() == 1;
    ASSERT_TRUE(initialised) << "no X display?";
    ASSERT_EQ(glfw2::glfwOpenWindow(640, 480, 8, 8, 8, 8, 0, 0, glfw2::GLFW_WINDOW), 1);
    ++glfwGraphicsSeq;
}

void CloseTestWindow() {
    glfw2::glfwCloseWindow();
}

Rgba PixelAt(int x, int y) {
    int w = 0, h = 0;
    glfw2::glfwGetWindowSize(&w, &h);
    uint8_t p[4] = {};
    glReadPixels(x, h - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return {p[0], p[1], p[2], p[3]};
}
