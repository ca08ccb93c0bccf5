// The hand-worked model of the small fixture pair in tests/data/compile (scenario E, train 7),
// from the format's rules: what its three compiled files must hold.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "compiler/track_model.h"
#include "output/scenario_file_diff.h"

namespace scenario::testing {

inline const std::filesystem::path kFixture = std::filesystem::path(SCENARIO_TEST_DATA) / "compile";

// The tool's arguments that compile the fixture pair in the working directory.
inline std::vector<std::string> fixtureCompile() {
    return {"compile",
            (kFixture / "E_linea.txt").string(),
            (kFixture / "E_7-.txt").string(),
            "--name",
            "E",
            "--train",
            "7"};
}

// Route length 6000: planLength 13000, lastCellIndex 260.
inline constexpr int kLastCell = 260;
inline constexpr int kPlanLength = 13000;

inline void fill(std::vector<TrackCell>& cells, int from, int to, std::uint8_t TrackCell::*field,
                 std::uint8_t value) {
    for (int i = from; i <= to; ++i) cells[static_cast<std::size_t>(i)].*field = value;
}

inline TrackCell object(std::uint8_t kind, std::int16_t v1, std::int16_t v2 = 0,
                        std::int16_t v3 = 0, std::int16_t v4 = 0, std::uint8_t time = 0) {
    TrackCell c;
    c.kind = kind;
    c.value1 = v1;
    c.value2 = v2;
    c.value3 = v3;
    c.value4 = v4;
    c.signalTime = time;
    return c;
}

inline void place(std::vector<TrackCell>& cells, int index, const TrackCell& o) {
    TrackCell& c = cells[static_cast<std::size_t>(index)];
    c.kind = o.kind;
    c.value1 = o.value1;
    c.value2 = o.value2;
    c.value3 = o.value3;
    c.value4 = o.value4;
    c.signalTime = o.signalTime;
}

inline std::vector<TrackCell> expectedCells() {
    std::vector<TrackCell> cells(kLastCell + 1);
    // Gradients 3 from 250 m and -7 from 550 m: cells 0-4 at 100, 5-10 at 103, then 93 up to
    // lastCellIndex - 3.
    fill(cells, 0, 4, &TrackCell::gradient, 100);
    fill(cells, 5, 10, &TrackCell::gradient, 103);
    fill(cells, 11, 257, &TrackCell::gradient, 93);
    // Speed 100 from 0 (20), 60 from 3550 m (cell 71, 12); adhesion 90, then 80 from cell 80.
    fill(cells, 0, 70, &TrackCell::speedLimit, 20);
    fill(cells, 71, 257, &TrackCell::speedLimit, 12);
    fill(cells, 0, 79, &TrackCell::adhesion, 90);
    fill(cells, 80, 257, &TrackCell::adhesion, 80);
    // Tunnel 3000-3350 of type 12: type 2 in cells 60-66, a marker in its fourth cell.
    fill(cells, 60, 66, &TrackCell::tunnelKind, 2);
    place(cells, 63, object(kTunnelMarker, 0));

    // Approach codes: station 1 ends at 1150 (cells 21-18), station 2 at 5200 (102-99);
    // signals at cells 53 (code 8x), 112 (3x) and 167 (8x), 2, 4, 6 and 8 cells before them.
    const int approach[][2] = {
        {21, 81},  {20, 82},  {19, 83},  {18, 84},  {102, 81}, {101, 82}, {100, 83},
        {99, 84},  {51, 81},  {49, 82},  {47, 83},  {45, 84},  {110, 31}, {108, 32},
        {106, 33}, {104, 34}, {165, 81}, {163, 82}, {161, 83}, {159, 84},
    };
    for (const auto& [cell, code] : approach)
        cells[static_cast<std::size_t>(cell)].approachCode = static_cast<std::uint8_t>(code);

    place(cells, 1, object(kEmptyCell, 5121, 2518));  // stamps: "7e" + filler
    place(cells, 10, object(kSpeedBoard, 1300, 1400, 1500, 20));
    place(cells, 22, object(kStation, 1));
    place(cells, 53, object(kSignal, 42, 1, 0, 8));
    place(cells, 60, object(kSign, 80));
    place(cells, 80, object(kSpeedCut, 30));
    place(cells, 82, object(kSpeedCutMark, 0));
    place(cells, 103, object(kStation, 2));
    place(cells, 112, object(kSignal, 30, 0, 0, 13));
    // Slow order 7000-8000 at 60 with second speed 30: warning board 117, its four cells
    // 116-113, start 141, end board 161.
    for (int j = 0; j < 4; ++j)
        place(cells, 116 - j, object(kWarningMarker, std::int16_t(j + 1), std::int16_t(j + 1)));
    place(cells, 117, object(kSlowOrderWarning, 60, 30));
    place(cells, 141, object(kSlowOrderStart, 60, 30, 5));
    place(cells, 161, object(kSlowOrderEnd, 60, 30, 5));
    place(cells, 167, object(kSignal, 53, 14, 25, 8, 101));
    // Speed-cut points: before the signal 5 cells before the warning board; the three
    // windows; every 8 cells from the start; before the signal 6 cells past the end board.
    for (int cell : {111, 136, 130, 123, 149, 157, 166}) place(cells, cell, object(kSpeedCut, 180));
    return cells;
}

inline std::vector<StationRecord> expectedStations() {
    std::vector<StationRecord> table(kStationTableSize);
    StationRecord& first = table[1];
    first.stationKind = 4;
    first.platformStart = 900;
    first.platformEnd = 1150;
    first.position = 1000;
    first.name = std::string("PRIMA");
    first.groupA1 = 1;
    first.groupA2 = 1;
    first.groupB1 = 4;
    first.groupB2 = 1;
    first.groupB3 = 1;
    first.dwellTime = 1;
    first.departureTime = 51750;  // 14:22:30

    StationRecord& last = table[2];
    last.stationKind = 12;
    last.platformStart = 4800;
    last.platformEnd = 5200;
    last.position = 5000;
    last.flagA = 1;
    last.name = std::string("ULTIMA S. M.");
    last.groupA1 = 1;
    last.groupA2 = 1;
    last.groupB1 = 2;
    last.groupB2 = 1;
    last.groupB3 = 1;
    last.departureTime = 52200;  // 14:30:00

    table[80].name = std::string("(ROCCA)( 300 m.  )");
    // Kilometre post "due" is the only one with a position: it goes to 81, plus 100 for its flag.
    table[81].platformStart = 1000;
    table[81].platformEnd = 350;
    table[81].position = 1;
    table[84].platformStart = 120;
    table[84].platformEnd = 6000;
    table[84].position = 3;
    table[85].name = std::string("E");
    table[85].platformStart = 1;
    table[85].position = 0;
    table[85].platformEnd = 1;
    table[85].groupA1 = 610;
    table[85].departureTime = 33921;
    table[86].name = std::string("7");
    table[86].platformStart = 500;
    table[86].platformEnd = 1500;
    table[86].position = 4;
    table[86].groupA1 = 300;
    table[86].groupB1 = 14;
    table[86].groupB2 = 22;
    table[86].groupB3 = 30;
    return table;
}

// A straight route from the origin along the second coordinate: metre m is (0, m).
inline std::vector<PlanRecord> expectedPlan() {
    std::vector<PlanRecord> plan;
    for (int coordinate = 0; coordinate < 2; ++coordinate) {
        plan.push_back({2, 0});
        plan.push_back({2, double(coordinate)});
        for (int m = 2; m <= kPlanLength - 2; ++m) plan.push_back({5, coordinate == 0 ? 0.0 : m});
        plan.push_back({0, 0});
        plan.push_back({0, 0});
    }
    return plan;
}

}  // namespace scenario::testing
