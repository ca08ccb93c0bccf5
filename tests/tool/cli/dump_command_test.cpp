// scenario dump decodes each compiled file back to the model's values, names converted to UTF-8,
// and refuses a file of the wrong size with a clear message.
#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "output/binary_files.h"
#include "tool/fixture_model.h"
#include "tool/tool_runner.h"

namespace scenario {
namespace {

using namespace scenario::testing;
using nlohmann::json;

// Compiles the hand-worked fixture into a directory of its own.
struct CompiledFixture {
    TempDir dir;
    CompiledFixture() {
        const ToolRun run = runTool(dir.path, fixtureCompile());
        EXPECT_EQ(run.status, 0) << run.err;
    }
    json dump(const std::string& file,
              const std::vector<std::string>& flags = {"--json", "--all"}) const {
        std::vector<std::string> arguments = {"dump", file};
        arguments.insert(arguments.end(), flags.begin(), flags.end());
        const ToolRun run = runTool(dir.path, arguments);
        EXPECT_EQ(run.status, 0) << run.err;
        return json::parse(run.out, nullptr, false);
    }
};

std::string asText(const json& value) {
    if (value.is_string()) return "\"" + value.get<std::string>() + "\"";
    return std::to_string(value.get<std::int64_t>());
}

// The first field in which the dumped records differ from the expected ones.
template <typename Record>
std::string firstDumpDifference(const json& records, const std::vector<Record>& expected,
                                const FieldList<Record>& fields) {
    if (records.size() != expected.size())
        return std::to_string(records.size()) + " records dumped, expected " +
               std::to_string(expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        for (const auto& [name, value] : fields)
            if (asText(records[i][name]) != value(expected[i]))
                return "record " + std::to_string(i) + " " + name + ": " +
                       asText(records[i][name]) + ", expected " + value(expected[i]);
    return "";
}

const char* typeName(std::uint16_t type) {
    return type == 2 ? "Integer" : type == 5 ? "Double" : "Empty";
}

std::string firstPlanDumpDifference(const json& metres, const std::vector<PlanRecord>& expected) {
    const std::size_t count = expected.size() / 2;
    if (metres.size() != count) return std::to_string(metres.size()) + " metres dumped";
    for (std::size_t m = 0; m < count; ++m) {
        for (const auto& [coordinate, record] :
             {std::pair{"first", expected[m]}, std::pair{"second", expected[count + m]}}) {
            const json& value = metres[m][coordinate];
            const bool same =
                metres[m][std::string(coordinate) + "Type"] == typeName(record.type) &&
                (record.type == 0 ? value.is_null() : value == record.value);
            if (!same) return "metre " + std::to_string(m) + " " + coordinate + ": " + value.dump();
        }
    }
    return "";
}

TEST(DumpCommand, GivesBackTheModelsValuesOfEveryFile) {
    const CompiledFixture fixture;
    const json cells = fixture.dump("E_7.dat");
    EXPECT_EQ(cells["fileType"], "track cells");
    EXPECT_EQ(firstDumpDifference(cells["cells"], expectedCells(), cellFields()), "");
    const json stations = fixture.dump("E_7.sim");
    EXPECT_EQ(firstDumpDifference(stations["entries"], expectedStations(), stationFields()), "");
    const json plan = fixture.dump("E_linea.dat");
    EXPECT_EQ(firstPlanDumpDifference(plan["metres"], expectedPlan()), "");
}

TEST(DumpCommand, LeavesOutWhatIsAllZeroUnlessAskedForAll) {
    const CompiledFixture fixture;
    // The last three cells keep every field 0; seven entries are used; the plan's last two
    // metres are empty.
    EXPECT_EQ(fixture.dump("E_7.dat", {"--json"})["cells"].size(), std::size_t(kLastCell + 1 - 3));
    const json entries = fixture.dump("E_7.sim", {"--json"})["entries"];
    std::vector<int> used;
    for (const json& e : entries) used.push_back(e["entry"]);
    EXPECT_EQ(used, (std::vector<int>{1, 2, 80, 81, 84, 85, 86}));
    EXPECT_EQ(fixture.dump("E_linea.dat", {"--json"})["metres"].size(),
              std::size_t(kPlanLength + 1 - 2));
}

TEST(DumpCommand, TableRowHoldsTheCellsFieldsInTheModelsOrder) {
    const CompiledFixture fixture;
    const ToolRun run = runTool(fixture.dir.path, {"dump", "E_7.dat"});
    ASSERT_EQ(run.status, 0) << run.err;
    std::istringstream rows(run.out);
    std::string row;
    std::vector<std::string> signal;
    while (std::getline(rows, row)) {
        std::istringstream words(row);
        std::vector<std::string> fields;
        for (std::string w; words >> w;) fields.push_back(w);
        if (!fields.empty() && fields[0] == "53") signal = fields;
    }
    // The signal of the fixture at 2600 m: cell 53, in the 100 km/h stretch, gradient -7.
    const std::vector<std::string> expected = {"53", "2650", "1", "42", "1",  "0",  "8",
                                               "0",  "0",    "0", "20", "93", "90", "signal"};
    EXPECT_EQ(signal, expected);
}

TEST(DumpCommand, NamesComeOutInUtf8) {
    TempDir dir;
    std::array<StationRecord, kStationTableSize> table{};
    table[1].name = "CITT\xC0 \x80";
    writeFile(dir.path / "S_1.sim", encodeStationTable(table));
    const ToolRun run = runTool(dir.path, {"dump", "S_1.sim", "--json"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(json::parse(run.out)["entries"][0]["name"], "CITT\xC3\x80 \xE2\x82\xAC");
}

// A name is bytes from the file: a newline or an escape in it must not break the table's rows
// nor reach the terminal as such.
TEST(DumpCommand, ControlBytesInANameAreShownEscaped) {
    TempDir dir;
    std::array<StationRecord, kStationTableSize> table{};
    table[1].name = "A\nB\x1b[2J";
    writeFile(dir.path / "S_1.sim", encodeStationTable(table));
    const ToolRun text = runTool(dir.path, {"dump", "S_1.sim", "--all"});
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_EQ(std::count(text.out.begin(), text.out.end(), '\n'), 2 + kStationTableSize);
    EXPECT_NE(text.out.find("  A\\x0aB\\x1b[2J\n"), std::string::npos) << text.out;
    const ToolRun asJson = runTool(dir.path, {"dump", "S_1.sim", "--json"});
    EXPECT_EQ(json::parse(asJson.out)["entries"][0]["name"], "A\nB\x1b[2J");
}

TEST(DumpCommand, AFileOfTheWrongSizeIsRefusedClearly) {
    const CompiledFixture fixture;
    const std::string cells = readFile(fixture.dir.path / "E_7.dat");
    const std::string stations = readFile(fixture.dir.path / "E_7.sim");
    const std::string plan = readFile(fixture.dir.path / "E_linea.dat");
    struct Case {
        const char* name;
        std::string bytes;
        const char* expected;
    } cases[] = {
        {"E_7.dat", cells.substr(0, cells.size() - 1), "wrong size"},
        {"E_7.dat", cells.substr(0, 7), "wrong size"},
        {"E_7.dat", "", "empty"},
        {"E_7.sim", stations.substr(0, stations.size() - 4), "truncated"},
        {"E_linea.dat", plan.substr(0, plan.size() / 2 + 1), "truncated"},
        {"E_7.txt", cells, "not a scenario file name"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        writeFile(dir.path / c.name, c.bytes);
        const ToolRun run = runTool(dir.path, {"dump", c.name});
        EXPECT_EQ(run.status, 2) << c.name << " " << c.bytes.size();
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.rfind(std::string("scenario dump: ") + c.name + ": ", 0), 0u) << run.err;
        EXPECT_NE(run.err.find(c.expected), std::string::npos) << run.err;
    }
    const ToolRun missing = runTool(fixture.dir.path, {"dump", "missing.dat"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("cannot read"), std::string::npos);
}

}  // namespace
}  // namespace scenario
