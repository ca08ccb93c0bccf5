// The plan's metre-by-metre steps: each metre carries on the step vector of the two metres
// before it, unchanged on straight track or turned by the curvature in a curve.
#pragma once

#include <cstdint>

namespace scenario {

class LinePlan;

// Both compute metre m from metres m - 1 and m - 2 and return d1, the second coordinate's
// advance between those two metres. m must be the next metre of the plan's run.
double straightPlanStep(LinePlan& plan, std::int32_t m);
double curvePlanStep(LinePlan& plan, std::int32_t m, double curvature);

// Straight steps for metres from .. last in turn, each value the very one straightPlanStep would
// store; the metres just computed are carried along instead of read back.
void straightPlanRun(LinePlan& plan, std::int32_t from, std::int32_t last);

}  // namespace scenario
