// The check codes and the stamping of markers and codes.
#include <gtest/gtest.h>

#include <string>

#include "compiler/track_model.h"
#include "output/stamping.h"
#include "report/diagnostic.h"

namespace scenario {
namespace {

struct StampFixture {
    ScenarioBuild build;

    StampFixture(const std::string& train, const std::string& scenario) {
        build.trainNumber = train;
        build.scenarioName = scenario;
        build.stationTable[86].name = train;
        build.stationTable[85].name = scenario;
        build.trackCells.assign(141, TrackCell{});
        build.lastCellIndex = 140;
    }
};

TEST(CheckCodes, WorkedExamples) {
    const std::string z10(10, 'z'), z15(15, 'z'), z25(25, 'z');
    struct Case {
        std::string train, scenario;
        int og, st;
    } cases[] = {
        {"", "", 2583, 34355},  // "aabbccddeeffgghhiillmmnno"
        {"1", "AB", 2496, 33703},
        {"1", "ab", 2496, 33703},
        // 25 letters z (122) between the two names: the filler does not enter; 122 x 325.
        {z25, "", 3050, 39650},
        {z10, z15, 3050, 39650},
        // A capital A grave (192) folds to its small letter (224), counted as 0 to 255.
        {std::string(25, '\xC0'), "", 5600, 72800},
        {"", std::string(30, '\xE0'), 5600, 72800},
    };
    for (const Case& c : cases) {
        StampFixture f(c.train, c.scenario);
        EXPECT_EQ(codice_gara_og(f.build), c.og) << c.train << "/" << c.scenario;
        EXPECT_EQ(codice_gara_st(f.build), c.st) << c.train << "/" << c.scenario;
    }
}

TEST(CheckCodes, WorkingTextIsLeftInCurrentLine) {
    StampFixture f("1", "AB");
    codice_gara_st(f.build);
    EXPECT_EQ(f.build.currentLine, "1abaabbccddeeffgghhiillmmnnoo");
}

TEST(Stamping, MarkersAndCodesGoToCellOneAndEntry85) {
    StampFixture f("1", "AB");
    EXPECT_FALSE(stampScenario(f.build));
    EXPECT_EQ(f.build.trackCells[1].value1, 5121);
    EXPECT_EQ(f.build.trackCells[1].value2, 2496);
    EXPECT_EQ(f.build.stationTable[85].groupA1, 610);
    EXPECT_EQ(f.build.stationTable[85].departureTime, 33703);
}

TEST(Stamping, TakenSlotsStopTheBuildWithTheirNumberedMessage) {
    struct Case {
        const char* what;
        void (*occupy)(ScenarioBuild&);
        int number;
        const char* message;
    } cases[] = {
        {"cell 1 value1", [](ScenarioBuild& b) { b.trackCells[1].value1 = 42; }, 1250,
         " Errore n. 1250"},
        {"entry 85 groupA1", [](ScenarioBuild& b) { b.stationTable[85].groupA1 = -1; }, 1250,
         " Errore n. 1250"},
        {"cell 1 value2", [](ScenarioBuild& b) { b.trackCells[1].value2 = 7; }, 1251,
         " Errore n. 1251"},
        {"entry 85 departureTime", [](ScenarioBuild& b) { b.stationTable[85].departureTime = 1; },
         1251, " Errore n. 1251"},
    };
    for (const Case& c : cases) {
        StampFixture f("1", "AB");
        c.occupy(f.build);
        const std::optional<StampingFailure> stop = stampScenario(f.build);
        ASSERT_TRUE(stop) << c.what;
        EXPECT_EQ(stop->number, c.number) << c.what;
        EXPECT_EQ(stampingErrorText(std::to_string(stop->number)), c.message) << c.what;
    }
}

}  // namespace
}  // namespace scenario
