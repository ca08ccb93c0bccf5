// The line pass: the general section, the route records, their errors and the pass's end.
#include "compiler/line_pass.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "compiler/compile_fixture.h"
#include "compiler/source_input.h"

namespace scenario::testing {
namespace {

std::string joinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

// A line source file with a 34000 m route (cells 0 to 820), the given route records and the
// closing line.
std::string routeFile(const std::vector<std::string>& records) {
    std::vector<std::string> lines = {"[generale]", "lunghezza percorso,    34000", "[curve]"};
    lines.insert(lines.end(), records.begin(), records.end());
    lines.push_back("[fine]");
    return joinLines(lines);
}

// A line source file whose general section holds the given lines after the route length.
std::string generalFile(const std::vector<std::string>& general) {
    std::vector<std::string> lines = {"[generale]", "lunghezza percorso,    34000"};
    lines.insert(lines.end(), general.begin(), general.end());
    lines.push_back("[curve]");
    lines.push_back("[fine]");
    return joinLines(lines);
}

// One compile of a line source file, with a train source file beside it.
struct LineRun {
    CompileFixture f;
    ScenarioBuild& b = f.build;
    std::int32_t errorPositionBefore = 0;  // as an earlier step may leave it

    void compile(const std::string& lineSource, int buildPlan = 1) {
        f.setLineSource(lineSource);
        f.setTrainSource("[generale]\r\n[fine]\r\n");
        f.compileSources(
            buildPlan, [this](ScenarioBuild& build) { build.errorPosition = errorPositionBefore; });
    }
    void compileRoute(const std::vector<std::string>& records) { compile(routeFile(records)); }
};

struct LinePass : ::testing::Test, LineRun {};

// --- The general section ----------------------------------------------------------------------

TEST_F(LinePass, GeneralSectionFillsTheReservedEntriesAndSizesTheTables) {
    compile(joinLines({
        "[generale]",
        "lunghezza percorso,    34000",
        "progressiva chilometrica tre,    0,    0,    0",
        "progressiva chilometrica due,    2800,    1450,    1",
        "progressiva chilometrica uno,    0,    0,    0",
        "sfondo uno,    1",
        "sfondo due,    0",
        "sfondo tre,    1",
        "ripetizione segnali 9 codici,    100    ,200",
        "[curve]",
        "[fine]",
    }));
    EXPECT_EQ(b.errorCode, 0);
    EXPECT_FALSE(f.hasLineSource());
    EXPECT_EQ(b.stationTable[84].platformEnd, 34000);
    EXPECT_EQ(b.planLength, 41000);
    EXPECT_EQ(b.lastCellIndex, 820);
    EXPECT_EQ(b.trackCells.size(), 821u);
    EXPECT_EQ(b.linePlan.upperBound(), 41000);
    // "due" alone has a position, so it goes first; its flag adds 100 to its reference value.
    EXPECT_EQ(b.stationTable[81].platformStart, 2800);
    EXPECT_EQ(b.stationTable[81].platformEnd, 1550);
    EXPECT_EQ(b.stationTable[81].position, 1);
    EXPECT_EQ(b.stationTable[82].platformStart, 0);
    EXPECT_EQ(b.stationTable[83].platformEnd, 0);
    EXPECT_EQ(b.stationTable[85].platformStart, 1);
    EXPECT_EQ(b.stationTable[85].position, 0);
    EXPECT_EQ(b.stationTable[85].platformEnd, 1);
    EXPECT_EQ(b.stationTable[86].platformStart, 100);
    EXPECT_EQ(b.stationTable[86].platformEnd, 200);
    EXPECT_EQ(b.stationTable[86].position, 9);
}

TEST_F(LinePass, LastCellIndexRoundsHalfToEven) {
    struct Case {
        const char* length;
        std::int32_t lastCell;
    } cases[] = {{"0", 140}, {"25", 140}, {"75", 142}, {"1000000", 20140}};
    for (const Case& c : cases) {
        CompileFixture g;
        g.setLineSource(joinLines(
            {"[generale]", std::string("lunghezza percorso, ") + c.length, "[curve]", "[fine]"}));
        g.compileSources();
        EXPECT_EQ(g.build.lastCellIndex, c.lastCell) << c.length;
        EXPECT_EQ(g.build.trackCells.size(), static_cast<std::size_t>(c.lastCell) + 1);
    }
}

TEST_F(LinePass, OnlyTheRouteLengthKeywordsIgnoreLetterCase) {
    struct Case {
        const char* line;
        std::int32_t length;      // entry 84 platformEnd
        std::int32_t postStart;   // entry 81 platformStart after the ordering
        std::int32_t background;  // entry 85 platformStart
        std::int32_t repetition;  // entry 86 platformStart
    } cases[] = {
        {"LUNGHEZZA Percorso,  1000", 1000, 0, 0, 0},
        {"progressiva chilometrica uno, 500, 50, 0", 34000, 500, 0, 0},
        {"Progressiva chilometrica uno, 500, 50, 0", 34000, 0, 0, 0},
        {"progressiva chilometrica UNO, 500, 50, 0", 34000, 0, 0, 0},
        {"sfondo uno, 1", 34000, 0, 1, 0},
        {"Sfondo uno, 1", 34000, 0, 0, 0},
        {"sfondo UNO, 1", 34000, 0, 0, 0},
        {"ripetizione segnali 4 codici, 100, 200", 34000, 0, 0, 100},
        {"RIPETIZIONE segnali 4 codici, 100, 200", 34000, 0, 0, 0},
    };
    for (const Case& c : cases) {
        LineRun t;
        t.compile(generalFile({c.line}));
        SCOPED_TRACE(c.line);
        EXPECT_EQ(t.b.errorCode, 0);
        EXPECT_EQ(t.b.stationTable[84].platformEnd, c.length);
        EXPECT_EQ(t.b.stationTable[81].platformStart, c.postStart);
        EXPECT_EQ(t.b.stationTable[85].platformStart, c.background);
        EXPECT_EQ(t.b.stationTable[86].platformStart, c.repetition);
    }
}

TEST_F(LinePass, SecondRouteLengthRecreatesTheTables) {
    compile(generalFile({"lunghezza percorso, 1000"}));
    EXPECT_EQ(b.planLength, 8000);
    EXPECT_EQ(b.trackCells.size(), 161u);
    EXPECT_EQ(b.linePlan.upperBound(), 8000);
}

TEST_F(LinePass, GeneralSectionPassesOverUpToTenCommentsInARow) {
    const std::vector<std::string> nine(9, "- nota");
    const std::vector<std::string> ten(10, "- nota");
    auto with = [](std::vector<std::string> lines, std::vector<std::string> more) {
        lines.insert(lines.end(), more.begin(), more.end());
        return lines;
    };
    struct Case {
        const char* what;
        std::vector<std::string> lines;
        std::int32_t background;
    } cases[] = {
        {"three comments", {"- a", "- b", "- c", "sfondo uno, 1"}, 1},
        {"a record in the tenth comment", with(nine, {"- sfondo uno, 1"}), 0},
        {"a record in the eleventh comment", with(ten, {"- sfondo uno, 1"}), 1},
        {"a header in the eleventh comment", with(ten, {"- [nota]", "sfondo uno, 1"}), 1},
        {"a header", {"[altro]", "sfondo uno, 1"}, 0},
    };
    for (const Case& c : cases) {
        LineRun t;
        t.compile(generalFile(c.lines));
        EXPECT_EQ(t.b.errorCode, 0) << c.what;
        EXPECT_EQ(t.b.stationTable[85].platformStart, c.background) << c.what;
    }
}

TEST_F(LinePass, SignalRepetitionCodeCount) {
    struct Case {
        const char* line;
        std::int32_t error;
        std::int32_t codes;
    } cases[] = {
        {"ripetizione segnali 4 codici, 100, 200", 0, 4},
        {"ripetizione segnali 9 codici, 100, 200", 0, 9},
        {"ripetizione segnali 49 codici, 100, 200", 0, 4},
        {"ripetizione segnali 9 codici, 100, 0", 0, 0},
        {"ripetizione segnali 4 codici, 120, 200", 3, 0},
        {"ripetizione segnali 4 codici, 100, 210", 4, 0},
        {"ripetizione segnali 4 codici, 120, 210", 3, 0},
        {"ripetizione segnali codici, 100, 200", 5, 0},
    };
    for (const Case& c : cases) {
        LineRun t;
        t.compile(generalFile({c.line, "sfondo uno, 1"}));
        SCOPED_TRACE(c.line);
        EXPECT_EQ(t.b.errorCode, c.error);
        EXPECT_EQ(t.b.stationTable[86].position, c.codes);
        EXPECT_FALSE(t.f.hasLineSource());
        // An error ends the pass at once: nothing after the record is read.
        EXPECT_EQ(t.b.stationTable[85].platformStart, c.error == 0 ? 1 : 0);
        if (c.error != 0) {
            EXPECT_TRUE(t.f.hasTrainSource());
        }
    }
}

// --- Kilometre posts
// ------------------------------------------------------------------------------

TEST(KilometrePosts, OrderedByPositionOrByReferenceValue) {
    struct Post {
        std::int32_t p, r, f;
    };
    struct Case {
        const char* what;
        Post t, d, u;        // entries 81, 82, 83 as read
        Post e81, e82, e83;  // after the ordering
    };
    // clang-format off
    const Case cases[] = {
        {"due alone",              {0, 0, 0},    {2800, 1450, 0}, {0, 0, 0},
                                   {2800, 1450, 0}, {0, 0, 0},    {0, 0, 0}},
        {"tre largest",            {3000, 1, 0}, {1000, 2, 0},    {2000, 3, 0},
                                   {3000, 1, 0}, {2000, 3, 0},    {1000, 2, 0}},
        {"due largest",            {3000, 1, 0}, {5000, 2, 0},    {1000, 3, 0},
                                   {5000, 2, 0}, {3000, 1, 0},    {1000, 3, 0}},
        {"uno largest, tie below", {1000, 1, 0}, {1000, 2, 0},    {5000, 3, 0},
                                   {5000, 3, 0}, {1000, 2, 0},    {1000, 1, 0}},
        {"shared largest",         {3000, 1, 0}, {3000, 2, 0},    {1000, 3, 0},
                                   {0, 0, 0},    {0, 0, 0},       {0, 0, 0}},
        {"positions summing to 0", {100, 0, 0},  {-100, 0, 0},    {0, 0, 0},
                                   {0, 0, 0},    {0, 0, 0},       {0, 0, 0}},
        {"tre referenced",         {0, 5, 0},    {0, 0, 0},       {0, 0, 0},
                                   {0, 5, 0},    {0, 0, 0},       {0, 0, 0}},
        {"due referenced",         {0, 0, 0},    {0, 6, 0},       {0, 0, 0},
                                   {0, 6, 0},    {0, 0, 0},       {0, 0, 0}},
        {"all referenced",         {0, 5, 0},    {0, 6, 0},       {0, 7, 0},
                                   {0, 7, 0},    {0, 6, 0},       {0, 5, 0}},
        {"none referenced",        {0, -5, 1},   {0, 0, 1},       {0, 0, 0},
                                   {0, 0, 0},    {0, 0, 0},       {0, 0, 0}},
        {"flags after ordering",   {1000, 50, 1}, {2000, 60, 0},  {3000, 70, 1},
                                   {3000, 170, 1}, {2000, 60, 0}, {1000, 150, 1}},
    };
    // clang-format on
    for (const Case& c : cases) {
        ScenarioBuild build;
        auto put = [&](int entry, Post p) {
            build.stationTable[entry].platformStart = p.p;
            build.stationTable[entry].platformEnd = p.r;
            build.stationTable[entry].position = p.f;
        };
        auto expect = [&](int entry, Post p) {
            EXPECT_EQ(build.stationTable[entry].platformStart, p.p) << c.what << " " << entry;
            EXPECT_EQ(build.stationTable[entry].platformEnd, p.r) << c.what << " " << entry;
            EXPECT_EQ(build.stationTable[entry].position, p.f) << c.what << " " << entry;
        };
        put(81, c.t);
        put(82, c.d);
        put(83, c.u);
        progressive_ordina(build);
        expect(81, c.e81);
        expect(82, c.e82);
        expect(83, c.e83);
    }
}

TEST_F(LinePass, KilometrePostRecordsGoToTheirEntriesBeforeTheOrdering) {
    compile(generalFile({
        "progressiva chilometrica uno,    1000,    10,    0",
        "progressiva chilometrica due,    3000,    30,    1",
        "progressiva chilometrica tre,    2000,    20,    0",
    }));
    EXPECT_EQ(b.stationTable[81].platformStart, 3000);
    EXPECT_EQ(b.stationTable[81].platformEnd, 130);
    EXPECT_EQ(b.stationTable[82].platformStart, 2000);
    EXPECT_EQ(b.stationTable[83].platformStart, 1000);
}

// --- Route records ------------------------------------------------------------------------------

TEST_F(LinePass, GradientsFillCellsUpToTheirPosition) {
    compileRoute({"pendenza,  250 , 3 ", "pendenza,  550 , 7 ", "pendenza,  1000 , -15 "});
    EXPECT_EQ(b.errorCode, 0);
    for (int i = 0; i <= 4; ++i) EXPECT_EQ(f.cell(i).gradient, 100) << i;
    for (int i = 5; i <= 10; ++i) EXPECT_EQ(f.cell(i).gradient, 103) << i;
    for (int i = 11; i <= 19; ++i) EXPECT_EQ(f.cell(i).gradient, 107) << i;
    // The last gradient holds to cell 817; the last three cells keep 0.
    EXPECT_EQ(f.cell(20).gradient, 85);
    EXPECT_EQ(f.cell(817).gradient, 85);
    for (int i = 818; i <= 820; ++i) EXPECT_EQ(f.cell(i).gradient, 0) << i;
}

TEST_F(LinePass, GradientAtTwentyFiveWritesNoCellButBecomesCurrent) {
    compileRoute({"pendenza,  25 , 4 "});
    EXPECT_EQ(f.cell(0).gradient, 104);
    EXPECT_EQ(f.cell(817).gradient, 104);
}

TEST_F(LinePass, GradientRecordAlwaysWritesAtLeastOneCell) {
    // The second record lies behind the cursor but still writes the cell at the cursor.
    compileRoute({"pendenza, 1000, 5", "pendenza, 500, 7", "pendenza, 1500, -101"});
    EXPECT_EQ(f.cell(19).gradient, 100);
    EXPECT_EQ(f.cell(20).gradient, 105);
    EXPECT_EQ(f.cell(21).gradient, 107);
    EXPECT_EQ(f.cell(29).gradient, 107);
    EXPECT_EQ(f.cell(30).gradient, 255);  // -1 in 8 bits
}

TEST_F(LinePass, GradientWritesStopAtTheEndOfTheTable) {
    compileRoute({"pendenza, 40900, 1", "pendenza, 40900, 2", "pendenza, 40900, 3",
                  "pendenza, 40900, 4", "pendenza, 40900, 5", "pendenza, 40900, 6"});
    EXPECT_EQ(b.errorCode, 0);
    EXPECT_EQ(f.cell(817).gradient, 100);
    EXPECT_EQ(f.cell(818).gradient, 101);
    EXPECT_EQ(f.cell(819).gradient, 102);
    EXPECT_EQ(f.cell(820).gradient, 103);
    EXPECT_EQ(b.gradientCursor, 821);
}

TEST_F(LinePass, SignsTakeEntriesFromEightyDown) {
    compileRoute({"cartello_indicatore,  2950,   (ALFA)( 1200 m.)   ",
                  "cartello_indicatore,  5000,   (BETA)( 800 m.), resto"});
    EXPECT_EQ(b.errorCode, 0);
    EXPECT_EQ(f.cell(60).kind, kSign);
    EXPECT_EQ(f.cell(60).value1, 80);
    EXPECT_EQ(b.stationTable[80].name, "(ALFA)( 1200 m.)");
    EXPECT_EQ(f.cell(101).kind, kSign);
    EXPECT_EQ(f.cell(101).value1, 79);
    // The text ends at a comma.
    EXPECT_EQ(b.stationTable[79].name, "(BETA)( 800 m.)");
    EXPECT_EQ(b.signSlot, 78);
}

TEST_F(LinePass, SpeedBoardGroupValues) {
    compileRoute({"indicatori_vmax,  450,  65,  70,  75,  0,  ,  ,  ,  0",
                  "indicatori_vmax,  950,  90,  95,  100,  2,  7,  10,  13,  1"});
    EXPECT_EQ(b.errorCode, 0);
    const TrackCell& first = f.cell(10);
    EXPECT_EQ(first.kind, kSpeedBoard);
    EXPECT_EQ(first.value1, 1300);
    EXPECT_EQ(first.value2, 1400);
    EXPECT_EQ(first.value3, 1500);
    EXPECT_EQ(first.value4, 0);
    // 7/5 + 1800 = 1801.4, 10/5 + 1900 = 1902, 13/5 + 2000 = 2002.6.
    const TrackCell& second = f.cell(20);
    EXPECT_EQ(second.value1, 1801);
    EXPECT_EQ(second.value2, 1902);
    EXPECT_EQ(second.value3, 2003);
    EXPECT_EQ(second.value4, 21);
}

TEST_F(LinePass, TunnelWithMarkers) {
    compileRoute({"montagna,  3000 , 3350 , 12 ", "montagna,  4000 , 4800 , 11 "});
    EXPECT_EQ(b.errorCode, 0);
    EXPECT_EQ(f.cell(59).tunnelKind, 0);
    for (int i = 60; i <= 66; ++i) {
        EXPECT_EQ(f.cell(i).tunnelKind, 2) << i;
        EXPECT_EQ(f.cell(i).kind, i == 63 ? kTunnelMarker : kEmptyCell) << i;
    }
    EXPECT_EQ(f.cell(67).tunnelKind, 0);
    for (int i = 80; i <= 95; ++i) {
        EXPECT_EQ(f.cell(i).tunnelKind, 1) << i;
        const bool marker = i == 83 || i == 87 || i == 91 || i == 95;
        EXPECT_EQ(f.cell(i).kind, marker ? kTunnelMarker : kEmptyCell) << i;
    }
    EXPECT_EQ(b.tunnelCount, 2);
    EXPECT_EQ(b.tunnelStarts[1], 3000);
    EXPECT_EQ(b.tunnelEnds[2], 4800);
}

TEST_F(LinePass, TunnelMarkerOnlyInAnEmptyCellAndObjectsMayReplaceIt) {
    // Markers would go to cells 63, 67, 71 and 75; a board already stands in 63.
    compileRoute({"indicatori_vmax,  3100,  65,  70,  75,  0,  ,  ,  ,  0",
                  "montagna,  3000 , 3800 , 12 ", "cartello_indicatore,  3300,  (GAMMA)"});
    EXPECT_EQ(b.errorCode, 0);
    EXPECT_EQ(f.cell(63).kind, kSpeedBoard);
    EXPECT_EQ(f.cell(63).value1, 1300);
    EXPECT_EQ(f.cell(63).tunnelKind, 2);
    EXPECT_EQ(f.cell(67).kind, kSign);
    EXPECT_EQ(f.cell(67).tunnelKind, 2);
    EXPECT_EQ(f.cell(71).kind, kTunnelMarker);
}

TEST_F(LinePass, TunnelCloseToThePreviousOneTakesTypeThree) {
    compileRoute(
        {"montagna, 3000, 3350, 1", "montagna, 3500, 3800, 2", "montagna, 4000, 4200, 11"});
    // 3500 - 3350 = 150: type 3; 4000 - 3800 = 200: own type, markers kept.
    EXPECT_EQ(f.cell(70).tunnelKind, 3);
    EXPECT_EQ(f.cell(80).tunnelKind, 1);
    EXPECT_EQ(f.cell(83).kind, kTunnelMarker);
}

TEST_F(LinePass, TunnelCellsOutsideTheTableAreSkipped) {
    compileRoute({"montagna, -500, 200, 12", "montagna, 40000, 90000, 1"});
    EXPECT_EQ(b.errorCode, 0);
    // Cells -10 to 3: the count runs from cell -10, so cell 1 is the 12th and takes a marker.
    for (int i = 0; i <= 3; ++i) EXPECT_EQ(f.cell(i).tunnelKind, 2) << i;
    EXPECT_EQ(f.cell(1).kind, kTunnelMarker);
    EXPECT_EQ(f.cell(3).kind, kEmptyCell);
    EXPECT_EQ(f.cell(4).tunnelKind, 0);
    EXPECT_EQ(f.cell(800).tunnelKind, 1);
    EXPECT_EQ(f.cell(820).tunnelKind, 1);
}

TEST_F(LinePass, MoreThanEightyTunnelsAreAccepted) {
    std::vector<std::string> records;
    for (int i = 1; i <= 81; ++i)
        records.push_back("montagna, " + std::to_string(400 * i) + ", " +
                          std::to_string(400 * i + 100) + ", 1");
    // 150 m after the 81st tunnel's end.
    records.push_back("montagna, 32650, 32900, 2");
    compileRoute(records);
    EXPECT_EQ(b.errorCode, 0);
    EXPECT_EQ(b.tunnelCount, 82);
    EXPECT_EQ(f.cell(8 * 81).tunnelKind, 1);
    EXPECT_EQ(f.cell(655).tunnelKind, 3);
}

TEST_F(LinePass, RouteKeywordsIgnoreLetterCaseAndGroupHeadersAreNoRecords) {
    compileRoute({"[pendenze]", "PENDENZA, 1000, 5", "[montagne]", "Montagna, 3000, 3350, 12",
                  "[cartelli]", "INDICATORI_VMAX, 450, 65, 70, 75, 0, , , , 0", "[indicazioni]",
                  "Cartello_Indicatore, 2950, (DELTA)"});
    EXPECT_EQ(b.errorCode, 0);
    EXPECT_EQ(f.cell(30).gradient, 105);
    EXPECT_EQ(f.cell(60).tunnelKind, 2);
    EXPECT_EQ(f.cell(10).kind, kSpeedBoard);
    EXPECT_EQ(f.cell(60).kind, kSign);
    EXPECT_EQ(b.tunnelCount, 1);
}

TEST_F(LinePass, AfterTheGeneralSectionTwoCommentsInARowArePassedOver) {
    struct Case {
        std::vector<std::string> lines;
        std::uint8_t gradient;  // of cell 30
    } cases[] = {
        {{"- Altitudine iniziale ALFA = 51 m.", "pendenza, 1000, 5"}, 105},
        {{"- a", "- b", "- pendenza, 1000, 5"}, 105},
        {{"- a", "- pendenza, 1000, 5"}, 100},
    };
    for (const Case& c : cases) {
        LineRun t;
        t.compileRoute(c.lines);
        EXPECT_EQ(t.b.errorCode, 0);
        EXPECT_EQ(t.f.cell(30).gradient, c.gradient) << c.lines.back();
    }
}

TEST_F(LinePass, WithoutPlanCurveRecordsArePassedOver) {
    compile(routeFile({"curvas6,  300 , 50 ", "pendenza, 1000, 5"}), 0);
    EXPECT_EQ(b.errorCode, 0);
    EXPECT_FALSE(b.linePlan.exists());
    EXPECT_EQ(f.cell(30).gradient, 105);
}

// --- The range test and error 15 -----------------------------------------------------------------

TEST_F(LinePass, RangeTestOnEveryRouteRecord) {
    const char* records[] = {
        "pendenza, %d, 5",
        "curvad1, %d, 10",
        "montagna, %d, 40950, 1",
        "indicatori_vmax, %d, 65, 70, 75, 0, , , , 0",
        "cartello_indicatore, %d, (EPSILON)",
    };
    for (const char* record : records) {
        for (int position : {40900, 40901}) {
            char line[80];
            std::snprintf(line, sizeof line, record, position);
            LineRun t;
            t.compileRoute({"pendenza, 100, 3", line, "cartello_indicatore, 1000, (X)"});
            SCOPED_TRACE(line);
            if (position == 40900) {
                EXPECT_EQ(t.b.errorCode, 0);
                EXPECT_EQ(t.f.cell(21).kind, kSign);
                continue;
            }
            EXPECT_EQ(t.b.errorCode, 15);
            EXPECT_EQ(t.b.errorPosition, 40901);
            // Reading ended: the next record was not read, but the profile and plan were completed.
            EXPECT_EQ(t.f.cell(21).kind, kEmptyCell);
            EXPECT_EQ(t.f.cell(817).gradient, 103);
            EXPECT_EQ(t.f.cell(818).gradient, 0);
            EXPECT_EQ(t.f.cell(818).kind, kEmptyCell);
            EXPECT_EQ(t.b.linePlan.doubleEnd(), 40999);
            EXPECT_FALSE(t.f.hasLineSource());
        }
    }
}

TEST_F(LinePass, ObjectsOutsideTheTableEndTheReadingLikeTheRangeTest) {
    struct Case {
        const char* record;
        std::int32_t position;
    } cases[] = {
        {"indicatori_vmax, -100, 65, 70, 75, 0, , , , 0", -100},
        {"cartello_indicatore, -80, (ZETA)", -80},
        {"curvad1, 40000, 999", 40000},
    };
    for (const Case& c : cases) {
        LineRun t;
        t.compileRoute({"pendenza, 100, 1", c.record, "pendenza, 40000, 9"});
        SCOPED_TRACE(c.record);
        EXPECT_EQ(t.b.errorCode, 15);
        EXPECT_EQ(t.b.errorPosition, c.position);
        EXPECT_EQ(t.f.cell(0).kind, kEmptyCell);
        EXPECT_EQ(t.b.stationTable[80].name, "");
        EXPECT_EQ(t.f.cell(2).gradient, 101);
        EXPECT_EQ(t.f.cell(800).gradient, 101);
    }
}

TEST_F(LinePass, LinePassGoesOnToTheTrainPassOnlyAfterItsEndOrErrorFifteen) {
    struct Case {
        const char* what;
        std::string source;
        bool present;
        std::int32_t error;
        bool trainPass;
    } cases[] = {
        {"normal end", routeFile({"pendenza, 100, 1"}), true, 0, true},
        {"error 15", routeFile({"pendenza, 50000, 1"}), true, 15, true},
        {"error 101", "", false, 101, false},
        {"error 102", "", true, 102, false},
        {"error 1", generalFile({"lunghezza percorso, 1000001"}), true, 1, false},
        {"error 103", routeFile({"curvad, 300, 50"}), true, 103, false},
        {"error 6",
         routeFile({"pendenza, 100, 1", "cartello_indicatore, 2950, (A)",
                    "cartello_indicatore, 2950, (B)"}),
         true, 6, false},
    };
    for (const Case& c : cases) {
        CompileFixture g;
        if (c.present) g.setLineSource(c.source);
        startBuild(g.build, 1);
        SourceInput in(g.build, g.store);
        EXPECT_EQ(linePass(g.build, in), c.trainPass) << c.what;
        EXPECT_EQ(g.build.errorCode, c.error) << c.what;
        EXPECT_FALSE(g.hasLineSource()) << c.what;
    }
}

// --- Errors that end memorizza_dati
// ---------------------------------------------------------------

TEST_F(LinePass, MissingLineSourceIsErrorOneHundredOneAndDeletesNothing) {
    f.setTrainSource("[generale]\r\n[fine]\r\n");
    f.compileSources(1, [](ScenarioBuild& build) { build.errorPosition = 77; });
    EXPECT_EQ(b.errorCode, 101);
    EXPECT_EQ(b.errorPosition, 77);
    ASSERT_EQ(b.errors.size(), 1u);
    EXPECT_EQ(b.errors[0].location.file, "S_linea.txt");
    EXPECT_EQ(b.errors[0].location.line, 0);
    EXPECT_TRUE(f.hasTrainSource());
    EXPECT_TRUE(b.trackCells.empty());
}

TEST_F(LinePass, FileWithoutAGeneralSectionIsErrorOneHundredTwo) {
    const char* sources[] = {"", "\r\n", "x,y\r\nz\r\n", "[preambolo]\r\n[GENERALE]",
                             "a\r\n[generale]\r\n"};
    for (const char* source : sources) {
        LineRun t;
        t.compile(source);
        EXPECT_EQ(t.b.errorCode, 102) << source;
        EXPECT_FALSE(t.f.hasLineSource());
        EXPECT_TRUE(t.f.hasTrainSource());
    }
    // Found in any letter case, after a preamble.
    LineRun t;
    t.compile("preambolo\r\n[GENERALE]\r\nlunghezza percorso, 100\r\n[fine]\r\n");
    EXPECT_EQ(t.b.errorCode, 0);
    EXPECT_EQ(t.b.planLength, 7100);
}

TEST_F(LinePass, RouteLengthOutsideZeroToOneMillionIsErrorOne) {
    for (const char* length : {"1000001", "-1"}) {
        LineRun t;
        t.errorPositionBefore = 77;
        t.compile(joinLines({"[generale]", std::string("lunghezza percorso, ") + length,
                             "sfondo uno, 1", "[curve]", "[fine]"}));
        EXPECT_EQ(t.b.errorCode, 1) << length;
        EXPECT_EQ(t.b.errorPosition, 77);
        EXPECT_EQ(t.b.stationTable[84].platformEnd, std::stoi(length));
        EXPECT_TRUE(t.b.trackCells.empty());
        EXPECT_EQ(t.b.stationTable[85].platformStart, 0);
        EXPECT_FALSE(t.f.hasLineSource());
        EXPECT_TRUE(t.f.hasTrainSource());
    }
}

TEST_F(LinePass, CurveWithoutClassDigitIsErrorOneHundredThree) {
    compileRoute({"pendenza, 500, 2", "curvad0, 300, 50", "pendenza, 1000, 5"});
    EXPECT_EQ(b.errorCode, 103);
    EXPECT_FALSE(f.hasLineSource());
    EXPECT_TRUE(f.hasTrainSource());
    // What was written stays; the end of the pass does not run.
    EXPECT_EQ(f.cell(9).gradient, 100);
    EXPECT_EQ(f.cell(10).gradient, 0);
    EXPECT_EQ(b.linePlan.doubleEnd(), 2);
}

TEST_F(LinePass, OccupiedCellsGiveErrorsTwentyOneAndSix) {
    struct Case {
        const char* record;
        std::int32_t error;
        std::int32_t position;
    } cases[] = {
        {"indicatori_vmax, 2950, 90, 95, 100, 0, , , , 0", 21, 2950},
        {"cartello_indicatore, 2960, (B)", 6, 2960},
    };
    for (const Case& c : cases) {
        LineRun t;
        // Cell 60 holds a sign; cell 61 a tunnel marker, which objects may take.
        t.compileRoute(
            {"pendenza, 100, 1", "montagna, 2900, 3200, 11", "cartello_indicatore, 2950, (A)",
             "indicatori_vmax, 3000, 90, 95, 100, 0, , , , 0", c.record, "pendenza, 1000, 5"});
        SCOPED_TRACE(c.record);
        EXPECT_EQ(t.b.errorCode, c.error);
        EXPECT_EQ(t.b.errorPosition, c.position);
        ASSERT_FALSE(t.b.errors.empty());
        EXPECT_EQ(t.b.errors.back().location.file, "S_linea.txt");
        EXPECT_EQ(t.b.errors.back().location.line, 8);
        EXPECT_EQ(t.f.cell(60).kind, kSign);
        EXPECT_EQ(t.f.cell(60).value1, 80);
        EXPECT_EQ(t.f.cell(61).kind, kSpeedBoard);
        EXPECT_EQ(t.b.signSlot, 79);
        EXPECT_EQ(t.b.stationTable[79].name, "");
        EXPECT_EQ(t.f.cell(2).gradient, 0);
        EXPECT_FALSE(t.f.hasLineSource());
        EXPECT_TRUE(t.f.hasTrainSource());
    }
}

TEST_F(LinePass, EightyFirstSignIsErrorFourteen) {
    std::vector<std::string> records;
    for (int i = 1; i <= 81; ++i)
        records.push_back("cartello_indicatore, " + std::to_string(100 * i) + ", (S" +
                          std::to_string(i) + ")");
    compileRoute(records);
    EXPECT_EQ(b.errorCode, 14);
    EXPECT_EQ(b.errorPosition, 8100);
    EXPECT_EQ(b.stationTable[1].name, "(S80)");
    EXPECT_EQ(f.cell(161).value1, 1);
    EXPECT_EQ(f.cell(163).kind, kEmptyCell);
    EXPECT_EQ(b.stationTable[0].name, "");
    EXPECT_FALSE(f.hasLineSource());
    EXPECT_TRUE(f.hasTrainSource());
}

TEST_F(LinePass, RunTimeFailuresEndInTheTrapWithValuesReadSoFarStored) {
    struct Case {
        const char* what;
        std::string source;
    } cases[] = {
        {"no route length",
         joinLines({"[generale]", "sfondo uno, 1", "[curve]", "pendenza, 100, 1", "[fine]"})},
        {"route length beyond a Long", generalFile({"lunghezza percorso, 2147483648"})},
        {"kilometre post cut off", joinLines({"[generale]", "lunghezza percorso, 34000",
                                              "progressiva chilometrica due, 2800"})},
        {"reference pushed past a Long",
         generalFile({"progressiva chilometrica uno, 100, 2147483600, 1"})},
        {"comment run past the end",
         joinLines({"[generale]", "lunghezza percorso, 34000", "- a", "- b"})},
        {"board value beyond an Integer",
         routeFile({"indicatori_vmax, 450, 2000, 70, 75, 0, , , , 0"})},
        {"sign text beyond 65535 bytes",
         routeFile({"cartello_indicatore, 2950, " + std::string(65536, 'x')})},
    };
    for (const Case& c : cases) {
        LineRun t;
        t.errorPositionBefore = 77;
        t.compile(c.source);
        SCOPED_TRACE(c.what);
        EXPECT_EQ(t.b.errorCode, 25);
        EXPECT_EQ(t.b.errorPosition, 77);
        EXPECT_FALSE(t.f.hasLineSource());
        EXPECT_FALSE(t.f.hasTrainSource());
    }
}

TEST_F(LinePass, RecordCutOffByAReadFailureKeepsItsFirstValues) {
    compile(joinLines({"[generale]", "lunghezza percorso, 34000", "sfondo uno, 1",
                       "progressiva chilometrica due, 2800"}));
    EXPECT_EQ(b.errorCode, 25);
    EXPECT_EQ(b.stationTable[82].platformStart, 2800);
    EXPECT_EQ(b.stationTable[85].platformStart, 1);

    LineRun t;
    t.compileRoute({"indicatori_vmax, 450, 65, 2000, 75, 0, , , , 0"});
    EXPECT_EQ(t.b.errorCode, 25);
    EXPECT_EQ(t.f.cell(10).kind, kSpeedBoard);
    EXPECT_EQ(t.f.cell(10).value1, 1300);
    EXPECT_EQ(t.f.cell(10).value2, 0);
}

}  // namespace
}  // namespace scenario::testing
