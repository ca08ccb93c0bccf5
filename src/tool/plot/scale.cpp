// Tick steps and labels for the route picture's axes.
#include "tool/plot/scale.h"

#include <fmt/format.h>

#include <cmath>

namespace scenario {
namespace {

// No axis of the picture needs more ticks than this; a damaged file can ask for billions.
constexpr double kMostTicks = 1000.0;
// Whole steps are counted exactly in a double only well below 2^53.
constexpr double kLargestStepCount = 1e12;

}  // namespace

double niceStep(double span, int count) {
    if (!(span > 0.0) || !std::isfinite(span) || count < 1) return 1.0;
    const double rough = span / count;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    // A span near the smallest double leaves no power of ten to step by.
    if (!(power > 0.0)) return 1.0;
    for (const double factor : {1.0, 2.0, 5.0})
        if (factor * power >= rough) return factor * power;
    return 10.0 * power;
}

std::vector<double> ticks(double from, double to, double step) {
    std::vector<double> out;
    if (!(step > 0.0) || !std::isfinite(from) || !std::isfinite(to)) return out;
    if (!(std::abs(from / step) < kLargestStepCount && std::abs(to / step) < kLargestStepCount &&
          (to - from) / step < kMostTicks))
        return out;
    // Counted in whole steps, so that 0.1 + 0.2 never shows as 0.30000000000000004.
    for (double k = std::ceil(from / step - 1e-9); k * step <= to + step * 1e-9; k += 1.0)
        out.push_back(k * step);
    return out;
}

std::string tickLabel(double value, double step) {
    const bool whole = step >= 1.0 || !(step > 0.0) || !std::isfinite(step);
    const int decimals = whole ? 0 : static_cast<int>(std::ceil(-std::log10(step) - 1e-9));
    if (std::abs(value) < step * 1e-6) value = 0.0;
    return fmt::format("{:.{}f}", value, decimals);
}

}  // namespace scenario
