// The picture's axes: steps of 1, 2 or 5 times a power of ten, ticks on whole multiples of the
// step, labels with as many decimals as the step needs, and no runaway on a damaged file's values.
#include "tool/plot/scale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace scenario {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr double kNotANumber = std::numeric_limits<double>::quiet_NaN();
constexpr double kSmallest = std::numeric_limits<double>::denorm_min();

TEST(PlotScale, StepIsTheFirstOneTwoOrFiveAtLeastTheRoughPart) {
    const struct {
        double span;
        int count;
        double step;
    } cases[] = {
        {34.0, 12, 5.0},      // about 2.8 a part
        {6.0, 12, 0.5},       // exactly 0.5
        {1000.0, 12, 100.0},  // about 83
        {12.0, 12, 1.0},      // exactly a power of ten
        {13.0, 12, 2.0},      // just above one
        {3.0, 10, 0.5},       // 0.3
        {0.6, 3, 0.2},        // 0.19999999999999998
        {95.0, 10, 10.0},     // 9.5
        // Nothing to cut, or no power of ten as small as the part: a step of one.
        {0.0, 12, 1.0},
        {-5.0, 12, 1.0},
        {kNotANumber, 12, 1.0},
        {kInfinity, 12, 1.0},
        {34.0, 0, 1.0},
        {kSmallest, 1, 1.0},
    };
    for (const auto& c : cases) EXPECT_EQ(niceStep(c.span, c.count), c.step) << c.span;
}

TEST(PlotScale, TicksAreTheStepsMultiplesWithinTheRangeEndsIncluded) {
    const struct {
        double from, to, step;
        std::vector<double> ticks;
    } cases[] = {
        {0.0, 34.0, 5.0, {0, 5, 10, 15, 20, 25, 30}},
        {0.0, 6.0, 2.0, {0, 2, 4, 6}},
        {-12.0, 12.0, 5.0, {-10, -5, 0, 5, 10}},
        {1.0, 4.0, 5.0, {}},
        {5.0, 1.0, 1.0, {}},
        {0.0, 1.0, 0.0, {}},
        {0.0, 1.0, -1.0, {}},
        {0.0, kInfinity, 1.0, {}},
        {kNotANumber, 1.0, 1.0, {}},
        // Ten billion steps, and steps too small to count in a double: both would never end.
        {0.0, 1e10, 1.0, {}},
        {1e17, 1e17 + 64, 1.0, {}},
    };
    for (const auto& c : cases) EXPECT_EQ(ticks(c.from, c.to, c.step), c.ticks) << c.from;

    // Counted in whole steps: the third of 0.1 is 3 * 0.1, and the end is kept despite rounding.
    const std::vector<double> tenths = ticks(0.05, 0.3, 0.1);
    ASSERT_EQ(tenths.size(), 3u);
    EXPECT_EQ(tenths[2], 3 * 0.1);
}

TEST(PlotScale, LabelsShowTheDecimalsTheStepNeeds) {
    const struct {
        double value, step;
        const char* label;
    } cases[] = {
        {30.0, 5.0, "30"},       {1000.0, 100.0, "1000"}, {-10.0, 5.0, "-10"},
        {5.5, 0.5, "5.5"},       {6.0, 0.5, "6.0"},       {3 * 0.1, 0.1, "0.3"},
        {0.05, 0.05, "0.05"},    {0.02, 0.01, "0.02"},    {-1e-17, 0.1, "0.0"},  // never "-0.0"
        {-1e-12, 1.0, "0"},      {7.0, 0.0, "7"},  // no step: whole numbers
        {7.0, kNotANumber, "7"},
    };
    for (const auto& c : cases) EXPECT_EQ(tickLabel(c.value, c.step), c.label) << c.value;
}

TEST(PlotScale, LinearScaleMapsTheEndsAndKeepsAFlatRangeAtItsStart) {
    const LinearScale rising{0.0, 10.0, 100.0, 300.0};
    EXPECT_EQ(rising(0.0), 100.0);
    EXPECT_EQ(rising(10.0), 300.0);
    EXPECT_EQ(rising(2.5), 150.0);
    const LinearScale upward{0.0, 10.0, 300.0, 100.0};  // pixels grow downward
    EXPECT_EQ(upward(10.0), 100.0);
    EXPECT_EQ((LinearScale{4.0, 4.0, 20.0, 80.0}(4.0)), 20.0);
}

}  // namespace
}  // namespace scenario
