// Prints the input's bytes as `scenario dump` prints a scenario file, as a table or as JSON. A file
// that decodes prints as valid UTF-8, its JSON parses, and with every record shown there is one
// row per record; a file that does not decode gets one line of refusal and no output.
#include <cstddef>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "fuzz_inputs.h"
#include "output/scenario_file_reader.h"
#include "report/exit_status.h"
#include "tool/cli/dump_command.h"

namespace {

using namespace scenario;
using namespace scenario::fuzz;

constexpr ScenarioFileKind kKinds[] = {ScenarioFileKind::TrackCells, ScenarioFileKind::StationTable,
                                       ScenarioFileKind::LineData};

std::size_t recordCount(ScenarioFileKind kind, std::string_view bytes) {
    if (kind == ScenarioFileKind::TrackCells) return decodeTrackCells(bytes).records.size();
    if (kind == ScenarioFileKind::StationTable) return decodeStationTable(bytes).records.size();
    return decodeLinePlan(bytes).records.first.size();
}

bool isUtf8(const std::string& text) {
    try {
        (void)nlohmann::json(text).dump();
        return true;
    } catch (const nlohmann::json::type_error&) {
        return false;
    }
}

std::size_t lineCount(const std::string& text) {
    std::size_t lines = 0;
    for (char c : text) lines += c == '\n';
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const PrintInput input =
        splitPrintInput(std::string_view(reinterpret_cast<const char*>(data), size));
    const ScenarioFileKind kind = kKinds[input.kind];
    // Past a few dozen rows a longer file only repeats the rows' code, while each JSON row costs
    // a fraction of a millisecond under the sanitizers: such inputs are left out of the corpus.
    // A station table's size is fixed, and is kept.
    if (kind != ScenarioFileKind::StationTable && input.file.size() > kLongestPrintedFile)
        return -1;
    DumpOptions options;
    options.file = "S_1.dat";
    options.json = input.json;
    options.all = input.all;
    std::ostringstream out, err;
    const int status = printScenarioFile(kind, input.file, options, out, err);
    const std::string printed = out.str();
    if (status != kExitClean) {
        require(status == kExitFileFailure, "a file that does not decode is refused");
        require(printed.empty() && lineCount(err.str()) == 1,
                "a refusal is one line and no output");
        return 0;
    }
    require(isUtf8(printed), "the printout is UTF-8");
    const std::size_t records = recordCount(kind, input.file);
    if (!input.json) {
        if (input.all)
            require(lineCount(printed) == 2 + records, "a title, a header, a row a record");
        return 0;
    }
    nlohmann::json parsed;
    try {
        parsed = nlohmann::json::parse(printed);
    } catch (const nlohmann::json::exception&) {
        require(false, "the JSON printout parses");
    }
    require(parsed.is_object(), "the JSON printout is one object");
    if (input.all) {
        std::size_t rows = 0;
        for (const auto& [key, value] : parsed.items())
            if (value.is_array()) rows += value.size();
        require(rows == records, "one JSON element a record");
    }
    return 0;
}
