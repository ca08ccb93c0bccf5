// The plan's metre-by-metre steps: each metre carries on the step vector of the two metres
// before it, unchanged on straight track or turned by the curvature in a curve. They run once per
// plan metre, so they are inline, in the exact operation order that keeps every metre
// bit-identical to the plain double arithmetic the simulator's data was made with.
#pragma once

#include <cstdint>

#include "base/failures.h"
#include "compiler/track_model.h"

namespace scenario {

inline void requireStepMetre(const LinePlan& plan, std::int32_t m) {
    if (m < 2 || m > plan.upperBound()) throw RunTimeFailure("plan step outside the plan");
}

// Both compute metre m from metres m - 1 and m - 2 and return d1, the second coordinate's
// advance between those two metres. m must be the next metre of the plan's run.
inline double straightPlanStep(LinePlan& plan, std::int32_t m) {
    requireStepMetre(plan, m);
    const double d0 = plan.first(m - 1) - plan.first(m - 2);
    const double d1 = plan.second(m - 1) - plan.second(m - 2);
    plan.setDouble(m, plan.first(m - 1) + d0, plan.second(m - 1) + d1);
    return d1;
}

inline double curvePlanStep(LinePlan& plan, std::int32_t m, double curvature) {
    requireStepMetre(plan, m);
    const double d0 = plan.first(m - 1) - plan.first(m - 2);
    const double d1 = plan.second(m - 1) - plan.second(m - 2);
    // Each turned component is rounded on its own before it is added; the step is not
    // renormalised, so it grows a little at every curve metre, as the simulator expects.
    const double turned0 = d0 + curvature * d1;
    const double turned1 = d1 - curvature * d0;
    plan.setDouble(m, plan.first(m - 1) + turned0, plan.second(m - 1) + turned1);
    return d1;
}

}  // namespace scenario
