// The train pass inside the compile step: after the line pass, under its error trap.
#include <gtest/gtest.h>

#include <string>

#include "compile_fixture.h"

namespace scenario {
namespace {

using testing::CompileFixture;
using testing::crlfLines;

// A 34000 m route (cells 0 to 820) with a board in cell 10, a tunnel with a marker in cell 63
// and a sign in cell 60 whose text takes entry 80.
const std::string kLineSource = crlfLines({
    "[generale]",
    "lunghezza percorso,    34000",
    "progressiva chilometrica uno,    0,    0,    0",
    "progressiva chilometrica due,    2800,    1450,    0",
    "progressiva chilometrica tre,    0,    0,    0",
    "sfondo uno,    0",
    "sfondo due,    1",
    "sfondo tre,    0",
    "ripetizione segnali 4 codici,    0    ,0",
    "[pendenze]",
    "pendenza,  250 , 3 ",
    "[montagne]",
    "montagna,  3000 , 3350 , 12 ",
    "[cartelli]",
    "indicatori_vmax,  450,  65,  70,  75,  0,  ,  ,  ,  0",
    "[indicazioni]",
    "cartello_indicatore,  2950,   (GALLERIA)( 350 m.  )",
    "[fine]",
});

const std::string kTrainSource = crlfLines({
    "[generale]",
    "numero vetture,    3",
    "percentuale massa frenata,    120",
    "sabbia,    300",
    "orologio,    14              22            30 ",
    "[aderenze]",
    "aderenza,   0,   100",
    "aderenza,    8650,    80",
    "aderenza,    9800,    90",
    "aderenza,   14650,    80",
    "aderenza,   18200,   100",
    "[vel_limite]",
    "velocita,       0,    75",
    "velocita,    1850,    60",
    "velocita,    2350,    75",
    "velocita,    3550,   100",
    "velocita,   13100,   110",
    "velocita,   19700,   100",
    "velocita,   22300,   130",
    "velocita,   27250,   100",
    "velocita,   28600,   135",
    "velocita,   32950,    80",
    "[stazioni]",
    "stazione,       0,  4,  500,  0, 0, 0,  1,1,0,  4,1,1,    1,  14,23, 0, ALDERI",
    "stazione,    1200, 27,  200,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, BORGO S. VITO",
    "stazione,    1750, 27,  200,  0, 0, 0,  0,0,0,  0,0,0,   30,  14,26, 0, CASE NUOVE",
    "stazione,    2300, 25,  200,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, DOGANELLA",
    "stazione,    2850, 27,  200,  0, 0, 0,  0,0,0,  0,0,0,   30,  14,29, 0, ERBANO",
    "stazione,    5450, 27,  200,  0, 0, 0,  0,0,0,  0,0,0,   30,  14,34, 0, FONTI",
    "stazione,    7300, 22,  300,  0, 0, 0,  0,0,0,  4,1,1,   60,  14,39, 0, GRANAIOLA",
    "stazione,   33150,  4,  500,  1, 0, 0,  1,1,0,  2,1,1,    0,  15,13, 0, MONCASTA",
    "[rallentamenti]",
    "[segnali]",
    "segnale,    1000,   2, 5, 6,  0, 0,    0,  0,0,0, 0",
    "segnale,    1800,   2, 2, 4,  0, 1,    0,  0,0,0, 0",
    "segnale,    2600,   2, 4, 0,  0, 0,    2,  2,1,0, 0",
    "segnale,    5650,   1, 5, 1,  0, 0,    0,  0,0,0, 0",
    "[codici]",
    "[fine]",
});

TEST(TrainCompile, BuiltInLikeScenarioCompilesWithoutError) {
    CompileFixture f;
    f.setLineSource(kLineSource);
    f.setTrainSource(kTrainSource);
    f.compileSources();
    ScenarioBuild& b = f.build;
    ASSERT_EQ(b.errorCode, 0);
    EXPECT_FALSE(f.hasLineSource());
    EXPECT_FALSE(f.hasTrainSource());
    ASSERT_EQ(b.lastCellIndex, 820);

    EXPECT_EQ(b.stationTable[84].position, 3);
    EXPECT_EQ(b.stationTable[84].platformStart, 120);
    EXPECT_EQ(b.stationTable[84].platformEnd, 34000);
    EXPECT_EQ(b.stationTable[86].groupA1, 300);
    EXPECT_EQ(b.stationTable[86].groupB1, 14);
    EXPECT_EQ(b.stationTable[86].groupB2, 22);
    EXPECT_EQ(b.stationTable[86].groupB3, 30);
    EXPECT_EQ(b.stationTable[86].name, "1");

    // Speed: 75 km/h up to cell 36, 60 in 37 to 46, 75 again up to 70, 100 from 71, ...,
    // 80 from 659 to the fill's end.
    EXPECT_EQ(f.cell(0).speedLimit, 15);
    EXPECT_EQ(f.cell(36).speedLimit, 15);
    EXPECT_EQ(f.cell(37).speedLimit, 12);
    EXPECT_EQ(f.cell(46).speedLimit, 12);
    EXPECT_EQ(f.cell(47).speedLimit, 15);
    EXPECT_EQ(f.cell(71).speedLimit, 20);
    EXPECT_EQ(f.cell(658).speedLimit, 27);
    EXPECT_EQ(f.cell(659).speedLimit, 16);
    EXPECT_EQ(f.cell(817).speedLimit, 16);
    EXPECT_EQ(f.cell(818).speedLimit, 0);
    // Adhesion: 100 up to cell 172, 80 from 173, ..., 100 again from 364.
    EXPECT_EQ(f.cell(172).adhesion, 100);
    EXPECT_EQ(f.cell(173).adhesion, 80);
    EXPECT_EQ(f.cell(196).adhesion, 90);
    EXPECT_EQ(f.cell(363).adhesion, 80);
    EXPECT_EQ(f.cell(817).adhesion, 100);
    EXPECT_EQ(f.cell(820).adhesion, 0);

    // Station 1: platform -250 to 250, cell 4, approach codes in cells 3 and 2 only.
    const StationRecord& first = b.stationTable[1];
    EXPECT_EQ(first.platformStart, -250);
    EXPECT_EQ(first.platformEnd, 250);
    EXPECT_EQ(first.departureTime, 51780);
    EXPECT_EQ(first.name, "ALDERI");
    EXPECT_EQ(f.cell(4).kind, kStation);
    EXPECT_EQ(f.cell(4).value1, 1);
    EXPECT_EQ(f.cell(3).approachCode, 81);
    EXPECT_EQ(f.cell(2).approachCode, 82);
    EXPECT_EQ(f.cell(1).approachCode, 0);
    // Station 7: platform 7150 to 7450, cell 148.
    EXPECT_EQ(f.cell(148).kind, kStation);
    EXPECT_EQ(f.cell(148).value1, 7);
    EXPECT_EQ(f.cell(144).approachCode, 84);
    // The last station, number 8.
    EXPECT_EQ(b.stationTable[8].flagA, 1);
    EXPECT_EQ(b.stationTable[8].departureTime, 54780);
    EXPECT_EQ(f.cell(667).value1, 8);
    EXPECT_EQ(b.stationCounter, 9);
    EXPECT_EQ(b.stationTable[80].name, "(GALLERIA)( 350 m.  )");

    EXPECT_EQ(f.cell(53).kind, kSignal);
    EXPECT_EQ(f.cell(53).value1, 42);
    EXPECT_EQ(f.cell(53).value4, 8);
    EXPECT_EQ(f.cell(45).approachCode, 84);
    EXPECT_EQ(f.cell(37).value4, 16);  // rapp 1, sx 2
    EXPECT_EQ(f.cell(114).value4, 3);  // a distant signal, sx 1
    EXPECT_EQ(f.cell(63).kind, kTunnelMarker);
}

// A run-time failure anywhere in the train pass: error 25, both sources gone, the position of
// the line pass's error 15 kept, and the error placed at the train source file's field that
// failed, or at the file itself when it cannot be opened.
TEST(TrainCompile, ErrorTrapDeletesBothSourcesAndKeepsThePosition) {
    const std::string lineWithError15 = crlfLines(
        {"[generale]", "lunghezza percorso, 34000", "[pendenze]", "pendenza, 40901, 3", "[fine]"});
    struct Case {
        const char* name;
        const char* train;  // nullptr: no train source file
        int line;
        int firstColumn;
    } cases[] = {
        {"Byte of 300",
         "[generale]\r\nstazione, 500, 300, 200, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, A\r\n[fine]\r\n", 2,
         16},
        {"Integer of 40000", "[generale]\r\nsabbia, 40000\r\n[fine]\r\n", 2, 9},
        {"station cut off by the end of the file", "[generale]\r\nstazione, 500, 4", 2, 16},
        {"missing train source file", nullptr, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CompileFixture f;
        f.setLineSource(lineWithError15);
        if (c.train != nullptr) f.setTrainSource(c.train);
        f.compileSources();
        EXPECT_EQ(f.build.errorCode, 25);
        EXPECT_EQ(f.build.errorPosition, 40901);
        EXPECT_FALSE(f.hasLineSource());
        EXPECT_FALSE(f.hasTrainSource());
        ASSERT_EQ(f.build.errors.size(), 2u);
        const Diagnostic& trapped = f.build.errors[1];
        EXPECT_EQ(trapped.location.file, "S_1-.txt");
        EXPECT_EQ(trapped.location.line, c.line);
        EXPECT_EQ(trapped.location.firstColumn, c.firstColumn);
        EXPECT_FALSE(trapped.detail.empty());
    }
}

TEST(TrainCompile, RunsAfterLineErrorFifteenOnly) {
    struct Case {
        const char* name;
        std::string line;
        int errorCode;
        int errorPosition;
        bool trainRead;
    } cases[] = {
        {"no line error", kLineSource, 0, 0, true},
        {"line error 15",
         crlfLines({"[generale]", "lunghezza percorso, 34000", "[pendenze]", "pendenza, 40901, 3",
                    "[fine]"}),
         15, 40901, true},
        // A sign on the board's cell is error 6: the train source file is left alone.
        {"line error 6",
         crlfLines({"[generale]", "lunghezza percorso, 34000", "[cartelli]",
                    "indicatori_vmax,  450,  65,  70,  75,  0,  ,  ,  ,  0", "[indicazioni]",
                    "cartello_indicatore,  450,   (X)", "[fine]"}),
         6, 450, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CompileFixture f;
        f.setLineSource(c.line);
        f.setTrainSource(crlfLines({"[generale]", "sabbia, 300", "[fine]"}));
        f.compileSources();
        EXPECT_EQ(f.build.errorCode, c.errorCode);
        EXPECT_EQ(f.build.errorPosition, c.errorPosition);
        EXPECT_EQ(f.build.stationTable[86].groupA1, c.trainRead ? 300 : 0);
        EXPECT_EQ(f.hasTrainSource(), !c.trainRead);
    }
}

TEST(TrainCompile, LineErrorFifteenEndsThePassAtTheFirstSignal) {
    CompileFixture f;
    f.setLineSource(crlfLines(
        {"[generale]", "lunghezza percorso, 34000", "[pendenze]", "pendenza, 40901, 3", "[fine]"}));
    f.setTrainSource(
        crlfLines({"[generale]", "velocita, 0, 100", "velocita, 100, 80",
                   "segnale, 2600, 2, 4,0,0, 0, 2, 2,1,0, 0", "sabbia, 300", "[fine]"}));
    f.compileSources();
    EXPECT_EQ(f.build.errorCode, 15);
    EXPECT_EQ(f.build.errorPosition, 2600);
    EXPECT_EQ(f.cell(53).kind, kSignal);             // placed without fault
    EXPECT_EQ(f.build.stationTable[86].groupA1, 0);  // not read
    EXPECT_EQ(f.cell(1).speedLimit, 20);
    EXPECT_EQ(f.cell(2).speedLimit, 0);  // no fill
    EXPECT_FALSE(f.hasTrainSource());
    // Recorded again at the signal, pointing back at the gradient record that raised it.
    ASSERT_EQ(f.build.errors.size(), 2u);
    EXPECT_FALSE(f.build.errors[0].afterFirst);
    EXPECT_TRUE(f.build.errors[1].afterFirst);
    EXPECT_EQ(f.build.errors[1].location.file, "S_1-.txt");
    EXPECT_EQ(f.build.errors[1].location.line, 4);
    EXPECT_EQ(f.build.errors[1].related.file, "S_linea.txt");
    EXPECT_EQ(f.build.errors[1].related.line, 4);
}

}  // namespace
}  // namespace scenario
