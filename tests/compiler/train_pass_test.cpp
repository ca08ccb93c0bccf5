// The train pass's record loop, general records, profiles, range test, end of pass and error exits.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "train_pass_fixture.h"

namespace scenario {
namespace {

using testing::trainFile;
using testing::TrainPassFixture;

TEST(TrainPassLoop, FindsRecordsByTheFieldRules) {
    struct Case {
        const char* name;
        std::string text;
        int sand;
    } cases[] = {
        {"plain record", trainFile({"sabbia,    300"}), 300},
        {"preamble passed over", "sabbia, 5\r\n[Generale]\r\nsabbia, 300\r\n[fine]\r\n", 300},
        {"no [generale]", "sabbia, 5\r\n[fine]\r\n", 0},
        {"empty file", "", 0},
        {"keyword in capitals", trainFile({"SaBBia, 300"}), 300},
        {"section headers only", trainFile({"[aderenze]", "[stazioni]", "[segnali]"}), 0},
        // The comment's keyword is not seen; "300" is read in its place and has none.
        {"comment with a keyword", trainFile({"- sabbia, 300"}), 0},
        {"two comment lines", trainFile({"- uno", "- due", "sabbia, 300"}), 300},
        {"third comment field examined", trainFile({"- uno", "- due", "- sabbia, 300"}), 300},
        {"value on the next line", trainFile({"sabbia", "300"}), 300},
        {"record on the last line", "[generale]\r\nsabbia, 300\r\n", 300},
        // The field that exhausts the file is never examined, so no value is read past the end.
        {"keyword as the last field", "[generale]\r\nsabbia\r\n", 0},
        {"comment then keyword at the end", "[generale]\r\n- x\r\nsabbia", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TrainPassFixture f;
        f.run(c.text);
        EXPECT_EQ(f.build.stationTable[86].groupA1, c.sand);
        EXPECT_EQ(f.build.errorCode, 0);
        EXPECT_FALSE(f.hasTrainSource());
    }
}

TEST(TrainPassLoop, FieldWithTwoKeywordsReadsBothRecordsInTableOrder) {
    TrainPassFixture f;
    f.run(trainFile({"sabbia e orologio, 14 22 30, 300"}));
    const StationRecord& r = f.build.stationTable[86];
    EXPECT_EQ(r.groupB1, 14);
    EXPECT_EQ(r.groupB2, 22);
    EXPECT_EQ(r.groupB3, 30);
    EXPECT_EQ(r.groupA1, 300);
}

TEST(TrainPassGeneral, StoresTrainDataAndClockInTheirSlots) {
    TrainPassFixture f;
    f.build.stationTable[84].platformEnd = 34000;
    f.run(trainFile({
        "numero vetture,    3",
        "percentuale massa frenata,    120",
        "sabbia,    300",
        "orologio,    14              22            30 ",
        "massa, 7",  // needs "frenata" as well
        "numero vetture, 4",
    }));
    EXPECT_EQ(f.build.stationTable[84].position, 4);
    EXPECT_EQ(f.build.stationTable[84].platformStart, 120);
    EXPECT_EQ(f.build.stationTable[84].platformEnd, 34000);
    EXPECT_EQ(f.build.stationTable[86].groupA1, 300);
    EXPECT_EQ(f.build.stationTable[86].groupB1, 14);
    EXPECT_EQ(f.build.stationTable[86].groupB2, 22);
    EXPECT_EQ(f.build.stationTable[86].groupB3, 30);
    EXPECT_EQ(f.build.errorCode, 0);
}

// Cells 0 to 10; the end of the pass fills up to cell 7, cells 8 to 10 keep the mark 99 unless a
// record's cursor reached them.
TEST(TrainPassProfiles, SpeedLimitsRunFromCursorToEachRecordsCell) {
    struct Case {
        const char* name;
        std::vector<const char*> records;
        std::vector<int> expected;
    } cases[] = {
        {"position 75 gives cell 2",
         {"velocita,0,50", "velocita,75,100"},
         {10, 10, 20, 20, 20, 20, 20, 20, 99, 99, 99}},
        {"position 25 writes no cell",
         {"velocita,0,50", "velocita,25,100"},
         {20, 20, 20, 20, 20, 20, 20, 20, 99, 99, 99}},
        {"two records at one position",
         {"velocita,0,50", "velocita,150,100", "velocita,150,60"},
         {10, 10, 10, 20, 12, 12, 12, 12, 99, 99, 99}},
        {"speed before the first record is 0",
         {"velocita,100,50"},
         {0, 0, 10, 10, 10, 10, 10, 10, 99, 99, 99}},
        {"speed divided by 5 and rounded",
         {"velocita,0,12", "velocita,100,1277"},
         {2, 2, 255, 255, 255, 255, 255, 255, 99, 99, 99}},
        // The record loop stops before the last cell; the fill's first write takes it.
        {"cursor pushed to the last cell",
         {"velocita,0,50", "velocita,400,100", "velocita,400,60", "velocita,400,70",
          "velocita,400,80"},
         {10, 10, 10, 10, 10, 10, 10, 10, 20, 12, 16}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TrainPassFixture f(10);
        f.markProfiles(99);
        std::string text = "[generale]\r\n";
        for (const char* r : c.records) text += std::string(r) + "\r\n";
        f.run(text + "[fine]\r\n");
        EXPECT_EQ(f.speedLimits(), c.expected);
        EXPECT_EQ(f.build.errorCode, 0);
    }
}

TEST(TrainPassProfiles, AdhesionKeepsLowBitsAndMayWriteTheLastCell) {
    struct Case {
        const char* name;
        std::vector<const char*> records;
        std::vector<int> expected;
    } cases[] = {
        {"two records",
         {"aderenza,0,90", "aderenza,75,80"},
         {90, 90, 80, 80, 80, 80, 80, 80, 99, 99, 99}},
        {"adhesion before the first record is 0, values wrap to 8 bits",
         {"aderenza,100,300", "aderenza,150,-1"},
         {0, 0, 44, 255, 255, 255, 255, 255, 99, 99, 99}},
        // Unlike the speed loop this one writes cell 10; after that the cursor writes nothing.
        {"cursor pushed past the last cell",
         {"aderenza,0,50", "aderenza,400,100", "aderenza,400,60", "aderenza,400,70",
          "aderenza,400,80", "aderenza,400,90"},
         {50, 50, 50, 50, 50, 50, 50, 50, 100, 60, 70}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TrainPassFixture f(10);
        f.markProfiles(99);
        std::string text = "[generale]\r\n";
        for (const char* r : c.records) text += std::string(r) + "\r\n";
        f.run(text + "[fine]\r\n");
        EXPECT_EQ(f.adhesions(), c.expected);
        EXPECT_EQ(f.build.errorCode, 0);
    }
}

TEST(TrainPassProfiles, SpeedOutsideTheByteRangeIsARunTimeFailure) {
    // 1278 / 5 rounds to 256; -3 / 5 to -1. -2 / 5 rounds to 0 and passes.
    struct Case {
        const char* record;
        int errorCode;
    } cases[] = {
        {"velocita,0,1278", 25},
        {"velocita,0,-3", 25},
        {"velocita,0,-2", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.record);
        TrainPassFixture f;
        f.run(trainFile({c.record}));
        EXPECT_EQ(f.build.errorCode, c.errorCode);
        EXPECT_FALSE(f.hasTrainSource());
    }
}

TEST(TrainPassEnd, EmptyFileStillFillsProfilesAndChecksKilometrePosts) {
    TrainPassFixture f;
    f.markProfiles(99);
    f.build.stationTable[82].platformStart = 125;
    f.run("");
    EXPECT_EQ(f.build.trackCells[0].speedLimit, 0);
    EXPECT_EQ(f.build.trackCells[97].adhesion, 0);
    EXPECT_EQ(f.build.trackCells[98].speedLimit, 99);
    EXPECT_EQ(f.build.errorCode, 2);
    EXPECT_EQ(f.build.errorPosition, -1);
    EXPECT_FALSE(f.hasTrainSource());
}

TEST(TrainPassEnd, KilometrePostsMustStandOnWholeCells) {
    struct Case {
        int entry;
        int start;
        int end;
        int position;
        int errorCode;
    } cases[] = {
        {81, 2800, 1450, 0, 0}, {82, 125, 0, 0, 2},  {83, 0, 1475, 0, 2},
        {81, -50, -100, 0, 0},  {83, 50, 100, 7, 0},  // the flag is not checked
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        TrainPassFixture f;
        StationRecord& post = f.build.stationTable[static_cast<std::size_t>(c.entry)];
        post.platformStart = c.start;
        post.platformEnd = c.end;
        post.position = c.position;
        f.run(trainFile({}));
        EXPECT_EQ(f.build.errorCode, c.errorCode);
    }
}

TEST(TrainPassEnd, LineErrorFifteenStaysWhenNothingReplacesIt) {
    TrainPassFixture f;
    f.build.errorCode = 15;
    f.build.errorPosition = 40901;
    f.run(trainFile({"velocita,0,100", "sabbia,300", "abbattimento,1000,60"}));
    EXPECT_EQ(f.build.errorCode, 15);
    EXPECT_EQ(f.build.errorPosition, 40901);
    EXPECT_EQ(f.build.stationTable[86].groupA1, 300);
    EXPECT_EQ(f.build.trackCells[20].kind, kSpeedCut);
}

// Cells 0 to 100: a record at p passes while p + 100 <= 5000 (a station: p + 800 <= 5000).
TEST(TrainPassRange, RecordOutsideTheTableEndsTheLoopButNotThePass) {
    struct Case {
        const char* record;
        int errorCode;
        int errorPosition;
    } cases[] = {
        {"velocita, 4900, 50", 0, -1},
        {"velocita, 4901, 50", 15, 4901},
        {"aderenza, 4901, 50", 15, 4901},
        {"segnale, 4900, 2,4,0,0,0, 2,2,1,0,0", 0, -1},
        {"segnale, 4901, 2,4,0,0,0, 2,2,1,0,0", 15, 4901},
        {"rallentamento, 4901, 30, 100, 0, 0, 0", 15, 4901},
        {"abbattimento, 4901, 30", 15, 4901},
        {"stazione, 4200, 27, 200, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, FERMATA", 0, -1},
        {"stazione, 4250, 27, 200, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, FERMATA", 15, 4250},
        // Own cells outside the table, through a negative position or a long slow order.
        {"segnale, -100, 2,4,0,0,0, 2,2,1,0,0", 15, -100},
        {"abbattimento, -25, 30", 0, -1},  // round(-0.5) is cell 0
        {"abbattimento, -26, 30", 15, -26},
        {"rallentamento, -100, 30, 500, 0, 0, 0", 15, -100},
        {"rallentamento, 1000, 30, 100000, 0, 0, 0", 15, 1000},
        {"rallentamento, 100, 30, -300, 0, 0, 0", 15, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.record);
        TrainPassFixture f;
        f.markProfiles(99);
        f.run(trainFile({"velocita,0,100", "aderenza,0,90", c.record, "sabbia,300"}));
        EXPECT_EQ(f.build.errorCode, c.errorCode);
        EXPECT_EQ(f.build.errorPosition, c.errorPosition);
        EXPECT_EQ(f.build.stationTable[86].groupA1, c.errorCode == 0 ? 300 : 0);
        // The profiles are complete either way, with the last values read.
        EXPECT_EQ(f.build.trackCells[97].speedLimit, 20);
        EXPECT_EQ(f.build.trackCells[97].adhesion, 90);
        EXPECT_EQ(f.build.trackCells[99].adhesion, 99);
        EXPECT_FALSE(f.hasTrainSource());
    }
}

// Values at the ends of the Long range end in a recorded error, never in a stray write.
TEST(TrainPassRange, ExtremeValuesEndInARecordedError) {
    struct Case {
        const char* record;
        int errorCode;
    } cases[] = {
        {"velocita, -2147483648, 50", 0},
        {"velocita, 2147483647, 50", 15},
        {"velocita, 0, 2147483647", 25},  // the fill cannot store it
        {"segnale, -2147483648, 2,0,0,0,0,0,0,0,0,0", 15},
        {"rallentamento, 1000, 30, 2147483647, 0, 0, 0", 15},
        {"rallentamento, 1000, 30, -2147483648, 0, 0, 0", 15},
        {"rallentamento, -2147483648, 30, 500, 0, 1, 0", 15},
        {"abbattimento, -2147483648, 30", 15},
        {"stazione, -2147483600, 12, 0, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, A", 24},
        {"stazione, 0, 12, -2147483648, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, A", 9},
        // Platform end -2147483600 - 2147483600 is below the Long range.
        {"stazione, -2147483600, 7, -2147483600, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, A", 25},
        // A negative platform puts its end at -1073741800, before cell 1.
        {"stazione, 0, 12, -2147483600, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, A", 24},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.record);
        TrainPassFixture f;
        f.run(trainFile({c.record}));
        EXPECT_EQ(f.build.errorCode, c.errorCode);
        EXPECT_FALSE(f.hasTrainSource());
    }
}

TEST(TrainPassRange, FailedRecordWritesNothingOfItsOwn) {
    TrainPassFixture f;
    f.run(trainFile({"rallentamento, 1000, 30, 100000, 0, 0, 0"}));
    EXPECT_EQ(f.build.trackCells[21].kind, kEmptyCell);  // its start cell
    TrainPassFixture g;
    g.run(trainFile({"velocita,0,100", "velocita, 4901, 50"}));
    EXPECT_EQ(g.build.trackCells[97].speedLimit, 20);  // 50 km/h never became current
}

TEST(TrainPassRange, KilometrePostCheckReplacesErrorFifteen) {
    TrainPassFixture f;
    f.build.stationTable[81].platformEnd = 1475;
    f.run(trainFile({"velocita, 4901, 50"}));
    EXPECT_EQ(f.build.errorCode, 2);
    EXPECT_EQ(f.build.errorPosition, 4901);
}

// An error exit ends the pass at once: the rest of the file is not read, the profiles stay
// filled only up to the cursors, the kilometre posts are not checked, and the file is deleted.
TEST(TrainPassExits, ErrorExitSkipsTheEndOfThePass) {
    const char* kStation1 = "stazione, 500, 4, 200, 0,0,0, 1,1,0, 4,1,1, 1, 14,23,0, PRIMA";
    struct Case {
        const char* name;
        std::function<void(ScenarioBuild&)> setUp;
        std::vector<const char*> records;
        int errorCode;
        int errorPosition;
    } cases[] = {
        {"speed-cut cell taken",
         [](ScenarioBuild& b) { b.trackCells[20].kind = kSpeedBoard; },
         {"abbattimento, 1000, 60"},
         7,
         1000},
        {"station off the 50 m grid",
         nullptr,
         {"stazione, 1025, 12, 200, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, X"},
         8,
         1025},
        {"platform off the 100 m grid",
         nullptr,
         {"stazione, 1000, 12, 250, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, X"},
         9,
         1000},
        {"station platform too near the start",
         nullptr,
         {"stazione, 0, 12, 100, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, X"},
         24,
         -1},
        {"stations too close",
         nullptr,
         {kStation1, "stazione, 1000, 12, 200, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, X"},
         22,
         1000},
        {"station reaches the sign slot",
         [](ScenarioBuild& b) { b.signSlot = 2; },
         {kStation1},
         10,
         -1},
        {"signal cell taken",
         [](ScenarioBuild& b) { b.trackCells[21].kind = kSign; },
         {"segnale, 1000, 2,4,0,0,0, 2,2,1,0,0"},
         16,
         1000},
        {"warning cell taken",
         [](ScenarioBuild& b) { b.trackCells[17].kind = kSpeedBoard; },
         {"rallentamento, 2000, 30, 500, 0, 1, 0"},
         17,
         2000},
        {"start cell taken",
         [](ScenarioBuild& b) { b.trackCells[41].kind = kSpeedBoard; },
         {"rallentamento, 2000, 30, 500, 0, 1, 0"},
         18,
         2000},
        {"end cell taken",
         [](ScenarioBuild& b) { b.trackCells[51].kind = kSpeedBoard; },
         {"rallentamento, 2000, 30, 500, 0, 1, 0"},
         19,
         2000},
        {"marker cell taken",
         [](ScenarioBuild& b) { b.trackCells[14].kind = kSpeedBoard; },
         {"rallentamento, 2000, 30, 500, 0, 1, 0"},
         20,
         2000},
        // An error left by the line pass ends the pass at the first signal or slow order.
        {"signal after a line error 15",
         [](ScenarioBuild& b) { b.errorCode = 15; },
         {"segnale, 1000, 2,4,0,0,0, 2,2,1,0,0"},
         15,
         1000},
        {"slow order after a line error 15",
         [](ScenarioBuild& b) { b.errorCode = 15; },
         {"rallentamento, 2000, 30, 500, 0, 1, 0"},
         15,
         2000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TrainPassFixture f;
        f.markProfiles(99);
        f.build.stationTable[82].platformStart = 125;  // would be error 2 at the end of the pass
        if (c.setUp) c.setUp(f.build);
        std::string text = "[generale]\r\nvelocita,0,100\r\nvelocita,100,80\r\n";
        for (const char* r : c.records) text += std::string(r) + "\r\n";
        f.run(text + "sabbia, 300\r\n[fine]\r\n");
        EXPECT_EQ(f.build.errorCode, c.errorCode);
        EXPECT_EQ(f.build.errorPosition, c.errorPosition);
        EXPECT_EQ(f.build.stationTable[86].groupA1, 0);
        EXPECT_EQ(f.speedLimits()[1], 20);  // written by the second speed record
        EXPECT_EQ(f.speedLimits()[2], 99);  // no fill
        EXPECT_FALSE(f.hasTrainSource());
    }
}

}  // namespace
}  // namespace scenario
