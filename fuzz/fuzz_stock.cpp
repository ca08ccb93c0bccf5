// Reads the input as a stock file, as `scenario timing --stock` does. What the reader accepts is
// within its keys' ranges, and times a short route to finite running times or a stall.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "tool/timing/running_times.h"
#include "tool/timing/stock.h"

namespace {

using namespace scenario;
using namespace scenario::fuzz;

// 5 km with a 100 km/h limit, a climb and a stop halfway.
timing::Timing timeShortRoute(const timing::Stock& stock) {
    std::vector<TrackCell> cells(100);
    for (std::size_t c = 0; c < cells.size(); ++c) {
        cells[c].speedLimit = 20;
        cells[c].gradient = c >= 40 && c < 60 ? 112 : 100;
    }
    StationTable table{};
    table[84].position = 8;
    table[84].platformStart = 95;
    const std::int32_t positions[] = {0, 2500, 4500};
    for (std::size_t i = 0; i < 3; ++i) {
        table[i + 1].stationKind = 1;
        table[i + 1].position = positions[i];
        table[i + 1].dwellTime = 30;
        table[i + 1].departureTime = 36000 + 300 * static_cast<std::int32_t>(i);
    }
    return timing::timeRoute({cells, &table, {}}, stock);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const timing::StockRead read = timing::readStock(text);
    if (!read.ok()) return 0;
    for (const timing::StockKey& key : timing::stockKeys()) {
        const double value = read.stock.*key.member;
        require(std::isfinite(value) && value >= 0 && value <= timing::kLargestStockValue,
                "an accepted key is within its range");
        require(!key.positive || value > 0, "an accepted mass is above 0");
    }
    for (const timing::Section& s : timeShortRoute(read.stock).sections) {
        require(s.minimum.has_value() != s.stall.has_value(), "a section has a minimum or a stall");
        if (s.minimum) require(std::isfinite(*s.minimum) && *s.minimum > 0, "a minimum is finite");
    }
    return 0;
}
