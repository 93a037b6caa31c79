// The shared random generator: its start value, its step and its fraction.
#include <gtest/gtest.h>

#include "runtime/lang/init.h"
#include "runtime/lang/random.h"

TEST(Random, StartsAt1234AndStepsAsALinearCongruentialGeneratorModulo2To32) {
    zq_random_Seed = 99;
    zq_run_module_inits();
    EXPECT_EQ(zq_random_Seed, 1234);
    // 1234 * 1664525 + 1013904223 = 3067928073 (mod 2^32), stored as a
    // signed int; the fraction is its top 24 bits.
    EXPECT_FLOAT_EQ(zq_random_Rnd(), 3067928073u / 256 / 16777216.0f);
    EXPECT_EQ(static_cast<unsigned>(zq_random_Seed), 3067928073u);
}

TEST(Random, FractionsStayInTheHalfOpenUnitInterval) {
    zq_random_Seed = -1;
    for (int i = 0; i < 100000; ++i) {
        float r = zq_random_Rnd();
        ASSERT_GE(r, 0.0f);
        ASSERT_LT(r, 1.0f);
    }
    float x = zq_random_Rnd2(10, 20);
    EXPECT_GE(x, 10.0f);
    EXPECT_LT(x, 20.0f);
}
