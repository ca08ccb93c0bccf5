// The plan steps, in the exact operation order that keeps every metre bit-identical to the
// plain double arithmetic the simulator's data was made with.
#include "compiler/line_plan_steps.h"

#include "base/failures.h"
#include "compiler/track_model.h"

namespace scenario {
namespace {

void requireStepMetre(const LinePlan& plan, std::int32_t m) {
    if (m < 2 || m > plan.upperBound()) throw RunTimeFailure("plan step outside the plan");
}

}  // namespace

double straightPlanStep(LinePlan& plan, std::int32_t m) {
    requireStepMetre(plan, m);
    const double d0 = plan.first(m - 1) - plan.first(m - 2);
    const double d1 = plan.second(m - 1) - plan.second(m - 2);
    plan.setDouble(m, plan.first(m - 1) + d0, plan.second(m - 1) + d1);
    return d1;
}

void straightPlanRun(LinePlan& plan, std::int32_t from, std::int32_t last) {
    if (from > last) return;
    requireStepMetre(plan, from);
    double first2 = plan.first(from - 2), first1 = plan.first(from - 1);
    double second2 = plan.second(from - 2), second1 = plan.second(from - 1);
    for (std::int32_t m = from; m <= last; ++m) {
        requireStepMetre(plan, m);
        const double first = first1 + (first1 - first2);
        const double second = second1 + (second1 - second2);
        plan.setDouble(m, first, second);
        first2 = first1;
        first1 = first;
        second2 = second1;
        second1 = second;
    }
}

double curvePlanStep(LinePlan& plan, std::int32_t m, double curvature) {
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
