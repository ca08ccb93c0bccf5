// The three binary files' layouts, byte by byte.
#include "output/binary_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "base/file_store.h"
#include "compiler/track_model.h"
#include "output/stamping.h"

namespace scenario {
namespace {

std::string bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) out.push_back(static_cast<char>(v));
    return out;
}

// A plan filled as the line pass fills it: Integer seeds, Doubles up to planLength - 2.
void fillPlan(LinePlan& plan, std::int32_t planLength) {
    plan.create(planLength);
    plan.seed();
    for (std::int32_t m = 2; m <= planLength - 2; ++m) plan.setDouble(m, 0.0, m);
}

TEST(TrackCellFile, FifteenBytesPerCellLittleEndianTwosComplement) {
    TrackCell c;
    c.kind = 12;
    c.value1 = -1;
    c.value2 = 5121;
    c.value3 = -32768;
    c.value4 = 300;
    c.signalTime = 101;
    c.approachCode = 84;
    c.tunnelKind = 2;
    c.speedLimit = 20;
    c.gradient = 85;
    c.adhesion = 255;
    const std::string file = encodeTrackCells({TrackCell{}, c});
    EXPECT_EQ(file.substr(0, 15), std::string(15, '\0'));
    EXPECT_EQ(file.substr(15), bytes({0x0C, 0xFF, 0xFF, 0x01, 0x14, 0x00, 0x80, 0x2C, 0x01, 0x65,
                                      0x54, 0x02, 0x14, 0x55, 0xFF}));
}

TEST(StationTableFile, RecordsOf34BytesPlusTheName) {
    std::array<StationRecord, kStationTableSize> table{};
    StationRecord& r = table[1];
    r.stationKind = 12;
    r.platformStart = -100;
    r.platformEnd = 70000;
    r.position = 1750;
    r.flagA = 1;
    r.name = "AB\xC8";
    r.groupA1 = -1;
    r.groupA2 = 2;
    r.groupB1 = 4;
    r.groupB2 = 1;
    r.groupB3 = 300;
    r.groupA3 = 7;
    r.dwellTime = 30;
    r.flagC = 1;
    r.flagB = 0;
    r.departureTime = 51960;  // 14:26:00
    table[85].name = std::string("S");
    table[86].name = std::string("1");
    const std::string file = encodeStationTable(table);

    ASSERT_EQ(file.size(), 2958u + 3 + 1 + 1);
    EXPECT_EQ(file.substr(0, 34), std::string(34, '\0'));
    EXPECT_EQ(file.substr(34, 37),
              bytes({12, 0x9C, 0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00, 0xD6, 0x06, 0x00, 0x00,
                     1,  3,    0,    'A',  'B',  0xC8, 0xFF, 0xFF, 2,    0,    4,    0,    1,
                     0,  0x2C, 0x01, 7,    30,   1,    0,    0xF8, 0xCA, 0x00, 0x00}));
    // An empty name is its two length bytes and nothing else.
    EXPECT_EQ(file.substr(71, 34), std::string(34, '\0'));
    const std::size_t entry85 = 34 * 85 + 3;
    EXPECT_EQ(file.substr(entry85 + 14, 3), bytes({1, 0, 'S'}));
    EXPECT_EQ(file.substr(entry85 + 35 + 14, 3), bytes({1, 0, '1'}));
}

TEST(LineDataFile, VariantRecordsFirstCoordinatesThenSecond) {
    LinePlan plan;
    plan.create(5);
    plan.seed();
    plan.setDouble(2, 0.0, 2.0);
    plan.setDouble(3, -0.5, 3.0);
    // Per half: two Integer seeds, two Doubles, two empty metres.
    const std::string expected = bytes({
        2, 0, 0, 0, 2, 0, 0, 0,              // 0, 0
        5, 0, 0, 0, 0, 0, 0, 0, 0,    0,     // 0.0
        5, 0, 0, 0, 0, 0, 0, 0, 0xE0, 0xBF,  // -0.5
        0, 0, 0, 0,                          //
        2, 0, 0, 0, 2, 0, 1, 0,              // 0, 1
        5, 0, 0, 0, 0, 0, 0, 0, 0,    0x40,  // 2.0
        5, 0, 0, 0, 0, 0, 0, 0, 0x08, 0x40,  // 3.0
        0, 0, 0, 0,                          //
    });
    EXPECT_EQ(encodeLinePlan(plan), expected);
    EXPECT_EQ(encodeLinePlan(LinePlan{}), "");
}

TEST(LineDataFile, SizeIsTwentyBytesPerMetreLessThirtySix) {
    struct Case {
        std::int32_t routeLength;
        std::size_t size;
    } cases[] = {
        {34000, 819964},      // planLength 41000
        {1000000, 20139964},  // the longest route: planLength 1007000
    };
    for (const Case& c : cases) {
        LinePlan plan;
        fillPlan(plan, c.routeLength + 7000);
        EXPECT_EQ(encodeLinePlan(plan).size(), c.size) << c.routeLength;
    }
}

