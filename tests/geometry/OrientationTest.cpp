#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <ostream>
#include <string>

#include "geometry/Orientation.h"

namespace {

using geometry::AproxAngle;
using geometry::ReflectAngle;

// Bit-for-bit equality: tells 0 from minus zero and catches a last-place difference.
testing::AssertionResult sameBits(double actual, double expected) {
    if (std::bit_cast<std::uint64_t>(actual) == std::bit_cast<std::uint64_t>(expected)) {
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure() << testing::PrintToString(actual) << " is not bit for bit "
                                       << testing::PrintToString(expected);
}

struct AngleCase {
    const char* situation;
    double angle;
    std::int16_t icon;
    double leftRight;
    double topBottom;
};

void PrintTo(const AngleCase& c, std::ostream* os) {
    *os << c.situation;
}

class AngleRules : public testing::TestWithParam<AngleCase> {};

TEST_P(AngleRules, IconAndBothMirrors) {
    const AngleCase& c = GetParam();
    EXPECT_EQ(AproxAngle(c.angle), c.icon);
    EXPECT_TRUE(sameBits(ReflectAngle(c.angle, true), c.leftRight));
    EXPECT_TRUE(sameBits(ReflectAngle(c.angle, false), c.topBottom));
}

const double kJustAbove45 = std::nextafter(45.0, 90.0);
const double kJustAbove90 = std::nextafter(90.0, 180.0);
const double kJustBelow270 = std::nextafter(270.0, 0.0);
const double kJustAbove315 = std::nextafter(315.0, 360.0);
const double kJustBelowZero = std::nextafter(0.0, -1.0);

INSTANTIATE_TEST_SUITE_P(
    Cases, AngleRules,
    testing::Values(AngleCase{"minus_180", -180.0, 270, -180.0, 540.0},
                    AngleCase{"minus_90", -90.0, 270, -90.0, 450.0},
                    AngleCase{"minus_half", -0.5, 270, -0.5, 360.5},
                    AngleCase{"smallest_negative", kJustBelowZero, 270, kJustBelowZero, 360.0},
                    AngleCase{"minus_zero", -0.0, 0, -0.0, 180.0},
                    AngleCase{"zero", 0.0, 0, 0.0, 180.0},
                    AngleCase{"thirty", 30.0, 0, 330.0, 330.0},
                    AngleCase{"below_first_limit", 44.9, 0, 315.1, 315.1},
                    AngleCase{"first_limit", 45.0, 0, 315.0, 315.0},
                    AngleCase{"hair_above_first_limit", kJustAbove45, 90, 315.0, 315.0},
                    AngleCase{"above_first_limit", 45.1, 90, 314.9, 314.9},
                    AngleCase{"ninety", 90.0, 90, 270.0, 90.0},
                    AngleCase{"hair_above_ninety", kJustAbove90, 90, 270.0, 270.0},
                    AngleCase{"millionth_above_ninety", 90.000001, 90, 269.999999, 269.999999},
                    AngleCase{"second_limit", 135.0, 90, 225.0, 225.0},
                    AngleCase{"above_second_limit", 135.1, 180, 224.9, 224.9},
                    AngleCase{"one_eighty", 180.0, 180, 180.0, 0.0},
                    AngleCase{"third_limit", 225.0, 180, 135.0, 135.0},
                    AngleCase{"above_third_limit", 225.1, 270, 134.9, 134.9},
                    AngleCase{"hair_below_270", kJustBelow270, 270, 90.00000000000006,
                              90.00000000000006},
                    AngleCase{"two_seventy", 270.0, 270, 90.0, 270.0},
                    AngleCase{"fourth_limit", 315.0, 270, 45.0, 45.0},
                    AngleCase{"hair_above_fourth_limit", kJustAbove315, 0, 44.99999999999994,
                              44.99999999999994},
                    AngleCase{"above_fourth_limit", 315.1, 0, 44.89999999999998, 44.89999999999998},
                    AngleCase{"full_turn", 360.0, 0, 360.0, 0.0},
                    AngleCase{"past_full_turn", 450.0, 0, 450.0, -90.0}),
    [](const auto& row) { return std::string(row.param.situation); });

// What the back-side preview shows for a page drawn at a right angle.
TEST(AngleRules, RightAnglesTurnToTheExpectedBackIcons) {
    struct Turn {
        double front;
        std::int16_t leftRight;
        std::int16_t topBottom;
    };
    for (const Turn t :
         {Turn{0.0, 0, 180}, Turn{90.0, 270, 90}, Turn{180.0, 180, 0}, Turn{270.0, 90, 270}}) {
        EXPECT_EQ(AproxAngle(ReflectAngle(t.front, true)), t.leftRight) << t.front;
        EXPECT_EQ(AproxAngle(ReflectAngle(t.front, false)), t.topBottom) << t.front;
    }
}

TEST(AngleRules, MirroringTwiceRestoresEveryWholeDegreeOfATurn) {
    for (int degrees = 0; degrees < 360; ++degrees) {
        const double angle = degrees;
        for (const bool flipLeftRight : {true, false}) {
            EXPECT_TRUE(
                sameBits(ReflectAngle(ReflectAngle(angle, flipLeftRight), flipLeftRight), angle))
                << angle << (flipLeftRight ? " left-right" : " top-bottom");
        }
    }
}

TEST(AngleRules, MirroringAFractionTwiceRestoresItUpToRounding) {
    // 360 - (360 - 0.1) rounds twice and does not give 0.1 back exactly.
    EXPECT_TRUE(sameBits(ReflectAngle(ReflectAngle(0.1, true), true), 0.10000000000002274));
    EXPECT_TRUE(sameBits(ReflectAngle(ReflectAngle(0.1, false), false), 0.10000000000002274));
}

TEST(AngleRules, TopBottomTwiceDoesNotUndoAFullTurn) {
    // 360 is no right angle and goes to 0, which is one and goes on to 180.
    EXPECT_TRUE(sameBits(ReflectAngle(ReflectAngle(360.0, false), false), 180.0));
}

}  // namespace
