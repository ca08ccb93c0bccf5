// Signals, slow orders and speed-cut points placed by the train pass.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "source/record_tables.h"
#include "train_pass_fixture.h"

namespace scenario {
namespace {

using testing::trainFile;
using testing::TrainPassFixture;

TEST(Signal, PlacesItsCellAndFourApproachCodes) {
    TrainPassFixture f;
    f.run(trainFile({"segnale,    2600,   2, 4, 0,  0, 0,    2,  2,1,0, 0"}));
    ASSERT_EQ(f.build.errorCode, 0);
    const TrackCell& c = f.build.trackCells[53];
    EXPECT_EQ(c.kind, kSignal);
    EXPECT_EQ(c.value1, 42);
    EXPECT_EQ(c.value2, 1);
    EXPECT_EQ(c.value3, 0);
    EXPECT_EQ(c.value4, 8);
    EXPECT_EQ(c.signalTime, 0);
    EXPECT_EQ(f.build.trackCells[51].approachCode, 81);
    EXPECT_EQ(f.build.trackCells[49].approachCode, 82);
    EXPECT_EQ(f.build.trackCells[47].approachCode, 83);
    EXPECT_EQ(f.build.trackCells[45].approachCode, 84);
    EXPECT_EQ(f.build.trackCells[52].approachCode, 0);
    EXPECT_EQ(f.build.trackCells[43].approachCode, 0);
    EXPECT_EQ(f.build.trackCells[51].kind, kEmptyCell);
}

// All at 2600: cell 53, first approach cell 51.
TEST(Signal, PacksItsValuesAndTime) {
    struct Case {
        const char* record;  // posizione, sx, s1, s2, s3, rapp, dx, d1, d2, d3, tempo
        int value1, value2, value3, value4, signalTime, firstCode;
    } cases[] = {
        {"segnale, 2600, 2, 4,0,0, 0, 2, 2,1,0, 0", 42, 1, 0, 8, 0, 81},
        {"segnale, 2600, 1, 3,7,1, 1, 2, 5,9,1, 0", 35, 79, 11, 15, 0, 51},
        {"segnale, 2600, 2, 0,0,0, 0, 0, 0,0,0, 1", 0, 0, 0, 6, 101, 61},
        {"segnale, 2600, 2, 0,0,0, 0, 0, 0,0,0, 100", 0, 0, 0, 6, 101, 61},
        {"segnale, 2600, 2, 0,0,0, 0, 0, 0,0,0, 200", 0, 0, 0, 6, 200, 61},
        {"segnale, 2600, 2, 0,0,0, 0, 0, 0,0,0, 300", 0, 0, 0, 6, 44, 61},  // low 8 bits
        {"segnale, 2600, 1, 0,0,0, 0, 0, 0,0,0, 50", 0, 0, 0, 3, 0, 31},  // time kept only for sx 2
        // 16-bit and 8-bit arithmetic keep their low bits: 40000 and 271.
        {"segnale, 2600, 9, 4000,0,0, 0, 0, 0,0,0, 0", -25536, 0, 0, 27, 0, 15},
        // 0x7FFFFFFF * 11 = 0x57FFFFFF5, * 14 = 0x6FFFFFFF2, * 40 + 1 = 0x13FFFFFFD9.
        {"segnale, 2600, 2147483647, 2147483647, 2147483647, 2147483647, 2147483647, "
         "2147483647, 2147483647, 2147483647, 2147483647, 2147483647",
         -11, -11, -11, -14, 0, 217},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.record);
        TrainPassFixture f;
        f.run(trainFile({c.record}));
        ASSERT_EQ(f.build.errorCode, 0);
        const TrackCell& cell = f.build.trackCells[53];
        EXPECT_EQ(cell.value1, c.value1);
        EXPECT_EQ(cell.value2, c.value2);
        EXPECT_EQ(cell.value3, c.value3);
        EXPECT_EQ(cell.value4, c.value4);
        EXPECT_EQ(cell.signalTime, c.signalTime);
        EXPECT_EQ(f.build.trackCells[51].approachCode, c.firstCode);
    }
}

// The packing the record tables give to the authors' tools is the one the pass applies: every
// digit comes back from its cell value.
TEST(Signal, PackingTableUnpacksTheCellsValues) {
    const std::map<std::string_view, std::int32_t> digits = {{"sx", 1}, {"s1", 2},   {"s2", 3},
                                                             {"s3", 4}, {"rapp", 5}, {"dx", 2},
                                                             {"d1", 6}, {"d2", 7},   {"d3", 8}};
    TrainPassFixture f;
    f.run(trainFile({"segnale, 2600, 1, 2, 3, 4, 5, 2, 6, 7, 8, 0"}));
    ASSERT_EQ(f.build.errorCode, 0);
    const TrackCell& c = f.build.trackCells[53];
    const std::map<std::string_view, std::int32_t> values = {
        {"value1", c.value1}, {"value2", c.value2}, {"value3", c.value3}, {"value4", c.value4}};
    ASSERT_EQ(signalPacking().size(), values.size());
    std::size_t unpacked = 0;
    for (const PackedValue& packed : signalPacking()) {
        const std::vector<std::int32_t> got = unpackDigits(packed, values.at(packed.value));
        ASSERT_EQ(got.size(), packed.digits.size()) << packed.value;
        for (std::size_t i = 0; i < got.size(); ++i, ++unpacked)
            EXPECT_EQ(got[i], digits.at(packed.digits[i].field)) << packed.value;
    }
    EXPECT_EQ(unpacked, digits.size());
}

TEST(Signal, GoesOnlyIntoAFreeCell) {
    const std::uint8_t taken[] = {kSignal,        kSlowOrderEnd, kSlowOrderStart, kSlowOrderWarning,
                                  kWarningMarker, kSpeedBoard,   kStation,        kSpeedCut,
                                  kSpeedCutMark,  kSign};
    for (std::uint8_t kind : taken) {
        SCOPED_TRACE(static_cast<int>(kind));
        TrainPassFixture f;
        f.build.trackCells[53].kind = kind;
        f.build.trackCells[53].value1 = 7;
        f.run(trainFile({"segnale, 2600, 2, 4,0,0, 0, 2, 2,1,0, 0"}));
        EXPECT_EQ(f.build.errorCode, 16);
        EXPECT_EQ(f.build.errorPosition, 2600);
        EXPECT_EQ(f.build.trackCells[53].kind, kind);
        EXPECT_EQ(f.build.trackCells[53].value1, 7);
        EXPECT_EQ(f.build.trackCells[51].approachCode, 0);
    }
}

TEST(Signal, ReplacesATunnelMarker) {
    TrainPassFixture f;
    f.build.trackCells[53].kind = kTunnelMarker;
    f.build.trackCells[53].tunnelKind = 2;
    f.run(trainFile({"segnale, 2600, 2, 4,0,0, 0, 2, 2,1,0, 0"}));
    EXPECT_EQ(f.build.errorCode, 0);
    EXPECT_EQ(f.build.trackCells[53].kind, kSignal);
    EXPECT_EQ(f.build.trackCells[53].tunnelKind, 2);
}

TEST(Signal, OnAStationCellIsRefused) {
    TrainPassFixture f;
    // Station 1: platform 900 to 1100, station cell 21.
    f.run(trainFile({"stazione, 1000, 12, 200, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, A",
                     "segnale, 1000, 2, 4,0,0, 0, 2, 2,1,0, 0"}));
    EXPECT_EQ(f.build.errorCode, 16);
    EXPECT_EQ(f.build.errorPosition, 1000);
    EXPECT_EQ(f.build.trackCells[21].kind, kStation);
}

TEST(Signal, ApproachCodesBeforeTheRouteStartAreSkipped) {
    TrainPassFixture f;
    f.run(trainFile({"segnale, 100, 2, 4,0,0, 0, 2, 2,1,0, 0"}));  // cell 3
    EXPECT_EQ(f.build.errorCode, 0);
    EXPECT_EQ(f.build.trackCells[3].kind, kSignal);
    EXPECT_EQ(f.build.trackCells[1].approachCode, 81);
}

TEST(Signal, OverwritesApproachCodesOfAStationBeforeIt) {
    TrainPassFixture f;
    // Station codes 81 to 84 in cells 20 to 17; a signal 150 m after the platform end (1100)
    // lies in cell 26 and writes 61 to 64 into cells 24, 22, 20 and 18.
    f.run(trainFile({"stazione, 1000, 12, 200, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, A",
                     "segnale, 1250, 2, 4,0,0, 0, 0, 2,1,0, 0"}));
    ASSERT_EQ(f.build.errorCode, 0);
    EXPECT_EQ(f.build.trackCells[20].approachCode, 63);
    EXPECT_EQ(f.build.trackCells[19].approachCode, 82);
    EXPECT_EQ(f.build.trackCells[18].approachCode, 64);
    EXPECT_EQ(f.build.trackCells[17].approachCode, 84);
    EXPECT_EQ(f.build.trackCells[21].kind, kStation);
}

struct SlowOrderCells {
    int start, end, warning, firstMarker;
};

void expectBoard(const TrackCell& c, int kind, int value1, int value2, int value3) {
    EXPECT_EQ(c.kind, kind);
    EXPECT_EQ(c.value1, value1);
    EXPECT_EQ(c.value2, value2);
    EXPECT_EQ(c.value3, value3);
}

TEST(SlowOrder, PlacesBoardsAndMarkersBeyond1500) {
    // x 1550: start cell 32, end cell round(2050 / 50 + 1) = 42, warning cell 8, markers 7 to 4.
    struct Case {
        const char* record;
        int second;
    } cases[] = {
        {"rallentamento, 1550, 30, 500, 7, 1, 0", 0},
        {"rallentamento, 1550, 30, 500, 7, 1, 20", 20},
    };
    for (const auto& [record, second] : cases) {
        SCOPED_TRACE(record);
        TrainPassFixture f;
        f.run(trainFile({record}));
        ASSERT_EQ(f.build.errorCode, 0);
        expectBoard(f.build.trackCells[32], kSlowOrderStart, 30, second, 7);
        expectBoard(f.build.trackCells[42], kSlowOrderEnd, 30, second, 7);
        expectBoard(f.build.trackCells[8], kSlowOrderWarning, 30, second, 0);
        for (int j = 0; j < 4; ++j)
            expectBoard(f.build.trackCells[static_cast<std::size_t>(7 - j)], kWarningMarker, j + 1,
                        second != 0 ? j + 1 : 0, 0);
        EXPECT_EQ(f.build.trackCells[3].kind, kEmptyCell);
        EXPECT_EQ(f.build.scanIndex, 7);
    }
}

TEST(SlowOrder, At1500HasNoWarningBoardAndIgnoresMarkers) {
    TrainPassFixture f;
    f.run(trainFile({"rallentamento, 1500, 30, 500, 7, 1, 0"}));
    ASSERT_EQ(f.build.errorCode, 0);
    expectBoard(f.build.trackCells[31], kSlowOrderStart, 30, 0, 7);
    expectBoard(f.build.trackCells[41], kSlowOrderEnd, 30, 0, 7);
    for (int i = 0; i < 31; ++i) EXPECT_EQ(f.build.trackCells[static_cast<std::size_t>(i)].kind, 0);
}

// x 2000, length 500: start 41, end 51, warning 17, markers 16 to 13.
TEST(SlowOrder, TestsAllBoardsBeforeWritingAndMarkersAfter) {
    struct Case {
        const char* name;
        int takenCell;
        std::uint8_t takenKind;
        int f_ta;
        int errorCode;
        int startKind, endKind, warningKind, markerKind;
    } cases[] = {
        {"warning cell taken", 17, kSpeedBoard, 1, 17, 0, 0, kSpeedBoard, 0},
        {"start cell taken", 41, kSpeedBoard, 1, 18, kSpeedBoard, 0, 0, 0},
        {"end cell taken", 51, kSpeedBoard, 1, 19, 0, kSpeedBoard, 0, 0},
        {"marker cell taken", 14, kSpeedBoard, 1, 20, kSlowOrderStart, kSlowOrderEnd,
         kSlowOrderWarning, 0},
        {"marker cell taken without f_ta", 14, kSpeedBoard, 0, 0, kSlowOrderStart, kSlowOrderEnd,
         kSlowOrderWarning, 0},
        {"tunnel marker at the start", 41, kTunnelMarker, 1, 0, kSlowOrderStart, kSlowOrderEnd,
         kSlowOrderWarning, kWarningMarker},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TrainPassFixture f;
        f.build.trackCells[static_cast<std::size_t>(c.takenCell)].kind = c.takenKind;
        f.run(trainFile({c.f_ta != 0 ? "rallentamento, 2000, 30, 500, 0, 1, 0"
                                     : "rallentamento, 2000, 30, 500, 0, 0, 0"}));
        EXPECT_EQ(f.build.errorCode, c.errorCode);
        EXPECT_EQ(f.build.trackCells[41].kind, c.startKind);
        EXPECT_EQ(f.build.trackCells[51].kind, c.endKind);
        EXPECT_EQ(f.build.trackCells[17].kind, c.warningKind);
        EXPECT_EQ(f.build.trackCells[16].kind, c.markerKind);
    }
}

TEST(SlowOrder, WarningBoardCanBlockItsOwnMarkers) {
    // x 1575: (1575 - 1200) / 50 = 7.5, so the warning cell round(8.5) and the first marker
    // cell round(7.5) are both cell 8.
    TrainPassFixture f;
    f.run(trainFile({"rallentamento, 1575, 30, 500, 0, 1, 0"}));
    EXPECT_EQ(f.build.errorCode, 20);
    EXPECT_EQ(f.build.errorPosition, 1575);
    EXPECT_EQ(f.build.trackCells[8].kind, kSlowOrderWarning);
    EXPECT_EQ(f.build.trackCells[32].kind, kSlowOrderStart);
    EXPECT_EQ(f.build.trackCells[42].kind, kSlowOrderEnd);
    EXPECT_EQ(f.build.trackCells[7].kind, kEmptyCell);
}

TEST(SpeedCut, GoesToTheCellOfItsPosition) {
    struct Case {
        const char* record;
        int cell;
        std::uint8_t kind;
        int value1;
    } cases[] = {
        {"abbattimento, 1000, 60", 20, kSpeedCut, 60},
        {"abbattimento, 1025, 60", 20, kSpeedCut, 60},  // round(20.5), no + 1
        {"abbattimento, 1075, 60", 22, kSpeedCut, 60},  // round(21.5)
        {"abbattimento, 1000, 1", 20, kSpeedCut, 1},
        {"abbattimento, 1000, 0", 20, kSpeedCutMark, 9},  // value1 left as it was
        {"abbattimento, 1000, -5", 20, kSpeedCutMark, 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.record);
        TrainPassFixture f;
        f.build.trackCells[20].value1 = 9;
        f.build.trackCells[22].value1 = 9;
        f.build.trackCells[20].kind = kTunnelMarker;
        f.run(trainFile({c.record}));
        ASSERT_EQ(f.build.errorCode, 0);
        EXPECT_EQ(f.build.trackCells[static_cast<std::size_t>(c.cell)].kind, c.kind);
        EXPECT_EQ(f.build.trackCells[static_cast<std::size_t>(c.cell)].value1, c.value1);
    }
}

}  // namespace
}  // namespace scenario