// A plan created but never seeded (the general section stopped after the route length) is all
// empty records.
TEST(LineDataFile, UnseededPlanIsEmptyRecordsOnly) {
    LinePlan plan;
    plan.create(3);
    EXPECT_EQ(encodeLinePlan(plan), std::string(2 * 4 * 2, '\0'));
}

// Keeps the pieces' bytes, the largest piece's size and the size announced beforehand.
struct PieceCounter : ByteSink {
    void expectSize(std::size_t total) override { expected = total; }
    void append(std::string_view piece) override {
        largest = std::max(largest, piece.size());
        bytes.append(piece);
    }
    std::size_t expected = 0;
    std::size_t largest = 0;
    std::string bytes;
};

// The longest route's file goes out in small pieces, each metre's record whole at its place.
TEST(LineDataFile, LongPlanGoesOutInSmallPiecesWithEveryRecordInPlace) {
    LinePlan plan;
    const std::int32_t planLength = 1007000;
    fillPlan(plan, planLength);
    PieceCounter sink;
    encodeLinePlan(plan, sink);
    ASSERT_EQ(sink.bytes.size(), 20139964u);
    EXPECT_EQ(sink.expected, 20139964u);
    EXPECT_LE(sink.largest, 65536u);
    // Per half: 8 bytes of seeds, then 10 bytes per Double, metre m at 8 + 10 (m - 2).
    const std::size_t half = 10 * std::size_t{planLength} - 18;
    for (std::int32_t m : {2, 6555, 6556, 500000, planLength - 2}) {
        const std::size_t at = half + 8 + 10 * static_cast<std::size_t>(m - 2);
        std::uint64_t bits = 0;
        for (std::size_t i = 8; i > 0; --i)
            bits = bits << 8 | static_cast<unsigned char>(sink.bytes[at + 1 + i]);
        EXPECT_EQ(sink.bytes.substr(at, 2), bytes({5, 0})) << m;
        EXPECT_EQ(std::bit_cast<double>(bits), m) << m;
    }
}

struct FilesFixture {
    MemoryStore store;
    ScenarioBuild build;

    FilesFixture() {
        build.scenarioName = std::string("S");
        build.trainNumber = std::string("1");
        build.planLength = 41000;
        build.lastCellIndex = 820;
        build.trackCells.assign(821, TrackCell{});
        fillPlan(build.linePlan, 41000);
    }
};

TEST(ScenarioFiles, BuiltInRouteLengthGivesTheFileSizes) {
    FilesFixture f;
    f.build.buildLinePlan = 1;
    writeScenarioFiles(f.build, f.store);
    EXPECT_EQ(f.store.files.at("S_linea.dat").size(), 819964u);
    EXPECT_EQ(f.store.files.at("S_1.dat").size(), 12315u);
    EXPECT_EQ(f.store.files.at("S_1.sim").size(), 2958u);
    EXPECT_EQ(f.store.files.size(), 3u);
}

TEST(ScenarioFiles, WithoutPlanTheLineDataFileIsLeftUntouched) {
    FilesFixture f;
    f.store.files["S_linea.dat"] = "older build";
    f.store.files["S_1.dat"] = std::string(20000, 'x');
    f.build.buildLinePlan = 0;
    writeScenarioFiles(f.build, f.store);
    EXPECT_EQ(f.store.files.at("S_linea.dat"), "older build");
    EXPECT_EQ(f.store.files.at("S_1.dat").size(), 12315u);
    EXPECT_EQ(f.store.files.at("S_1.sim").size(), 2958u);
}

TEST(ScenarioFiles, StampsTravelInTheFiles) {
    FilesFixture f;
    f.build.stationTable[85].name = std::string("AB");
    f.build.stationTable[86].name = std::string("1");
    f.build.buildLinePlan = 0;
    EXPECT_FALSE(stampScenario(f.build));
    writeScenarioFiles(f.build, f.store);
    // Cell 1 at offset 15: kind 0, 5121, then the code 2496.
    EXPECT_EQ(f.store.files.at("S_1.dat").substr(15, 5), bytes({0, 0x01, 0x14, 0xC0, 0x09}));
    // Entry 85 at 34 x 85 with its two-byte name: 610 after the name, 33703 at its end.
    const std::string& sim = f.store.files.at("S_1.sim");
    const std::size_t entry85 = 34 * 85;
    EXPECT_EQ(sim.substr(entry85 + 18, 2), bytes({0x62, 0x02}));
    EXPECT_EQ(sim.substr(entry85 + 32, 4), bytes({0xA7, 0x83, 0, 0}));
}

}  // namespace
}  // namespace scenario
