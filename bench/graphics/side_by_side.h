// What the graphics benchmarks that race our render device against SDL2's
// renderer share: both window systems started once, a window with a fresh
// device for our side, an SDL window with its OpenGL renderer for the peer,
// and running Google Benchmark with the two sides' repetitions interleaved.
//
// Both window systems start before any benchmark and stay up to the end:
// an SDL run that shut its video down before ours started left the GL
// driver's per-connection state stale, and our window never opened.
// Main thread only.
#pragma once

#include <SDL2/SDL.h>
#include <benchmark/benchmark.h>

#include <vector>

#include "graphics/tvx_graphics.h"

// Runtime module globals, the collector's roots, GLFW and SDL's video.
void StartWindowSystems();
void StopWindowSystems();

// Opens a w x h window of the GLFW-2 layer (a new context, as the host
// counts them) and installs a new render device for it; null after
// skipping the benchmark with the reason.
tvxGraphics* OpenOurWindow(benchmark::State& state, int w, int h);

// An SDL window of w x h with its OpenGL renderer; false (benchmark skipped,
// nothing left open) when either cannot be had.
struct SdlWindow {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    bool Open(benchmark::State& state, int w, int h);
    ~SdlWindow();
};

// Initialises Google Benchmark with random interleaving of repetitions (the
// machine's drift then falls on both sides) and runs every benchmark;
// false on unrecognised arguments.
bool RunInterleaved(int argc, char** argv);

// The median of v (0 for none).
double Median(std::vector<double> v);
