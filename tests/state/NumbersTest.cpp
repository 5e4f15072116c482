#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "state/Errors.h"
#include "state/Numbers.h"

namespace {

TEST(Numbers, RoundsHalvesToTheEvenNeighbour) {
    EXPECT_EQ(state::toInt16Clamped(2.5), 2);
    EXPECT_EQ(state::toInt16Clamped(3.5), 4);
    EXPECT_EQ(state::toInt16Clamped(-2.5), -2);
    EXPECT_EQ(state::toInt16Clamped(2.5000001), 3);
    EXPECT_EQ(state::toInt16Clamped(-0.4), 0);
}

TEST(Numbers, RangeEnds) {
    EXPECT_EQ(state::toInt16Clamped(32767.4), 32767);
    EXPECT_EQ(state::toInt16Clamped(32767.5), 32767);
    EXPECT_EQ(state::toInt16Clamped(-32768.5), -32768);
    EXPECT_EQ(state::toInt16Clamped(-32768.6), -32768);
}

TEST(Numbers, ClampedConversionHoldsValuesAtTheRangeEnds) {
    EXPECT_EQ(state::toInt16Clamped(3.5), 4);
    EXPECT_EQ(state::toInt16Clamped(1e9), 32767);
    EXPECT_EQ(state::toInt16Clamped(-1e9), -32768);
    EXPECT_EQ(state::toInt16Clamped(-std::numeric_limits<double>::infinity()), -32768);
    EXPECT_THROW(state::toInt16Clamped(std::nan("")), state::OverflowError);
}

}  // namespace
