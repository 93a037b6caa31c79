// The framework's shared random generator: one 32-bit linear congruential
// state, used by the framework and the game alike so that a run seeded the
// same way draws the same numbers. Main thread only.
#pragma once

// The state; zqInit sets it to 1234.
extern int zq_random_Seed;

// One step (seed = seed * 1664525 + 1013904223, modulo 2^32) and the
// fraction (seed >> 8) / 2^24, in [0, 1).
float zq_random_Rnd();
// One step; a float uniform in [low, high).
float zq_random_Rnd2(float low, float high);
