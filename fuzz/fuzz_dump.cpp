// Decodes the input's bytes as each of the three binary scenario files, as `scenario dump` does
// before it prints them. Bytes that decode are exactly the bytes the encoders give for the
// records read, and every name prints as valid UTF-8.
#include <cstddef>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "base/text_encoding.h"
#include "fuzz_check.h"
#include "output/binary_files.h"
#include "output/scenario_file_reader.h"

namespace {

using namespace scenario;
using namespace scenario::fuzz;

void checkTrackCells(std::string_view bytes) {
    const Decoded<std::vector<TrackCell>> cells = decodeTrackCells(bytes);
    if (!cells.ok()) return;
    require(encodeTrackCells(cells.records) == bytes, "track cells read back byte for byte");
}

void checkStationTable(std::string_view bytes) {
    const Decoded<StationTable> table = decodeStationTable(bytes);
    if (!table.ok()) return;
    require(encodeStationTable(table.records) == bytes, "station table reads back byte for byte");
    for (const StationRecord& r : table.records) {
        // A strict dump throws on invalid UTF-8.
        const nlohmann::json name = utf8FromWindows1252(r.name);
        (void)name.dump();
    }
}

std::size_t recordSize(const PlanElement& e) {
    switch (e.type) {
        case PlanValueType::Integer:
            return 4;
        case PlanValueType::Double:
            return 10;
        default:
            return 2;
    }
}

void checkLinePlan(std::string_view bytes) {
    const Decoded<PlanFile> plan = decodeLinePlan(bytes);
    if (!plan.ok()) return;
    require(plan.records.first.size() == plan.records.second.size(), "two halves alike");
    std::size_t size = 0;
    for (std::size_t m = 0; m < plan.records.first.size(); ++m) {
        require(plan.records.first[m].type == plan.records.second[m].type, "a metre has one type");
        size += recordSize(plan.records.first[m]) + recordSize(plan.records.second[m]);
    }
    require(size == bytes.size(), "every byte belongs to one plan record");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    checkTrackCells(bytes);
    checkStationTable(bytes);
    checkLinePlan(bytes);
    return 0;
}
