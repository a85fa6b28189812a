// The scaled font height search, with measured heights from fake faces.
#include "forms/fonts/GetScaledFontHeight.h"

#include <cstdint>
#include <cstdlib>

#include <gtest/gtest.h>

namespace {

// A face that grows with lfHeight: tmHeight is the character height plus 2 of leading.
std::int32_t LinearFace(std::int32_t lfHeight) {
    return std::abs(lfHeight) + 2;
}

// A substituted face that measures 16 at the default height and 1 everywhere else, so
// neither direction of the search ever reaches its goal.
std::int32_t StuckFace(std::int32_t lfHeight) {
    return lfHeight == 0 ? 16 : 1;
}

}  // namespace

TEST(MulDivRounded, RoundsHalfAwayFromZeroAndRefusesWhatDoesNotFit) {
    struct Case {
        std::int32_t number, numerator, denominator, expected;
    };

    const Case cases[] = {
        {80, 96, 720, 11},
        {85, 96, 720, 11},
        {65, 96, 720, 9},
        {-5, 1, 2, -3},
        {5, 1, 2, 3},
        {5, 1, -2, -3},
        {7, 1, 2, 4},
        {0, 96, 720, 0},
        {1, 1, 0, -1},
        {2147483647, 2, 1, -1},
        {2147483647, 96, 720, 286331153},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.number << " * " << c.numerator << " / " << c.denominator);
        EXPECT_EQ(c.expected, MulDivRounded(c.number, c.numerator, c.denominator));
    }
}

TEST(FindScaledFontHeight, GivesTheLargestHeightThatFitsTheScaledBaseHeight) {
    struct Case {
        const char* name;
        double scaleX, scaleY;
        std::int32_t expected;
    };

    // 8 pt: base height 11 measures 13.
    const Case cases[] = {
        {"unscaled", 1.0, 1.0, -11},
        {"zero horizontal", 0.0, 1.0, 0},
        {"zero vertical", 1.0, 0.0, 0},
        {"negative factor", -1.0, 1.0, 0},
        // Goal 6: the candidate -5 measures 7, one step smaller fits.
        {"half horizontal", 0.5, 1.0, -4},
        {"half vertical", 1.0, 0.5, -4},
        // Goal 26: the candidate -21 measures 23, three steps larger still fit.
        {"doubled", 2.0, 2.0, -24},
        {"the smaller factor rules", 2.0, 3.0, -24},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, FindScaledFontHeight(80, c.scaleX, c.scaleY, LinearFace));
    }
}

TEST(FindScaledFontHeight, NeverPicksAFontTallerThanTheGoal) {
    const double scales[] = {0.3, 0.55, 0.77, 1.0, 1.3, 1.9, 2.5};
    for (const double scale : scales) {
        SCOPED_TRACE(scale);
        const std::int32_t goal = static_cast<std::int32_t>(LinearFace(-11) * scale);
        const std::int32_t height = FindScaledFontHeight(80, scale, 4.0, LinearFace);
        EXPECT_LE(LinearFace(height), goal);
        EXPECT_GT(LinearFace(height - 1), goal);
    }
}

TEST(FindScaledFontHeight, EndsWithAFaceThatStopsFollowingTheHeight) {
    struct Case {
        const char* name;
        double scale;
        std::int32_t expected;
    };

    const Case cases[] = {
        // The goal is 0, which nothing measures: the smallest height, not a hang.
        {"tiny window", 0.01, -1},
        // The goal is far above what the face ever measures: the search stops after a bound.
        {"huge window", 1000.0, -10667 - 1000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int calls = 0;
        const auto counting = [&calls](std::int32_t lfHeight) {
            ++calls;
            return StuckFace(lfHeight);
        };
        EXPECT_EQ(c.expected, FindScaledFontHeight(80, c.scale, c.scale, counting));
        EXPECT_LE(calls, 1002);
    }
}

TEST(FindScaledFontHeight, EndsWhenTheGoalIsBelowTheSmallestFont) {
    int calls = 0;
    const auto counting = [&calls](std::int32_t lfHeight) {
        ++calls;
        return LinearFace(lfHeight);
    };
    // Goal 0 (13 * 0.05): even lfHeight -1 measures 3.
    EXPECT_EQ(-1, FindScaledFontHeight(80, 0.05, 0.05, counting));
    EXPECT_LE(calls, 3);
}
