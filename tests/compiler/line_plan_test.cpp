// The plan's metre-by-metre steps and their storage.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <string>
#include <vector>

#include "compiler/compile_fixture.h"

namespace scenario::testing {
namespace {

std::uint64_t bitsOf(double value) {
    return std::bit_cast<std::uint64_t>(value);
}

struct Curve {
    std::int32_t start;
    std::int32_t length;
    double k;
};

struct ReplayedPlan {
    std::vector<double> x;
    std::vector<double> y;
};

// The plan by its rules, metre by metre: metres 0 and 1 set the heading, each later metre
// repeats the step between the two before it, turned by k where a curve covers the metre
// (start < m <= start + length).
ReplayedPlan replayPlan(const std::vector<Curve>& curves, std::int32_t last) {
    ReplayedPlan plan{{0.0, 0.0}, {0.0, 1.0}};
    for (std::int32_t m = 2; m <= last; ++m) {
        const std::size_t i = static_cast<std::size_t>(m);
        const double d0 = plan.x[i - 1] - plan.x[i - 2];
        const double d1 = plan.y[i - 1] - plan.y[i - 2];
        const Curve* curve = nullptr;
        for (const Curve& c : curves)
            if (m > c.start && m <= c.start + c.length) curve = &c;
        if (curve == nullptr) {
            plan.x.push_back(plan.x[i - 1] + d0);
            plan.y.push_back(plan.y[i - 1] + d1);
            continue;
        }
        const double dx = d0 + curve->k * d1;
        const double dy = d1 - curve->k * d0;
        plan.x.push_back(plan.x[i - 1] + dx);
        plan.y.push_back(plan.y[i - 1] + dy);
    }
    return plan;
}

std::string lineWithCurves(const char* length, const std::vector<std::string>& curves) {
    std::string text =
        "[generale]\r\nlunghezza percorso,    " + std::string(length) + "\r\n[curve]\r\n";
    for (const std::string& curve : curves) text += curve + "\r\n";
    return text + "[fine]\r\n";
}

TEST(LinePlan, CurveExampleByHand) {
    CompileFixture f;
    f.setLineSource(lineWithCurves("34000", {"curvas6,  300 , 50 "}));
    f.setTrainSource("[generale]\r\n[fine]\r\n");
    f.compileSources();
    const LinePlan& plan = f.build.linePlan;
    ASSERT_EQ(f.build.errorCode, 0);
    EXPECT_EQ(plan.typeAt(0), PlanValueType::Integer);
    EXPECT_EQ(plan.typeAt(1), PlanValueType::Integer);
    EXPECT_EQ(plan.second(1), 1.0);
    EXPECT_EQ(plan.typeAt(2), PlanValueType::Double);
    EXPECT_EQ(bitsOf(plan.first(300)), bitsOf(0.0));
    EXPECT_EQ(bitsOf(plan.second(300)), bitsOf(300.0));
    EXPECT_EQ(bitsOf(plan.first(301)), bitsOf(-0.003));
    EXPECT_EQ(bitsOf(plan.second(301)), bitsOf(301.0));
    // -0.003 + (-0.003 + -0.003 * 1): the bracket doubles exactly, the sum rounds 3 * 0.003 once.
    EXPECT_EQ(bitsOf(plan.first(302)), bitsOf(-(3.0 * 0.003)));
    // The plan ends two metres short of planLength.
    EXPECT_EQ(plan.typeAt(40998), PlanValueType::Double);
    EXPECT_EQ(plan.typeAt(40999), PlanValueType::Empty);
    EXPECT_EQ(plan.typeAt(41000), PlanValueType::Empty);
}

TEST(LinePlan, CurvesAndStraightsMatchThePlainArithmeticBitForBit) {
    CompileFixture f;
    f.setLineSource(lineWithCurves("1000", {
                                               "curvas6,  300 , 50 ",
                                               "curvad5,  400 , 120 ",
                                               "CURVAS4,  600 , 30 ",
                                               "curvad1,  1000 , 2000 ",
                                               "curvad3,  3000 , 100 ",
                                               "curvas3,  3100 , 100 ",
                                               "curvas2,  5000 , 7 ",
                                           }));
    f.setTrainSource("[generale]\r\n[fine]\r\n");
    f.compileSources();
    ASSERT_EQ(f.build.errorCode, 0);
    const ReplayedPlan expected = replayPlan({{300, 50, -0.003},
                                              {400, 120, 0.002},
                                              {600, 30, -0.001},
                                              {1000, 2000, 0.0001},
                                              {3000, 100, 0.0004},
                                              {3100, 100, -0.0004},
                                              {5000, 7, -0.0002}},
                                             7998);
    const LinePlan& plan = f.build.linePlan;
    ASSERT_EQ(plan.doubleEnd(), 7999);
    for (std::int32_t m = 0; m <= 7998; ++m) {
        const std::size_t i = static_cast<std::size_t>(m);
        ASSERT_EQ(bitsOf(plan.first(m)), bitsOf(expected.x[i])) << "metre " << m;
        ASSERT_EQ(bitsOf(plan.second(m)), bitsOf(expected.y[i])) << "metre " << m;
    }
    EXPECT_EQ(f.build.lowStepMetre, 0);
}

// A class 6 curve turns the step by atan(0.003) per metre and stretches it by about 0.2 % over
// 500 metres, so its second coordinate falls below 0.015 once the heading passes
// acos(0.015 / 1.0023) = 1.555830 rad, after 519 turned steps: the step into metre 620, which
// the step computing metre 620 reads as d1, and the plan cursor then stands at 621.
TEST(LinePlan, LowStepMetreIsTakenOnlyInTheStepsOfACurveRecord) {
    struct Case {
        std::vector<std::string> curves;
        std::int32_t lowStepMetre;
    } cases[] = {
        {{"curvas6, 100, 519"}, 0},
        {{"curvas6, 100, 520"}, 621},
        {{"curvas6, 100, 519", "curvad1, 5000, 10"}, 621},
    };
    for (const Case& c : cases) {
        CompileFixture f;
        f.setLineSource(lineWithCurves("1000", c.curves));
        f.setTrainSource("[generale]\r\n[fine]\r\n");
        f.compileSources();
        EXPECT_EQ(f.build.errorCode, 0);
        EXPECT_EQ(f.build.lowStepMetre, c.lowStepMetre) << c.curves.back();
    }
}

// The step that takes the cursor past 1000000 stops before its low-step test: a class 6 curve's
// 520th turned step (see above) is that step when it computes metre 1000000, one step earlier not.
TEST(LinePlan, PlanCursorPastOneMillionIsErrorOneHundredThree) {
    struct Case {
        const char* curve;
        std::int32_t error;
        std::int32_t doubleEnd;
        std::int32_t lowStepMetre;
    } cases[] = {
        {"curvad1, 998000, 1999", 0, 1006999, 0},
        {"curvad1, 998000, 2000", 103, 1000001, 0},
        {"curvas6, 999480, 600", 103, 1000001, 0},
        {"curvas6, 999479, 600", 103, 1000001, 1000000},
    };
    for (const Case& c : cases) {
        CompileFixture f;
        f.setLineSource(lineWithCurves("1000000", {c.curve}));
        f.setTrainSource("[generale]\r\n[fine]\r\n");
        f.compileSources();
        EXPECT_EQ(f.build.errorCode, c.error) << c.curve;
        EXPECT_EQ(f.build.linePlan.doubleEnd(), c.doubleEnd) << c.curve;
        EXPECT_EQ(f.build.lowStepMetre, c.lowStepMetre) << c.curve;
        EXPECT_FALSE(f.hasLineSource());
        if (c.error != 0) {
            EXPECT_TRUE(f.hasTrainSource());
            // The pass stopped there: the gradient profile was not completed.
            EXPECT_EQ(f.cell(0).gradient, 0);
        }
    }
}

}  // namespace
}  // namespace scenario::testing
