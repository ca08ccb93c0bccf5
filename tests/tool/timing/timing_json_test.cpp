// The fastest run thinned for the page: its ends kept, a steady stretch reduced to a point every
// few hundred metres, a change of speed kept closely enough to draw.
#include "tool/timing/timing_json.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace scenario {
namespace {

using timing::RunPoint;

// A run every 5 m over `metres`, its speed (m/s) by position.
template <typename Speed>
std::vector<RunPoint> runOf(double metres, Speed speed) {
    std::vector<RunPoint> run;
    double time = 0;
    for (double x = 0; x <= metres; x += 5) {
        if (!run.empty()) time += 5 / std::max(0.5, (speed(x) + run.back().speed) / 2);
        run.push_back({x, speed(x), time});
    }
    return run;
}

TEST(ThinnedRun, KeepsTheEndsAndEnoughPointsToDrawTheRunWithin1KmH) {
    struct Case {
        const char* name;
        std::vector<RunPoint> run;
    };
    const Case cases[] = {
        {"steady", runOf(10000, [](double) { return 30.0; })},
        {"speeding up", runOf(2000, [](double x) { return std::sqrt(2 * 0.5 * x); })},
        {"up and down", runOf(3000, [](double x) { return 20 + 5 * std::sin(x / 300); })},
    };
    for (const Case& c : cases) {
        const nlohmann::json thinned = thinnedRun(c.run);
        const auto& position = thinned["position"];
        const auto& speed = thinned["speed"];
        ASSERT_EQ(position.size(), speed.size()) << c.name;
        ASSERT_EQ(position.size(), thinned["time"].size()) << c.name;
        // A point for each half km/h of change, or every 250 m, and the ends.
        double change = 0;
        for (std::size_t i = 1; i < c.run.size(); ++i)
            change += std::abs(c.run[i].speed - c.run[i - 1].speed) * 3.6;
        EXPECT_LE(position.size(), change / 0.5 + c.run.back().position / 250 + 2) << c.name;
        EXPECT_EQ(position.front(), c.run.front().position) << c.name;
        EXPECT_EQ(position.back(), c.run.back().position) << c.name;
        EXPECT_NEAR(thinned["time"].back().get<double>(), c.run.back().time, 0.05) << c.name;
        // Drawn straight between the kept points, the run stays within 1 km/h of every point.
        std::size_t k = 0;
        for (const RunPoint& p : c.run) {
            while (k + 1 < position.size() && position[k + 1].get<double>() < p.position) ++k;
            const std::size_t j = std::min(k + 1, position.size() - 1);
            const double x0 = position[k], x1 = position[j];
            const double f = x1 > x0 ? (p.position - x0) / (x1 - x0) : 0;
            const double drawn =
                speed[k].get<double>() + (speed[j].get<double>() - speed[k].get<double>()) * f;
            EXPECT_NEAR(drawn, p.speed * 3.6, 1.0) << c.name << " at " << p.position;
        }
    }
}

}  // namespace
}  // namespace scenario
