// The built-in line source table.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <string>
#include <vector>

#include "source/builtin_tables.h"
#include "source/line_table_checks.h"

namespace scenario {
namespace {

// Line numbers count from 1, as in the file.
std::string lineAt(const std::vector<std::string>& lines, int number) {
    return lines.at(number - 1);
}

TEST(BuiltinLineSource, HasItsLinesThenTheSentinel) {
    const LineTable table = lineSourceTable();
    EXPECT_TRUE(hasSentinelAt(table, 127));
    for (const std::string& line : fileLines(table)) EXPECT_TRUE(isAscii(line)) << line;
}

TEST(BuiltinLineSource, GeneralSectionAndGroupHeadersAreExact) {
    const std::vector<std::string> lines = fileLines(lineSourceTable());
    struct Case {
        int number;
        const char* text;
    } cases[] = {
        {1, "[generale]"},
        {2, "lunghezza percorso,    34000"},
        {3, "progressiva chilometrica uno,    0,    0,    0"},
        {4, "progressiva chilometrica due,    2800,    1450,    0"},
        {5, "progressiva chilometrica tre,    0,    0,    0"},
        {6, "sfondo uno,    0"},
        {7, "sfondo due,    1"},
        {8, "sfondo tre,    0"},
        {9, "ripetizione segnali 4 codici,    0    ,0"},
        {10, "[curve]"},
        {50, "[pendenze]"},
        {88, "[montagne]"},
        {101, "[cartelli]"},
        {114, "[indicazioni]"},
        {127, "[fine]"},
    };
    for (const Case& c : cases) EXPECT_EQ(lineAt(lines, c.number), c.text) << "line " << c.number;
}

TEST(BuiltinLineSource, CurveLinesInBothForms) {
    const std::vector<std::string> lines = fileLines(lineSourceTable());
    EXPECT_EQ(lineAt(lines, 11), "curvas6,  300 , 50 ");
    EXPECT_EQ(lineAt(lines, 16), "curvas6,  2600,  100");

    struct Curve {
        const char* keyword;
        int position, length;
        char form;
    } curves[] = {
        {"curvas6", 300, 50, 'A'},    {"curvad6", 450, 50, 'A'},    {"curvad5", 1050, 100, 'A'},
        {"curvad5", 1300, 300, 'A'},  {"curvad5", 1950, 150, 'A'},  {"curvas6", 2600, 100, 'B'},
        {"curvas6", 2900, 100, 'B'},  {"curvad5", 3200, 350, 'A'},  {"curvad5", 3900, 100, 'A'},
        {"curvas5", 4350, 150, 'A'},  {"curvad5", 4550, 200, 'A'},  {"curvas6", 5200, 200, 'B'},
        {"curvad5", 5550, 150, 'A'},  {"curvad4", 6200, 200, 'A'},  {"curvas4", 6550, 150, 'A'},
        {"curvas5", 7100, 50, 'A'},   {"curvas5", 7450, 150, 'A'},  {"curvas4", 8400, 900, 'A'},
        {"curvas5", 9300, 750, 'A'},  {"curvad5", 10700, 450, 'A'}, {"curvas6", 11450, 250, 'A'},
        {"curvad5", 12050, 750, 'A'}, {"curvas6", 13100, 100, 'A'}, {"curvad5", 13700, 250, 'A'},
        {"curvad5", 14650, 350, 'A'}, {"curvas5", 18150, 200, 'A'}, {"curvas5", 18850, 100, 'A'},
        {"curvas5", 19300, 250, 'A'}, {"curvad5", 20050, 200, 'A'}, {"curvad5", 21750, 200, 'A'},
        {"curvas6", 22200, 50, 'A'},  {"curvad5", 22900, 200, 'A'}, {"curvas4", 23700, 200, 'A'},
        {"curvad4", 24450, 300, 'A'}, {"curvas5", 25700, 450, 'A'}, {"curvad5", 27300, 250, 'A'},
        {"curvad5", 27650, 200, 'A'}, {"curvad5", 30450, 200, 'A'}, {"curvas4", 32400, 450, 'A'},
    };
    int number = 11;
    for (const Curve& c : curves) {
        const std::string position = std::to_string(c.position);
        const std::string length = std::to_string(c.length);
        const std::string expected =
            c.form == 'A' ? std::string(c.keyword) + ",  " + position + " , " + length + " "
                          : std::string(c.keyword) + ",  " + position + ",  " + length;
        EXPECT_EQ(lineAt(lines, number), expected) << "line " << number;
        ++number;
    }
    EXPECT_EQ(number, 50);
}

TEST(BuiltinLineSource, GradientLinesCarryTheSignInFirstPlace) {
    const std::vector<std::string> lines = fileLines(lineSourceTable());
    EXPECT_EQ(lineAt(lines, 52), "pendenza,  250 , 3 ");
    EXPECT_EQ(lineAt(lines, 75), "pendenza,  18500 ,-15 ");

    struct Gradient {
        int position, perMille;
    } gradients[] = {
        {250, 3},    {550, 7},     {1000, 10},  {1250, 18},   {2800, 0},   {3050, 14},
        {3350, 26},  {3650, 19},   {5250, 22},  {7100, 0},    {7500, 19},  {8550, 13},
        {9800, 16},  {10950, 19},  {11450, 18}, {12100, 13},  {12650, 11}, {12750, 0},
        {13200, 17}, {14650, 16},  {17800, 12}, {18050, 6},   {18250, 0},  {18500, -15},
        {21050, 0},  {21450, -14}, {25500, -9}, {26800, -12}, {27650, -8}, {28200, 0},
        {28600, -7}, {29200, -2},  {29850, 0},  {31300, 6},   {31800, 0},  {32200, 6},
    };
    int number = 52;
    for (const Gradient& g : gradients) {
        const std::string sign = g.perMille < 0 ? "-" : " ";
        EXPECT_EQ(lineAt(lines, number), "pendenza,  " + std::to_string(g.position) + " ," + sign +
                                             std::to_string(std::abs(g.perMille)) + " ")
            << "line " << number;
        ++number;
    }
    EXPECT_EQ(number, 88);
}

TEST(BuiltinLineSource, AltitudeCommentNamesTheFirstStation) {
    const std::string line = lineAt(fileLines(lineSourceTable()), 51);
    const std::string head = "- Altitudine iniziale ";
    const std::string tail = " = 51 m.";
    ASSERT_GT(line.size(), head.size() + tail.size());
    EXPECT_EQ(line.substr(0, head.size()), head);
    EXPECT_EQ(line.substr(line.size() - tail.size()), tail);
    EXPECT_EQ(line.find(','), std::string::npos);
}

TEST(BuiltinLineSource, TunnelLines) {
    const std::vector<std::string> lines = fileLines(lineSourceTable());
    EXPECT_EQ(lineAt(lines, 89), "montagna,  3000 , 3350 , 12 ");

    struct Tunnel {
        int start, end, type;
    } tunnels[] = {
        {3000, 3350, 12},   {4000, 4200, 12},   {4850, 5250, 11},   {8650, 9850, 11},
        {10950, 11300, 11}, {11800, 11900, 12}, {12150, 12650, 11}, {13250, 13700, 12},
        {14650, 18250, 11}, {20100, 20200, 12}, {22400, 22500, 12}, {24100, 24150, 12},
    };
    int number = 89;
    for (const Tunnel& t : tunnels) {
        EXPECT_EQ(lineAt(lines, number), "montagna,  " + std::to_string(t.start) + " , " +
                                             std::to_string(t.end) + " , " +
                                             std::to_string(t.type) + " ")
            << "line " << number;
        ++number;
    }
    EXPECT_EQ(number, 101);
}

TEST(BuiltinLineSource, SpeedBoardLinesLeaveTheSecondSetEmpty) {
    const std::vector<std::string> lines = fileLines(lineSourceTable());
    EXPECT_EQ(lineAt(lines, 102), "indicatori_vmax,  450,  65,  70,  75,  0,  ,  ,  ,  0");

    struct Board {
        int position, a, b, c, stripesLeft, stripesRight;
    } boards[] = {
        {450, 65, 70, 75, 0, 0},    {3550, 90, 95, 100, 0, 0},    {13100, 100, 105, 110, 0, 0},
        {18650, 90, 95, 100, 0, 0}, {22300, 120, 125, 130, 0, 0}, {25650, 90, 95, 100, 2, 0},
        {25850, 90, 95, 100, 1, 0}, {26050, 90, 95, 100, 0, 0},   {28600, 120, 130, 135, 0, 0},
        {31450, 75, 80, 80, 2, 0},  {31650, 75, 80, 80, 1, 0},    {31850, 75, 80, 80, 0, 0},
    };
    int number = 102;
    for (const Board& b : boards) {
        std::string expected = "indicatori_vmax";
        for (int value : {b.position, b.a, b.b, b.c, b.stripesLeft})
            expected += ",  " + std::to_string(value);
        expected += ",  ,  ,  ,  " + std::to_string(b.stripesRight);
        EXPECT_EQ(lineAt(lines, number), expected) << "line " << number;
        ++number;
    }
    EXPECT_EQ(number, 114);
}

// The tunnel names are free, so each sign is checked against the layout rule: a capitalised
// name in the first group, the length padded to the same width in the second.
TEST(BuiltinLineSource, SignTextsHaveTwoGroupsOfTheGivenWidth) {
    const std::vector<std::string> lines = fileLines(lineSourceTable());
    struct Sign {
        int position, length, width;
    } signs[] = {
        {2950, 366, 10},   {3950, 210, 14},  {4800, 414, 13},  {8600, 1192, 13},
        {10900, 362, 10},  {11750, 118, 11}, {12100, 480, 11}, {13200, 456, 10},
        {14600, 3606, 11}, {20050, 121, 9},  {22350, 74, 9},   {24050, 42, 13},
    };
    int number = 115;
    for (const Sign& s : signs) {
        SCOPED_TRACE("line " + std::to_string(number));
        const std::string line = lineAt(lines, number++);
        const std::string head = "cartello_indicatore,  " + std::to_string(s.position) + ",   ";
        ASSERT_EQ(line.substr(0, head.size()), head);
        const std::string text = line.substr(head.size());
        const std::size_t split = text.find(")(");
        ASSERT_NE(split, std::string::npos) << text;
        const std::string first = text.substr(0, split + 1);
        const std::string second = text.substr(split + 1);
        EXPECT_EQ(first.size(), static_cast<std::size_t>(s.width)) << first;
        EXPECT_EQ(second.size(), static_cast<std::size_t>(s.width)) << second;

        ASSERT_GE(first.size(), 3u);
        EXPECT_EQ(first.front(), '(');
        for (char c : first.substr(1, first.size() - 2))
            EXPECT_TRUE(std::isupper(static_cast<unsigned char>(c)) || c == ' ') << first;

        std::string expectedSecond = "( " + std::to_string(s.length) + " m.";
        expectedSecond.resize(s.width - 1, ' ');
        EXPECT_EQ(second, expectedSecond + ")");
    }
    EXPECT_EQ(lineAt(lines, 124).substr(lineAt(lines, 124).size() - 9), "( 121 m.)");
    EXPECT_EQ(lineAt(lines, 125).substr(lineAt(lines, 125).size() - 9), "( 74 m. )");
}

}  // namespace
}  // namespace scenario
