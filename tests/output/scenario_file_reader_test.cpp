// The decoders read back what the encoders write, and refuse bytes that are not such a file.
#include "output/scenario_file_reader.h"

#include <gtest/gtest.h>

#include <string>

#include "output/binary_files.h"

namespace scenario {
namespace {

TEST(ScenarioFileReader, TrackCellsComeBackFieldForField) {
    std::vector<TrackCell> cells(3);
    cells[1] = {255, -32768, 32767, -1, 5121, 200, 84, 2, 28, 93, 255};
    cells[2].gradient = 100;
    const Decoded<std::vector<TrackCell>> d = decodeTrackCells(encodeTrackCells(cells));
    ASSERT_TRUE(d.ok()) << d.error;
    ASSERT_EQ(d.records.size(), 3u);
    const TrackCell& c = d.records[1];
    EXPECT_EQ(c.kind, 255);
    EXPECT_EQ(c.value1, -32768);
    EXPECT_EQ(c.value2, 32767);
    EXPECT_EQ(c.value3, -1);
    EXPECT_EQ(c.value4, 5121);
    EXPECT_EQ(c.signalTime, 200);
    EXPECT_EQ(c.approachCode, 84);
    EXPECT_EQ(c.tunnelKind, 2);
    EXPECT_EQ(c.speedLimit, 28);
    EXPECT_EQ(c.gradient, 93);
    EXPECT_EQ(c.adhesion, 255);
    EXPECT_EQ(d.records[2].gradient, 100);
    EXPECT_EQ(d.records[0].kind, 0);
}

TEST(ScenarioFileReader, StationEntriesComeBackWithTheirNames) {
    StationTable table{};
    table[1] = {22, -5, 1150, 1000, 1, "CITT\xC0 ALTA", -2, 3, 4, 5, 6, 7, 60, 1, 1, 51750};
    table[85].name = "E";
    table[85].groupA1 = 610;
    table[86].name = "7";
    const Decoded<StationTable> d = decodeStationTable(encodeStationTable(table));
    ASSERT_TRUE(d.ok()) << d.error;
    const StationRecord& r = d.records[1];
    EXPECT_EQ(r.stationKind, 22);
    EXPECT_EQ(r.platformStart, -5);
    EXPECT_EQ(r.platformEnd, 1150);
    EXPECT_EQ(r.position, 1000);
    EXPECT_EQ(r.flagA, 1);
    EXPECT_EQ(r.name, "CITT\xC0 ALTA");
    EXPECT_EQ(r.groupA1, -2);
    EXPECT_EQ(r.groupA2, 3);
    EXPECT_EQ(r.groupB1, 4);
    EXPECT_EQ(r.groupB2, 5);
    EXPECT_EQ(r.groupB3, 6);
    EXPECT_EQ(r.groupA3, 7);
    EXPECT_EQ(r.dwellTime, 60);
    EXPECT_EQ(r.flagC, 1);
    EXPECT_EQ(r.flagB, 1);
    EXPECT_EQ(r.departureTime, 51750);
    EXPECT_EQ(d.records[85].groupA1, 610);
    EXPECT_EQ(d.records[86].name, "7");
    EXPECT_EQ(d.records[0].name, "");
}

TEST(ScenarioFileReader, PlanComesBackWithItsTypes) {
    LinePlan plan;
    plan.create(5);
    plan.seed();
    plan.setDouble(2, -0.5, 2.25);
    plan.setDouble(3, 1e300, 3.0);
    const Decoded<PlanFile> d = decodeLinePlan(encodeLinePlan(plan));
    ASSERT_TRUE(d.ok()) << d.error;
    ASSERT_EQ(d.records.first.size(), 6u);
    EXPECT_EQ(d.records.first[1].type, PlanValueType::Integer);
    EXPECT_EQ(d.records.second[1].value, 1.0);
    EXPECT_EQ(d.records.first[2].type, PlanValueType::Double);
    EXPECT_EQ(d.records.first[2].value, -0.5);
    EXPECT_EQ(d.records.second[2].value, 2.25);
    EXPECT_EQ(d.records.first[3].value, 1e300);
    EXPECT_EQ(d.records.second[4].type, PlanValueType::Empty);
    EXPECT_EQ(d.records.second[5].type, PlanValueType::Empty);
}

std::string cut(std::string bytes, std::size_t drop) {
    bytes.resize(bytes.size() - drop);
    return bytes;
}

TEST(ScenarioFileReader, BytesThatAreNotSuchAFileAreRefused) {
    const std::string cells = encodeTrackCells(std::vector<TrackCell>(4));
    StationTable table{};
    table[3].name = "ABC";
    const std::string stations = encodeStationTable(table);
    LinePlan plan;
    plan.create(4);
    plan.seed();
    plan.setDouble(2, 0.0, 2.0);
    const std::string lineData = encodeLinePlan(plan);

    struct Case {
        const char* what;
        std::string error;
        const char* expected;  // a word the message must hold
    } cases[] = {
        {"cells, one byte short", decodeTrackCells(cut(cells, 1)).error, "wrong size"},
        {"cells, one byte over", decodeTrackCells(cells + "x").error, "wrong size"},
        {"cells, empty", decodeTrackCells("").error, "empty"},
        {"stations, last byte cut", decodeStationTable(cut(stations, 1)).error, "entry 86"},
        {"stations, inside a name", decodeStationTable(stations.substr(0, 3 * 34 + 17)).error,
         "entry 3"},
        {"stations, a byte over", decodeStationTable(stations + "x").error, "wrong size"},
        {"plan, inside a double", decodeLinePlan(cut(lineData, 3)).error, "truncated"},
        {"plan, inside a type code", decodeLinePlan(lineData + "\x05").error, "truncated"},
        {"plan, a whole record short", decodeLinePlan(cut(lineData, 2)).error, "wrong size"},
        // Without the two empty metres at its end the file still has an even count of records.
        {"plan, two records short", decodeLinePlan(cut(lineData, 2 + 2)).error, "differ"},
        {"plan, unknown type", decodeLinePlan(std::string("\x03\x00", 2) + lineData).error,
         "type code 3"},
    };
    for (const Case& c : cases)
        EXPECT_NE(c.error.find(c.expected), std::string::npos) << c.what << ": " << c.error;
}

TEST(ScenarioFileReader, FileKindComesFromTheNameEnding) {
    EXPECT_EQ(scenarioFileKindOf("dir/Alderi_Moncasta_linea.dat"), ScenarioFileKind::LineData);
    EXPECT_EQ(scenarioFileKindOf("Alderi_Moncasta_30752.dat"), ScenarioFileKind::TrackCells);
    EXPECT_EQ(scenarioFileKindOf("Alderi_Moncasta_30752.sim"), ScenarioFileKind::StationTable);
    EXPECT_EQ(scenarioFileKindOf("notes.txt"), ScenarioFileKind::Unknown);
}

}  // namespace
}  // namespace scenario
