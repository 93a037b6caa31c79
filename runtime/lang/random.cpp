#include "runtime/lang/random.h"

#include <cstdint>

#include "runtime/lang/init.h"

int zq_random_Seed = 1234;

static void zq_random_Init() {
    zq_random_Seed = 1234;
}
ZQ_MODULE_INIT(zq_random_Init);

float zq_random_Rnd() {
    // Unsigned arithmetic: the wrap-around modulo 2^32 is the rule, not an overflow.
    uint32_t seed = static_cast<uint32_t>(zq_random_Seed) * 1664525u + 1013904223u;
    zq_random_Seed = static_cast<int>(seed);
    return static_cast<float>(seed >> 8) / 16777216.0f;
}

float zq_random_Rnd2(float low, float high) {
    return low + (high - low) * zq_random_Rnd();
}
