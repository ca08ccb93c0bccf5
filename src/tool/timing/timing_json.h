// The running times as one JSON object, as `timing --json` prints them and the page reads them.
#pragma once

#include <nlohmann/json.hpp>
#include <vector>

#include "tool/timing/running_times.h"
#include "tool/timing/stock_file.h"

namespace scenario {

// {"stock", "train", "stops", "sections", "passings"}; names in UTF-8, times in seconds.
nlohmann::json timingJson(const timing::Timing& t, const StockChoice& stock);

// A section's fastest run thinned for drawing: {"position" m, "speed" km/h, "time" s from the
// departure}, a point kept where the speed has changed by a little or every few hundred metres.
nlohmann::json thinnedRun(const std::vector<timing::RunPoint>& run);

}  // namespace scenario
