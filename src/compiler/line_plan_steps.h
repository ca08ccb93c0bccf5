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

// Metre m's two values from those of metres m - 2 and m - 1; returns d1, the second value's
// advance between those two metres. A curve turns the step vector by the curvature: each turned
// component is rounded on its own before it is added, and the step is not renormalised, so it
// grows a little at every curve metre, as the simulator expects.
template <bool OnCurve>
inline double planStep(double first2, double first1, double second2, double second1,
                       double curvature, double& first, double& second) {
    const double d0 = first1 - first2;
    const double d1 = second1 - second2;
    if constexpr (OnCurve) {
        const double turned0 = d0 + curvature * d1;
        const double turned1 = d1 - curvature * d0;
        first = first1 + turned0;
        second = second1 + turned1;
    } else {
        first = first1 + d0;
        second = second1 + d1;
    }
    return d1;
}

// Computes metre m, the next metre of the plan's run, and returns its d1.
template <bool OnCurve>
inline double singlePlanStep(LinePlan& plan, std::int32_t m, double curvature) {
    requireStepMetre(plan, m);
    double first = 0;
    double second = 0;
    const double d1 = planStep<OnCurve>(plan.first(m - 2), plan.first(m - 1), plan.second(m - 2),
                                        plan.second(m - 1), curvature, first, second);
    plan.setDouble(m, first, second);
    return d1;
}

inline double straightPlanStep(LinePlan& plan, std::int32_t m) {
    return singlePlanStep<false>(plan, m, 0.0);
}

inline double curvePlanStep(LinePlan& plan, std::int32_t m, double curvature) {
    return singlePlanStep<true>(plan, m, curvature);
}

// Metres m .. last as that many single steps make them, the last two metres held in registers
// rather than read back. Returns the metre after the first step whose d1 fell below `low`, or 0.
template <bool OnCurve>
inline std::int32_t planStepRun(LinePlan& plan, std::int32_t m, std::int32_t last, double curvature,
                                double low) {
    requireStepMetre(plan, m);
    requireStepMetre(plan, last);
    plan.extendRun(m, last);
    double* const firsts = plan.firstValues();
    double* const seconds = plan.secondValues();
    double first2 = firsts[m - 2];
    double first1 = firsts[m - 1];
    double second2 = seconds[m - 2];
    double second1 = seconds[m - 1];
    std::int32_t lowAfter = 0;
    for (std::int32_t i = m; i <= last; ++i) {
        double first = 0;
        double second = 0;
        const double d1 =
            planStep<OnCurve>(first2, first1, second2, second1, curvature, first, second);
        firsts[i] = first;
        seconds[i] = second;
        if (d1 < low && lowAfter == 0) lowAfter = i + 1;
        first2 = first1;
        first1 = first;
        second2 = second1;
        second1 = second;
    }
    return lowAfter;
}

}  // namespace scenario
