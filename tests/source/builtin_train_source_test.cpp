// The built-in train source table.
#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <set>
#include <string>
#include <vector>

#include "source/builtin_tables.h"
#include "source/line_table_checks.h"

namespace scenario {
namespace {

std::string lineAt(const std::vector<std::string>& lines, int number) {
    return lines.at(number - 1);
}

// A keyword followed by numbers, each after a comma and right-aligned in its field width.
template <std::size_t N>
std::string alignedRecord(const char* keyword, const std::array<int, N>& values,
                          const std::array<int, N>& widths) {
    std::string line = keyword;
    for (std::size_t i = 0; i < N; ++i) {
        const std::string digits = std::to_string(values[i]);
        line += ',';
        line.append(widths[i] - digits.size(), ' ');
        line += digits;
    }
    return line;
}

TEST(BuiltinTrainSource, HasItsLinesThenTheSentinel) {
    const LineTable table = trainSourceTable();
    EXPECT_TRUE(hasSentinelAt(table, 59));
    for (const std::string& line : fileLines(table)) EXPECT_TRUE(isAscii(line)) << line;
}

TEST(BuiltinTrainSource, TrainProfilesAndHeadersAreExact) {
    const std::vector<std::string> lines = fileLines(trainSourceTable());
    const char* head[] = {
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
    };
    int number = 1;
    for (const char* text : head) {
        EXPECT_EQ(lineAt(lines, number), text) << "line " << number;
        ++number;
    }
    EXPECT_EQ(lineAt(lines, 39), "[rallentamenti]");
    EXPECT_EQ(lineAt(lines, 40), "[segnali]");
    EXPECT_EQ(lineAt(lines, 58), "[codici]");
    EXPECT_EQ(lineAt(lines, 59), "[fine]");
}

TEST(BuiltinTrainSource, StationLinesAreAlignedAndNamed) {
    const std::vector<std::string> lines = fileLines(trainSourceTable());
    const std::string prefix25 =
        "stazione,    1200, 27,  200,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, ";
    EXPECT_EQ(lineAt(lines, 25).substr(0, prefix25.size()), prefix25);

    constexpr std::array<int, 16> kWidths = {8, 3, 5, 3, 2, 2, 3, 1, 1, 3, 1, 1, 5, 4, 2, 2};
    const std::array<int, 16> stations[] = {
        {0, 4, 500, 0, 0, 0, 1, 1, 0, 4, 1, 1, 1, 14, 23, 0},
        {1200, 27, 200, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        {1750, 27, 200, 0, 0, 0, 0, 0, 0, 0, 0, 0, 30, 14, 26, 0},
        {2300, 25, 200, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        {2850, 27, 200, 0, 0, 0, 0, 0, 0, 0, 0, 0, 30, 14, 29, 0},
        {5450, 27, 200, 0, 0, 0, 0, 0, 0, 0, 0, 0, 30, 14, 34, 0},
        {7300, 22, 300, 0, 0, 0, 0, 0, 0, 4, 1, 1, 60, 14, 39, 0},
        {10250, 27, 200, 0, 0, 0, 0, 0, 0, 0, 0, 0, 30, 14, 43, 0},
        {12950, 22, 300, 0, 0, 0, 0, 0, 0, 4, 1, 1, 30, 14, 46, 0},
        {14450, 27, 200, 0, 0, 0, 0, 0, 0, 0, 0, 0, 30, 14, 49, 0},
        {18350, 22, 300, 0, 0, 0, 0, 0, 0, 4, 1, 1, 60, 14, 55, 0},
        {21250, 22, 300, 0, 0, 0, 0, 0, 0, 4, 1, 1, 60, 14, 59, 0},
        {25150, 22, 300, 0, 0, 0, 0, 0, 0, 4, 1, 1, 30, 15, 4, 0},
        {28400, 12, 300, 0, 0, 0, 1, 1, 0, 4, 1, 1, 60, 15, 8, 0},
        {33150, 4, 500, 1, 0, 0, 1, 1, 0, 2, 1, 1, 0, 15, 13, 0},
    };
    std::set<std::string> names;
    std::string first, last;
    int number = 24;
    for (const std::array<int, 16>& values : stations) {
        SCOPED_TRACE("line " + std::to_string(number));
        const std::string line = lineAt(lines, number++);
        const std::string head = alignedRecord("stazione", values, kWidths) + ", ";
        ASSERT_EQ(line.substr(0, head.size()), head);

        // The name runs to the end of the line, so it may hold neither comma nor hyphen.
        const std::string name = line.substr(head.size());
        ASSERT_FALSE(name.empty());
        EXPECT_LE(name.size(), 19u) << name;
        EXPECT_TRUE(std::isupper(static_cast<unsigned char>(name.front()))) << name;
        EXPECT_NE(name.back(), ' ') << name;
        for (char c : name)
            EXPECT_TRUE(std::isupper(static_cast<unsigned char>(c)) || c == ' ' || c == '.')
                << name;
        EXPECT_TRUE(names.insert(name).second) << "repeated " << name;
        if (first.empty()) first = name;
        last = name;
    }
    // The run goes the whole route, which the scenario name spells from end to end.
    EXPECT_EQ(first.substr(0, 6), "ALDERI");
    EXPECT_EQ(last, "MONCASTA");
}

TEST(BuiltinTrainSource, SignalLinesAreAligned) {
    const std::vector<std::string> lines = fileLines(trainSourceTable());
    EXPECT_EQ(lineAt(lines, 41), "segnale,    1000,   2, 5, 6,  0, 0,    0,  0,0,0, 0");
    EXPECT_EQ(lineAt(lines, 43), "segnale,    2600,   2, 4, 0,  0, 0,    2,  2,1,0, 0");

    constexpr std::array<int, 11> kWidths = {8, 4, 2, 2, 3, 2, 5, 3, 1, 1, 2};
    const std::array<int, 11> signals[] = {
        {1000, 2, 5, 6, 0, 0, 0, 0, 0, 0, 0},  {1800, 2, 2, 4, 0, 1, 0, 0, 0, 0, 0},
        {2600, 2, 4, 0, 0, 0, 2, 2, 1, 0, 0},  {5650, 1, 5, 1, 0, 0, 0, 0, 0, 0, 0},
        {6700, 2, 3, 1, 0, 0, 0, 0, 0, 0, 0},  {10800, 1, 5, 1, 0, 0, 0, 0, 0, 0, 0},
        {12050, 2, 3, 1, 0, 0, 0, 0, 0, 0, 0}, {16600, 1, 5, 1, 0, 0, 0, 0, 0, 0, 0},
        {17800, 2, 3, 1, 0, 0, 0, 0, 0, 0, 0}, {19650, 1, 5, 1, 0, 0, 0, 0, 0, 0, 0},
        {20650, 2, 3, 1, 0, 0, 0, 0, 0, 0, 0}, {23350, 1, 5, 1, 0, 0, 0, 0, 0, 0, 0},
        {24550, 2, 3, 1, 0, 0, 0, 0, 0, 0, 0}, {26600, 1, 5, 1, 0, 0, 0, 0, 0, 0, 0},
        {27800, 2, 3, 1, 0, 0, 0, 0, 0, 0, 0}, {31350, 1, 5, 6, 0, 0, 0, 0, 0, 0, 0},
        {32550, 2, 2, 3, 0, 1, 0, 0, 0, 0, 0},
    };
    int number = 41;
    for (const std::array<int, 11>& values : signals) {
        EXPECT_EQ(lineAt(lines, number), alignedRecord("segnale", values, kWidths))
            << "line " << number;
        ++number;
    }
    EXPECT_EQ(number, 58);
}

}  // namespace
}  // namespace scenario
