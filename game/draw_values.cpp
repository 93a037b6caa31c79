// Small value operations of the drawing layer: the colour palette, padded
// numbers, and the game's random numbers over the framework's shared seed.
#include <algorithm>
#include <cmath>

#include "game/my_app.h"
#include "runtime/host/zq_app.h"
#include "runtime/lang/random.h"

namespace {

// Palette factors (red, green, blue) for colours 1..9; any other index is grey.
constexpr float kPalette[10][3] = {
    {0.3f, 0.3f, 0.3f},  // grey
    {1.0f, 0.1f, 0.1f},  // red
    {1.0f, 0.5f, 0.1f},  // orange
    {1.0f, 1.0f, 0.1f},  // yellow
    {0.1f, 1.0f, 0.1f},  // green
    {0.1f, 1.0f, 1.0f},  // cyan
    {0.1f, 0.1f, 1.0f},  // blue
    {0.5f, 0.1f, 1.0f},  // violet
    {1.0f, 0.1f, 0.5f},  // pink
    {1.0f, 1.0f, 1.0f},  // white
};

// p_SeedRnd's argument that asks for the clock instead.
constexpr int kSeedFromClock = -37171650;
// Steps taken after seeding, so that close seeds give unrelated sequences.
constexpr int kSeedWarmUp = 21;

float Channel(float brightness, float factor) {
    return std::clamp(brightness * factor * 255.0f, 0.0f, 255.0f);
}

}  // namespace

int c_MyApp::p_Ink(int colour, float brightness) {
    const float* f = kPalette[colour >= 1 && colour <= 9 ? colour : 0];
    drawRed = Channel(brightness, f[0]);
    drawGreen = Channel(brightness, f[1]);
    drawBlue = Channel(brightness, f[2]);
    return 0;
}

// The last `width` characters of the padding (width + 1 times) and the
// digits; a string shorter than that (an empty pad) is returned whole, not
// sliced from its end.
String c_MyApp::p_rstr(int value, int width, String pad) {
    if (width <= 0) return String();
    String s;
    for (int i = 0; i <= width; ++i) s += pad;
    s += String(value);
    return s.Slice(std::max(s.Length() - width, 0));
}

String c_MyApp::p_rstr(int value, String pad) {
    return p_rstr(value, 11, pad);
}

int c_MyApp::p_Rand(float low, float high) {
    float r = zq_random_Rnd();
    return static_cast<int>(std::floor(low + (high + 0.99f - low) * r));
}

int c_MyApp::p_SeedRnd(int seed) {
    zq_random_Seed = seed == kSeedFromClock ? zq_app_Millisecs() : seed;
    for (int i = 0; i < kSeedWarmUp; ++i) zq_random_Rnd();
    return 0;
}
