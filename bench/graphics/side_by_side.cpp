// Window systems and runs shared by the side-by-side graphics benchmarks.
#include "bench/graphics/side_by_side.h"

#include <algorithm>

#include "graphics/zq_graphics.h"
#include "runtime/glfw2/glfw2.h"
#include "runtime/lang/game.h"
#include "runtime/lang/init.h"

extern int zq_app__devWidth;
extern int zq_app__devHeight;

namespace {
bool glfwStarted = false;
}

void StartWindowSystems() {
    zq_run_module_inits();
    gc_mark();
    glfwStarted = glfw2::glfwInit() == 1;
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "opengl");
    SDL_SetHint(SDL_HINT_RENDER_BATCHING, "1");
    SDL_InitSubSystem(SDL_INIT_VIDEO);
}

void StopWindowSystems() {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    glfw2::glfwTerminate();
}

tvxGraphics* OpenOurWindow(benchmark::State& state, int w, int h) {
    if (!glfwStarted || !glfw2::glfwOpenWindow(w, h, 8, 8, 8, 8, 0, 0, glfw2::GLFW_WINDOW)) {
        state.SkipWithError("no window");
        return nullptr;
    }
    ++glfwGraphicsSeq;
    zq_app__devWidth = w;
    zq_app__devHeight = h;
    tvxGraphics* device = gc_new<tvxGraphics>();
    zq_graphics_SetGraphicsDevice(device);
    return device;
}

bool SdlWindow::Open(benchmark::State& state, int w, int h) {
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0) {
        state.SkipWithError("SDL video did not start");
        return false;
    }
    window =
        SDL_CreateWindow("bench", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, w, h, SDL_WINDOW_OPENGL);
    renderer = window ? SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED) : nullptr;
    SDL_RendererInfo info{};
    if (!renderer || SDL_GetRendererInfo(renderer, &info) != 0 || SDL_strcmp(info.name, "opengl") != 0) {
        state.SkipWithError("no OpenGL renderer");
        return false;
    }
    return true;
}

SdlWindow::~SdlWindow() {
    if (renderer) SDL_DestroyRenderer(renderer);
    if (window) SDL_DestroyWindow(window);
}

bool RunInterleaved(int argc, char** argv) {
    // A flag given on the command line comes later and wins.
    std::vector<char*> args(argv, argv + argc);
    char interleave[] = "--benchmark_enable_random_interleaving=true";
    args.insert(args.begin() + 1, interleave);
    argc = static_cast<int>(args.size());
    benchmark::Initialize(&argc, args.data());
    if (benchmark::ReportUnrecognizedArguments(argc, args.data())) return false;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return true;
}

double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::nth_element(v.begin(), v.begin() + static_cast<long>(v.size() / 2), v.end());
    return v[v.size() / 2];
}
