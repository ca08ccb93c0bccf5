#include "tool/timing/running_times.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "compiler/line_plan_steps.h"
#include "tool/check/compile_store.h"
#include "tool/source_fixture.h"
#include "tool/timing/route_track.h"
#include "tool/timing/train_forces.h"

namespace scenario::timing {
namespace {

// A straight route of `metres` built cell by cell, with the stations added in route order.
struct TestRoute {
    explicit TestRoute(int metres) : cells(static_cast<std::size_t>(metres / 50)) {
        for (TrackCell& c : cells) c.gradient = 100;
        stations[84].position = 0;       // cars
        stations[84].platformStart = 0;  // braked mass: the planning deceleration alone
    }
    TestRoute& limit(int from, int to, int kmh) {
        for (int c = from / 50; c < to / 50; ++c)
            cells[static_cast<std::size_t>(c)].speedLimit = static_cast<std::uint8_t>(kmh / 5);
        return *this;
    }
    TestRoute& gradient(int from, int to, int perMille) {
        for (int c = from / 50; c < to / 50; ++c)
            cells[static_cast<std::size_t>(c)].gradient = static_cast<std::uint8_t>(100 + perMille);
        return *this;
    }
    TestRoute& station(int position, int dwell, int hours, int minutes, int seconds = 0) {
        StationRecord& r = stations[static_cast<std::size_t>(++count)];
        r.stationKind = 1;
        r.position = position;
        r.dwellTime = static_cast<std::uint8_t>(dwell);
        r.departureTime = (hours * 60 + minutes) * 60 + seconds;
        r.name = std::to_string(count);
        r.name.insert(r.name.begin(), 'S');
        return *this;
    }
    TestRoute& cars(int n) {
        stations[84].position = n;
        return *this;
    }
    Timing time(const Stock& stock, TimingOptions options = {}) const {
        return timeRoute({cells, &stations, {}}, stock, options);
    }

