// The line plan's storage, the checked cell access and the recording of data errors.
#include "compiler/track_model.h"

#include <utility>

#include "base/failures.h"
#include "base/platform.h"

namespace scenario {

void LinePlan::create(std::int32_t planLength) {
    const std::size_t count = static_cast<std::size_t>(planLength) + 1;
    first_ = std::make_unique_for_overwrite<double[]>(count);
    second_ = std::make_unique_for_overwrite<double[]>(count);
    // A long route's plan is megabytes, each of its pages touched once.
    preferLargePages(first_.get(), count * sizeof(double));
    preferLargePages(second_.get(), count * sizeof(double));
    // The seeds' places are read whether seeded or not.
    for (std::size_t m = 0; m < count && m < 2; ++m) first_[m] = second_[m] = 0.0;
    exists_ = true;
    seeded_ = false;
    upper_ = planLength;
    doubleEnd_ = 2;
}

void LinePlan::clear() {
    *this = LinePlan();
}

void LinePlan::seed() {
    if (upper_ < 1) throw RunTimeFailure("plan too short to seed");
    first_[0] = 0.0;
    second_[0] = 0.0;
    first_[1] = 0.0;
    second_[1] = 1.0;
    seeded_ = true;
}

PlanValueType LinePlan::typeAt(std::int32_t m) const {
    if (m < 2) return seeded_ ? PlanValueType::Integer : PlanValueType::Empty;
    return m < doubleEnd_ ? PlanValueType::Double : PlanValueType::Empty;
}

TrackCell& ScenarioBuild::cell(std::int64_t index) {
    if (!cellExists(index))
        throw RunTimeFailure(
            "the record reaches a cell outside the track cell table, before the route's start or "
            "past its end");
    if (cellWatcher) cellWatcher->cellTouched(index);
    return trackCells[static_cast<std::size_t>(index)];
}

void recordError(ScenarioBuild& build, std::int32_t code, std::int32_t position, Location at) {
    build.errorCode = code;
    build.errorPosition = position;
    Diagnostic error = recordedError(code, position, std::move(at));
    error.afterFirst = !build.errors.empty();
    build.errors.push_back(std::move(error));
}

void recordModelError(ScenarioBuild& build, std::int32_t code, std::int32_t position) {
    recordError(build, code, position, Location{});
}

}  // namespace scenario
