// Station records: the stored fields, the platform extent, the station cell and approach codes,
// spacing, the sign-slot limit, and what a record cut short leaves.
#include <gtest/gtest.h>

#include <string>

#include "train_pass_fixture.h"

namespace scenario {
namespace {

using testing::trainFile;
using testing::TrainPassFixture;

// Station 1 ends its platform at 600 (cell 11, approach codes in cells 10 to 7).
const char* const kFirstStation = "stazione, 500, 4, 200, 0,0,0, 1,1,0, 4,1,1, 1, 14,20,0, PRIMA";

TEST(Station, StoresAllSeventeenFields) {
    TrainPassFixture f;
    f.run(trainFile({kFirstStation,
                     "stazione, 1750, 22, 600, 1, 1, 1, 2, 3, 4, 5, 6, 7, 30, 14,26,5, "
                     "BIVIO-NORD S.M."}));
    ASSERT_EQ(f.build.errorCode, 0);
    const StationRecord& r = f.build.stationTable[2];
    EXPECT_EQ(r.position, 1750);
    EXPECT_EQ(r.stationKind, 22);
    EXPECT_EQ(r.platformStart, 1450);
    EXPECT_EQ(r.platformEnd, 2100);  // 1750 + 300, and 50 for flagC
    EXPECT_EQ(r.flagA, 1);
    EXPECT_EQ(r.flagB, 1);
    EXPECT_EQ(r.flagC, 1);
    EXPECT_EQ(r.groupA1, 2);
    EXPECT_EQ(r.groupA2, 3);
    EXPECT_EQ(r.groupA3, 4);
    EXPECT_EQ(r.groupB1, 5);
    EXPECT_EQ(r.groupB2, 6);
    EXPECT_EQ(r.groupB3, 7);
    EXPECT_EQ(r.dwellTime, 30);
    EXPECT_EQ(r.departureTime, 51965);
    EXPECT_EQ(r.name, "BIVIO-NORD S.M.");
    EXPECT_EQ(f.build.stationCounter, 3);
    // Station 2's cell is 2100 / 50 - 1 = 41, its codes 40 to 37.
    EXPECT_EQ(f.build.trackCells[41].kind, kStation);
    EXPECT_EQ(f.build.trackCells[41].value1, 2);
    EXPECT_EQ(f.build.trackCells[40].approachCode, 81);
    EXPECT_EQ(f.build.trackCells[37].approachCode, 84);
    EXPECT_EQ(f.build.trackCells[11].value1, 1);
}

// Station 2 at 2000, after a stop at 0 that has no cell and a platform ending at 0.
TEST(Station, PlatformExtentCellAndCodesByKind) {
    struct Case {
        int kind;
        int length;
        int flagC;
        int start, end, storedFlagC;
        int stationCell;  // 0: none
        bool approachCodes;
    } cases[] = {
        {5, 200, 1, 1800, 2150, 0, 42, false}, {6, 300, 0, 1700, 2150, 0, 42, false},
        {7, 200, 1, 1800, 2200, 0, 43, true},  {8, 100, 0, 1900, 2100, 0, 41, true},
        {4, 300, 0, 1850, 2150, 0, 42, true},  {12, 200, 1, 1900, 2150, 1, 42, true},
        {24, 200, 0, 1900, 2100, 0, 41, true}, {25, 200, 0, 1900, 2100, 0, 0, false},
        {27, 200, 1, 1900, 2150, 1, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        TrainPassFixture f;
        const std::string record = "stazione, 2000, " + std::to_string(c.kind) + ", " +
                                   std::to_string(c.length) + ", 0, 0, " + std::to_string(c.flagC) +
                                   ", 0,0,0, 0,0,0, 0, 0,0,0, B";
        f.run(trainFile({"stazione, 0, 27, 0, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, A", record.c_str()}));
        ASSERT_EQ(f.build.errorCode, 0);
        const StationRecord& r = f.build.stationTable[2];
        EXPECT_EQ(r.platformStart, c.start);
        EXPECT_EQ(r.platformEnd, c.end);
        EXPECT_EQ(r.flagC, c.storedFlagC);
        int cellsWithKind = 0;
        int cellsWithCode = 0;
        for (const TrackCell& cell : f.build.trackCells) {
            cellsWithKind += cell.kind != kEmptyCell;
            cellsWithCode += cell.approachCode != 0;
        }
        EXPECT_EQ(cellsWithKind, c.stationCell != 0 ? 1 : 0);
        EXPECT_EQ(cellsWithCode, c.approachCodes ? 4 : 0);
        if (c.stationCell == 0) continue;
        const auto at = [&](int i) -> const TrackCell& {
            return f.build.trackCells[static_cast<std::size_t>(i)];
        };
        EXPECT_EQ(at(c.stationCell).kind, kStation);
        EXPECT_EQ(at(c.stationCell).value1, 2);
        if (!c.approachCodes) continue;
        for (int n = 1; n <= 4; ++n) EXPECT_EQ(at(c.stationCell - n).approachCode, 80 + n);
    }
}

TEST(Station, FlagBNeedsAPlatformOf600AndStationOneHasNoFlags) {
    struct Case {
        const char* name;
        bool second;  // read after kFirstStation
        int length;
        int flagB, flagC, end;
    } cases[] = {
        {"station 2, 500 m", true, 500, 0, 1, 2300},
        {"station 2, 600 m", true, 600, 1, 1, 2350},
        // flagC is cleared after it has lengthened the platform.
        {"station 1, 600 m", false, 600, 0, 0, 2350},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TrainPassFixture f;
        const std::string record = "stazione, 2000, 12, " + std::to_string(c.length) +
                                   ", 0, 1, 1, 0,0,0, 0,0,0, 0, 0,0,0, B";
        if (c.second)
            f.run(trainFile({kFirstStation, record.c_str()}));
        else
            f.run(trainFile({record.c_str()}));
        ASSERT_EQ(f.build.errorCode, 0);
        const StationRecord& r = f.build.stationTable[c.second ? 2 : 1];
        EXPECT_EQ(r.flagB, c.flagB);
        EXPECT_EQ(r.flagC, c.flagC);
        EXPECT_EQ(r.platformEnd, c.end);
    }
}

TEST(Station, KeepsAtLeast350MetresFromThePreviousPlatform) {
    // The first platform ends at 600; a second of 200 m at p starts at p - 100.
    struct Case {
        int position;
        int kind;
        int errorCode;
        int errorPosition;
    } cases[] = {
        {1050, 12, 0, -1},
        {1000, 12, 22, 1000},
        {1000, 27, 22, 1000},  // stops without a cell are tested too
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.position);
        TrainPassFixture f;
        const std::string second = "stazione, " + std::to_string(c.position) + ", " +
                                   std::to_string(c.kind) +
                                   ", 200, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, B";
        f.run(trainFile({kFirstStation, second.c_str()}));
        EXPECT_EQ(f.build.errorCode, c.errorCode);
        EXPECT_EQ(f.build.errorPosition, c.errorPosition);
        EXPECT_EQ(f.build.stationTable[2].position, c.position);
    }
}

TEST(Station, TooCloseStationKeepsWhatItWrote) {
    TrainPassFixture f;
    f.run(trainFile({kFirstStation, "stazione, 1000, 12, 200, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, B"}));
    EXPECT_EQ(f.build.errorCode, 22);
    EXPECT_EQ(f.build.stationTable[2].name, "B");
    EXPECT_EQ(f.build.trackCells[21].kind, kStation);
    EXPECT_EQ(f.build.trackCells[21].value1, 2);
    EXPECT_EQ(f.build.stationCounter, 2);
}

TEST(Station, FirstStationIsNeverSpacingTested) {
    TrainPassFixture f;
    f.run(trainFile({"stazione, 300, 4, 200, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, A"}));
    EXPECT_EQ(f.build.errorCode, 0);
    EXPECT_EQ(f.build.stationTable[1].platformStart, 200);
}

TEST(Station, CellIsWrittenWhateverItHeld) {
    TrainPassFixture f;
    f.build.trackCells[20].kind = kSpeedBoard;
    f.run(trainFile({"segnale, 1000, 2, 4,0,0, 0, 2, 2,1,0, 0",  // cell 21
                     "stazione, 1000, 12, 200, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, A"}));
    ASSERT_EQ(f.build.errorCode, 0);
    const TrackCell& c = f.build.trackCells[21];
    EXPECT_EQ(c.kind, kStation);
    EXPECT_EQ(c.value1, 1);
    EXPECT_EQ(c.value2, 1);  // the signal's value stays
    EXPECT_EQ(f.build.trackCells[20].kind, kSpeedBoard);
    EXPECT_EQ(f.build.trackCells[20].approachCode, 81);
}

TEST(Station, ErrorsAndWhatTheyLeaveInTheEntry) {
    struct Case {
        const char* record;
        int errorCode;
        int errorPosition;
        int position, kind, start, end;
    } cases[] = {
        // The position is stored before its tests, the kind only after the 50 m test.
        {"stazione, 1025, 12, 200, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, A", 8, 1025, 1025, 0, 0, 0},
        {"stazione, 1000, 12, 250, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, A", 9, 1000, 1000, 12, 0, 0},
        {"stazione, 4250, 12, 200, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, A", 15, 4250, 4250, 0, 0, 0},
        // Station cell at or before cell 1.
        {"stazione, 0, 12, 100, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, A", 24, -1, 0, 12, -50, 50},
        {"stazione, 50, 12, 100, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, A", 24, -1, 50, 12, 0, 100},
        {"stazione, -50, 5, 100, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, A", 24, -1, -50, 5, -150, 100},
        // Station cell 101 beyond the table: nothing of its cells is written.
        {"stazione, 4200, 7, 900, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, A", 15, 4200, 4200, 7, 3300, 5100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.record);
        TrainPassFixture f;
        f.run(trainFile({c.record}));
        EXPECT_EQ(f.build.errorCode, c.errorCode);
        EXPECT_EQ(f.build.errorPosition, c.errorPosition);
        const StationRecord& r = f.build.stationTable[1];
        EXPECT_EQ(r.position, c.position);
        EXPECT_EQ(r.stationKind, c.kind);
        EXPECT_EQ(r.platformStart, c.start);
        EXPECT_EQ(r.platformEnd, c.end);
        EXPECT_EQ(f.build.stationCounter, 1);
        for (const TrackCell& cell : f.build.trackCells) {
            EXPECT_EQ(cell.kind, kEmptyCell);
            EXPECT_EQ(cell.approachCode, 0);
        }
    }
}

TEST(Station, ApproachCodesAtOrBeforeCellOneAreSkipped) {
    TrainPassFixture f;
    f.run(trainFile({"stazione, 100, 12, 200, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, A"}));  // end 200
    ASSERT_EQ(f.build.errorCode, 0);
    EXPECT_EQ(f.build.trackCells[3].kind, kStation);
    EXPECT_EQ(f.build.trackCells[2].approachCode, 81);
    EXPECT_EQ(f.build.trackCells[1].approachCode, 0);
    EXPECT_EQ(f.build.trackCells[0].approachCode, 0);
}

TEST(Station, NeverTakesAnEntryHoldingASignText) {
    const char* kSecond = "stazione, 1500, 27, 200, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, SECONDA";
    struct Case {
        int signs;
        int stationsStored;
    } cases[] = {
        {77, 2},  // sign slot 3: station 2 is stored, then error 10
        {79, 1},  // sign slot 1: station 1 is stored in the free entry 1, then error 10
        {80, 0},  // every entry from 80 down to 1 holds a sign: nothing is read
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.signs);
        TrainPassFixture f;
        f.build.signSlot = 80 - c.signs;
        for (int e = 80; e > f.build.signSlot; --e)
            f.build.stationTable[static_cast<std::size_t>(e)].name = "SIGN";
        f.run(trainFile({kFirstStation, kSecond, "sabbia, 300"}));
        EXPECT_EQ(f.build.errorCode, 10);
        EXPECT_EQ(f.build.errorPosition, -1);
        EXPECT_EQ(f.build.stationTable[86].groupA1, 0);
        for (int e = 1; e <= 80; ++e) {
            const std::string& name = f.build.stationTable[static_cast<std::size_t>(e)].name;
            if (e > f.build.signSlot)
                EXPECT_EQ(name, "SIGN") << e;
            else if (e == 1 && c.stationsStored >= 1)
                EXPECT_EQ(name, "PRIMA");
            else if (e == 2 && c.stationsStored >= 2)
                EXPECT_EQ(name, "SECONDA");
            else
                EXPECT_EQ(name, "") << e;
        }
    }
}

TEST(Station, DepartureTimeKeepsItsLow32Bits) {
    TrainPassFixture f;
    // 1000000 h is 3600000000 s, which wraps to 3600000000 - 4294967296.
    f.run(trainFile({"stazione, 500, 4, 200, 0,0,0, 0,0,0, 0,0,0, 0, 1000000,0,0, A"}));
    ASSERT_EQ(f.build.errorCode, 0);
    EXPECT_EQ(f.build.stationTable[1].departureTime, -694967296);
}

TEST(Station, ReadFailuresKeepTheValuesReadBeforeThem) {
    const std::string longName(65536, 'N');
    const std::string longNameRecord =
        "stazione, 500, 4, 200, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, " + longName + "\r\n[fine]\r\n";
    struct Case {
        const char* name;
        std::string text;
        int position, kind;
        int groupA1;
    } cases[] = {
        {"cut off by the end of the file", "[generale]\r\nstazione, 500, 4\r\n", 500, 4, 0},
        {"kind 300", trainFile({"stazione, 500, 300, 200, 0,0,0, 1,0,0, 0,0,0, 0, 0,0,0, A"}), 500,
         0, 0},
        {"Integer 40000",
         trainFile({"stazione, 500, 4, 200, 0,0,0, 7,40000,0, 0,0,0, 0, 0,0,0, A"}), 500, 4, 7},
        {"name over 65535 bytes", "[generale]\r\n" + longNameRecord, 500, 4, 0},
        // The platform end 4000 + 2147483600 is beyond the Long range.
        {"platform end beyond Long",
         trainFile({"stazione, 4000, 7, 2147483600, 0,0,0, 0,0,0, "
                    "0,0,0, 0, 0,0,0, A"}),
         4000, 7, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TrainPassFixture f;
        f.run(c.text);
        EXPECT_EQ(f.build.errorCode, 25);
        const StationRecord& r = f.build.stationTable[1];
        EXPECT_EQ(r.position, c.position);
        EXPECT_EQ(r.stationKind, c.kind);
        EXPECT_EQ(r.groupA1, c.groupA1);
        EXPECT_FALSE(f.hasTrainSource());
    }
}

}  // namespace
}  // namespace scenario
