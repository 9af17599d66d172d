// The runtime's random numbers: the program's own generator, and a test's source in its place.
#include "platform/system/Rnd.h"
#include "platform/system/Seams.h"

#include <gtest/gtest.h>

TEST(Rnd, OwnGeneratorDrawsFromZeroToBelowOneAndTheInlineDrawsFollowIt) {
    vb::seams().rnd = {};
    vb::RndGenerator copy = vb::DefaultRnd();
    double lo = 1, hi = 0;
    for (int i = 0; i < 100000; ++i) {
        const double v = vb::Rnd();
        EXPECT_EQ(v, copy.Next());
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
    EXPECT_GE(lo, 0.0);
    EXPECT_LT(lo, 0.001);
    EXPECT_LT(hi, 1.0);
    EXPECT_GT(hi, 0.999);
}

TEST(Rnd, ATestSourceTakesItsPlaceUntilReset) {
    double next = 0.125;
    vb::seams().rnd = [&] { return next += 0.25; };
    EXPECT_TRUE(vb::HasRndSource());
    EXPECT_EQ(vb::Rnd(), 0.375);
    EXPECT_EQ(vb::Rnd(), 0.625);
    vb::seams().rnd = {};
    EXPECT_FALSE(vb::HasRndSource());
    EXPECT_LT(vb::Rnd(), 1.0);
}