    std::vector<TrackCell> cells;
    StationTable stations{};
    int count = 0;
};

Stock frictionless() {
    Stock s;
    s.resistanceA = 0;
    s.resistanceC = 0;
    s.rotatingMass = 0;
    return s;
}

// Where the run last holds `speed` before the end, m.
double lastAt(const Section& s, double speed) {
    double at = 0;
    for (const RunPoint& p : s.run)
        if (p.speed >= speed - 1e-9) at = p.position;
    return at;
}

// Where the run first exceeds `speed`, m.
double firstAbove(const Section& s, double speed) {
    for (const RunPoint& p : s.run)
        if (p.speed > speed + 1e-9) return p.position;
    return -1;
}

struct HandCase {
    const char* name;
    std::function<double()> computed;
    double expected;
    double tolerance;
};

TEST(RunningTimes, HandWorkedCases) {
    const HandCase cases[] = {
        // 100 kN on 80 t: a = 1.25 m/s^2; at 300 m the speed, 27.4 m/s, is below the knee of
        // 3000 kW / 100 kN = 30 m/s. t = sqrt(2 * 300 / 1.25).
        {"constant force on flat track: t = sqrt(2d/a)",
         [] {
             Stock s = frictionless();
             s.maxForceKn = 100;
             const Timing t = TestRoute(10000)
                                  .station(0, 1, 10, 0)
                                  .station(300, 0, 0, 0)
                                  .station(9000, 0, 11, 0)
                                  .time(s);
             return *t.passings.at(0).earliest - 36000;
         },
         std::sqrt(2 * 300 / 1.25), 1e-6},
        // 100 km/h braked at 0.6 m/s^2 with no resistance: (100 / 3.6)^2 / 1.2 = 643.0 m.
        {"braking from a steady speed: v^2 / 2b",
         [] {
             const Timing t = TestRoute(10000)
                                  .limit(0, 10000, 100)
                                  .station(0, 1, 10, 0)
                                  .station(8000, 0, 11, 0)
                                  .time(frictionless(), {.step = 1.0, .keepRun = true});
             return 8000 - lastAt(t.sections.at(0), 100 / 3.6);
         },
         (100 / 3.6) * (100 / 3.6) / 1.2, 1.0},
        // 10 cars: L = 20 + 10 * 26 = 280 m; the 40 km/h limit ends at 2000 m.
        {"a limit raise counts once the tail has passed it",
         [] {
             const Timing t = TestRoute(10000)
                                  .limit(0, 2000, 40)
                                  .cars(10)
                                  .station(0, 1, 10, 0)
                                  .station(9000, 0, 11, 0)
                                  .time(Stock{}, {.step = 1.0, .keepRun = true});
             return firstAbove(t.sections.at(0), 40 / 3.6);
         },
         2280, 1.0},
        // 40 cars, 1880 t, standing on 40 per mille: the grade alone is 1880 * 9.81 * 0.04 =
        // 738 kN against at most 200 kN.
        {"a heavy train stalls on a steep upgrade",
         [] {
             const Timing t = TestRoute(20000)
                                  .gradient(0, 20000, 40)
                                  .cars(40)
                                  .station(5000, 1, 10, 0)
                                  .station(9000, 0, 11, 0)
                                  .time(Stock{});
             const Section& s = t.sections.at(0);
             return s.minimum ? -1 : *s.stall;
         },
         5000, 0},
        {"the braked-mass speed: 16.85 * 120^0.428", [] { return brakedMassSpeedLimit(120); },
         130.8, 0.05},
        {"the braked-mass deceleration below it: 0.0075 * 120 + 0.076",
         [] { return brakedMassDeceleration(120, 100); }, 0.976, 1e-12},
        {"a section over midnight",
         [] {
             const Timing t =
                 TestRoute(10000).station(0, 1, 23, 58).station(9000, 0, 0, 3).time(Stock{});
             return double(*t.sections.at(0).scheduled);
         },
         300, 0},
    };
    for (const HandCase& c : cases) EXPECT_NEAR(c.computed(), c.expected, c.tolerance) << c.name;
}

// The built-in scenario, compiled from its sources in memory.
ScenarioBuild builtinBuild() {
    const testing::BuiltinTexts texts = testing::builtinTexts();
    ScenarioBuild build;
    build.scenarioName = "Alderi_Moncasta";
    build.trainNumber = "30752";
    compileInMemory(build, texts.line, texts.train);
    return build;
}

TEST(RunningTimes, AgreeWithAFineStepIntegration) {
    const ScenarioBuild build = builtinBuild();
    Stock heavy;
    heavy.powerKw = 1500;
    for (const Stock& stock : {Stock{}, heavy}) {
        const Timing product = timeBuild(build, stock);
        const Timing fine = timeBuild(build, stock, {.step = 0.5, .keepRun = false});
        ASSERT_GE(product.sections.size(), 2u);
        ASSERT_EQ(product.sections.size(), fine.sections.size());
        for (std::size_t i = 0; i < product.sections.size(); ++i) {
            ASSERT_TRUE(product.sections[i].minimum.has_value()) << i;
            EXPECT_NEAR(*product.sections[i].minimum, *fine.sections[i].minimum,
                        0.005 * *fine.sections[i].minimum)
                << i;
        }
    }
}

TEST(RunningTimes, SectionsThatCannotBeRunStayListedWithANote) {
    const Timing backwards = TestRoute(10000)
                                 .station(0, 1, 10, 0)
                                 .station(6000, 30, 10, 10)
                                 .station(3000, 0, 10, 20)
                                 .time(Stock{});
    ASSERT_EQ(backwards.sections.size(), 2u);
    EXPECT_TRUE(backwards.sections[0].minimum.has_value());
    EXPECT_FALSE(backwards.sections[1].minimum.has_value());
    EXPECT_NE(backwards.sections[1].note, "");

    const Timing outside =
        TestRoute(5000).station(0, 1, 10, 0).station(8000, 0, 10, 20).time(Stock{});
    EXPECT_FALSE(outside.sections.at(0).minimum.has_value());

    TestRoute closed(10000);
    closed.station(0, 1, 10, 0).station(9000, 0, 11, 0);
    closed.cells[100].kind = kSlowOrderStart;
    closed.cells[100].value1 = 0;
    closed.cells[120].kind = kSlowOrderEnd;
    const Section stopped = closed.time(Stock{}).sections.at(0);
    EXPECT_EQ(stopped.cause, StallCause::ZeroLimit);
    EXPECT_EQ(*stopped.stall, 4950);  // the order holds from the cell before its start board
}

TEST(RunningTimes, StopsTakeTheirArrivalFromTheDwell) {
    const Timing t = TestRoute(10000)
                         .station(0, 1, 10, 0)
                         .station(3000, 0, 10, 3)
                         .station(5000, 60, 10, 8)
                         .station(9000, 0, 10, 15)
                         .time(Stock{});
    ASSERT_EQ(t.stops.size(), 3u);
    EXPECT_EQ(*t.stops[1].arrival, 36000 + 7 * 60);
    EXPECT_EQ(*t.stops[1].departure, 36000 + 8 * 60);
    EXPECT_EQ(*t.sections[0].scheduled, 7 * 60);
    EXPECT_EQ(*t.sections[1].scheduled, 7 * 60);
    ASSERT_EQ(t.passings.size(), 1u);
    EXPECT_EQ(t.passings[0].section, 0);
    EXPECT_GT(*t.passings[0].earliest, 36000);
    // A train of no cars still runs.
    const Timing alone =
        TestRoute(10000).cars(0).station(0, 1, 10, 0).station(9000, 0, 10, 15).time(Stock{});
    EXPECT_TRUE(alone.sections.at(0).minimum.has_value());
}

TEST(RunningTimes, CurvesAreReadBackFromThePlan) {
    LinePlan plan;
    plan.create(400);
    plan.seed();
    for (std::int32_t m = 2; m <= 400; ++m) {
        if (m > 100 && m <= 150)
            curvePlanStep(plan, m, kCurveTurns[5]);
        else if (m > 200 && m <= 260)
            curvePlanStep(plan, m, -kCurveTurns[0]);
        else
            straightPlanStep(plan, m);
    }
    const std::vector<CurveRun> expected{{101, 151, kCurveTurns[5]}, {201, 261, -kCurveTurns[0]}};
    EXPECT_EQ(curvesOfPlan(plan, 401), expected);
    EXPECT_EQ(curvesOfPlan(plan, 220),
              (std::vector<CurveRun>{expected[0], {201, 220, -kCurveTurns[0]}}));
}

}  // namespace
}  // namespace scenario::timing
