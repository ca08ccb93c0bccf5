// The signal-spacing pass: points before signals, in windows, in the walk and after the end.
#include "compiler/signal_spacing.h"

#include <gtest/gtest.h>

#include <vector>

#include "compiler/track_model.h"

namespace scenario {
namespace {

struct SpacingFixture {
    ScenarioBuild build;

    explicit SpacingFixture(int lastCell = 200) {
        build.trackCells.assign(static_cast<std::size_t>(lastCell) + 1, TrackCell{});
        build.lastCellIndex = lastCell;
    }
    void put(int index, std::uint8_t kind, std::int16_t value1 = 0) {
        build.trackCells.at(static_cast<std::size_t>(index)).kind = kind;
        build.trackCells.at(static_cast<std::size_t>(index)).value1 = value1;
    }
    // A slow order as the train pass leaves it: start board with its speed, end board.
    void slowOrder(int start, int end, std::int16_t speed) {
        put(start, kSlowOrderStart, speed);
        put(end, kSlowOrderEnd, speed);
    }
    const TrackCell& at(int index) const {
        return build.trackCells.at(static_cast<std::size_t>(index));
    }
    // Cells of kind 12 with value1 180, which only the pass places in these tests.
    std::vector<int> placedPoints() const {
        std::vector<int> points;
        for (std::size_t i = 0; i < build.trackCells.size(); ++i)
            if (build.trackCells[i].kind == kSpeedCut && build.trackCells[i].value1 == 180)
                points.push_back(static_cast<int>(i));
        return points;
    }
};

using Points = std::vector<int>;

TEST(SignalSpacing, RouteWithoutSlowOrdersIsLeftAsItWas) {
    SpacingFixture f;
    f.put(30, kSignal, 42);
    f.put(31, kSpeedCut, 60);
    f.put(60, kStation, 1);
    f.put(90, kTunnelMarker);
    const std::vector<TrackCell> before = f.build.trackCells;
    signalSpacingPass(f.build);
    ASSERT_EQ(f.build.trackCells.size(), before.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(f.build.trackCells[i].kind, before[i].kind) << "cell " << i;
        EXPECT_EQ(f.build.trackCells[i].value1, before[i].value1) << "cell " << i;
    }
    EXPECT_EQ(f.build.errorCode, 0);
}

TEST(SignalSpacing, EverySignalUpToTwentyCellsBeforeAWarningBoardGetsAPoint) {
    SpacingFixture f;
    f.put(40, kSlowOrderWarning, 60);
    f.put(30, kSignal, 42);
    f.put(25, kSignal, 42);
    signalSpacingPass(f.build);
    EXPECT_EQ(f.placedPoints(), (Points{24, 29}));
    EXPECT_EQ(f.build.errorCode, 0);
}

TEST(SignalSpacing, WarningBoardLookBackEndsTwentyCellsBackAndAboveCellTwo) {
    struct Case {
        int board, signal;
        Points points;
    } cases[] = {
        {30, 10, {9}},  // 20 cells back
        {31, 10, {}},   // 21 cells back
        {8, 3, {2}},    // lowest signal looked at
        {8, 2, {}},
    };
    for (const Case& c : cases) {
        SpacingFixture f;
        f.put(c.board, kSlowOrderWarning, 60);
        f.put(c.signal, kSignal, 42);
        signalSpacingPass(f.build);
        EXPECT_EQ(f.placedPoints(), c.points) << "board " << c.board << " signal " << c.signal;
    }
}

TEST(SignalSpacing, WarningBoardSignalUsesTheSecondCellOrLowersAnExistingPoint) {
    // Cell before the signal free: the point goes there.
    // Cell before taken, second free: the point goes to the second.
    {
        SpacingFixture f;
        f.put(40, kSlowOrderWarning, 60);
        f.put(30, kSignal, 42);
        f.put(29, kSpeedBoard);
        signalSpacingPass(f.build);
        EXPECT_EQ(f.placedPoints(), (Points{28}));
    }
    // Both cells already points: the nearer keeps 60, since 180 is not smaller; 200 stays too.
    {
        SpacingFixture f;
        f.put(40, kSlowOrderWarning, 60);
        f.put(30, kSignal, 42);
        f.put(29, kSpeedCut, 60);
        f.put(28, kSpeedCut, 200);
        signalSpacingPass(f.build);
        EXPECT_EQ(f.at(29).value1, 60);
        EXPECT_EQ(f.at(28).value1, 200);
        EXPECT_EQ(f.placedPoints(), Points{});
        EXPECT_EQ(f.build.errorCode, 0);
    }
    // The cell before holds another signal: the second cell's 200 is lowered to 180, and that
    // other signal, handled next, gets its point one cell further back.
    {
        SpacingFixture f;
        f.put(40, kSlowOrderWarning, 60);
        f.put(30, kSignal, 42);
        f.put(29, kSignal, 42);
        f.put(28, kSpeedCut, 200);
        signalSpacingPass(f.build);
        EXPECT_EQ(f.at(28).kind, kSpeedCut);
        EXPECT_EQ(f.at(28).value1, 180);
        EXPECT_EQ(f.placedPoints(), (Points{27, 28}));
    }
}

TEST(SignalSpacing, WarningBoardSignalWithNoRoomRecordsError11) {
    SpacingFixture f;
    f.put(40, kSlowOrderWarning, 60);
    f.put(30, kSignal, 42);
    f.put(29, kSpeedBoard);
    f.put(28, kStation, 1);
    signalSpacingPass(f.build);
    EXPECT_EQ(f.build.errorCode, 11);
    EXPECT_EQ(f.build.errorPosition, 1500);
    EXPECT_EQ(f.placedPoints(), Points{});
}

TEST(SignalSpacing, SlowOrderGetsWindowPointsAndAPointEvery400Metres) {
    SpacingFixture f;
    f.slowOrder(100, 130, 60);
    signalSpacingPass(f.build);
    EXPECT_EQ(f.placedPoints(), (Points{82, 89, 95, 108, 116, 124}));
    EXPECT_EQ(f.build.errorCode, 0);
    EXPECT_EQ(f.at(100).kind, kSlowOrderStart);
    EXPECT_EQ(f.at(130).kind, kSlowOrderEnd);
}

TEST(SignalSpacing, WindowsNeedTheStartAboveCellsSevenThirteenAndTwenty) {
    struct Case {
        int start;
        Points points;
    } cases[] = {
        {7, {}}, {8, {3}}, {13, {8}}, {14, {3, 9}}, {20, {9, 15}}, {21, {3, 10, 16}},
    };
    for (const Case& c : cases) {
        SpacingFixture f;
        f.put(c.start, kSlowOrderStart, 120);  // no walk, and no end board to search from
        signalSpacingPass(f.build);
        EXPECT_EQ(f.placedPoints(), c.points) << "start " << c.start;
    }
}

TEST(SignalSpacing, WindowTakesItsFirstFreeCellOrRecordsError12) {
    SpacingFixture f;
    f.slowOrder(100, 130, 120);
    f.put(95, kSignal, 42);
    f.put(94, kSpeedBoard);                            // near window: 93 is the first free cell
    for (int c : {89, 88, 87}) f.put(c, kSpeedBoard);  // middle window: none free
    signalSpacingPass(f.build);
    EXPECT_EQ(f.placedPoints(), (Points{82, 93}));
    EXPECT_EQ(f.build.errorCode, 12);
    EXPECT_EQ(f.build.errorPosition, 5000);
}

TEST(SignalSpacing, WalkMovesAroundTakenCellsAndCountsFromThePointUsed) {
    struct Case {
        const char* what;
        std::vector<int> taken;
        Points walkPoints;
    } cases[] = {
        {"eighth cell taken: the one before it", {108}, {107, 115, 123}},
        {"eighth and the one before taken: the one after", {107, 108}, {109, 117, 125}},
    };
    for (const Case& c : cases) {
        SpacingFixture f;
        f.slowOrder(100, 130, 60);
        for (int t : c.taken) f.put(t, kSpeedBoard);
        signalSpacingPass(f.build);
        Points expected{82, 89, 95};
        expected.insert(expected.end(), c.walkPoints.begin(), c.walkPoints.end());
        EXPECT_EQ(f.placedPoints(), expected) << c.what;
        EXPECT_EQ(f.build.errorCode, 0) << c.what;
    }
}

TEST(SignalSpacing, BlockedWalkRecordsError13AndPlacesNoLaterWalkPoint) {
    SpacingFixture f;
    f.slowOrder(100, 130, 60);
    for (int t : {107, 108, 109}) f.put(t, kSpeedBoard);
    signalSpacingPass(f.build);
    EXPECT_EQ(f.placedPoints(), (Points{82, 89, 95}));
    EXPECT_EQ(f.build.errorCode, 13);
    EXPECT_EQ(f.build.errorPosition, 5400);
}

TEST(SignalSpacing, SpeedBelow110Walks110AndAboveDoNot) {
    for (std::int16_t speed : {109, 110, -5}) {
        SpacingFixture f;
        f.slowOrder(100, 130, speed);
        signalSpacingPass(f.build);
        const Points expected =
            speed < 110 ? Points{82, 89, 95, 108, 116, 124} : Points{82, 89, 95};
        EXPECT_EQ(f.placedPoints(), expected) << "speed " << speed;
    }
}

TEST(SignalSpacing, FirstSignalWithinTwelveCellsOfTheEndBoardGetsAPointBeforeIt) {
    struct Case {
        std::int16_t speed;  // 60 walks to the end board; 120 searches from it without a walk
        int signal;
        Points afterEnd;
    } cases[] = {
        {60, 135, {134}},  {60, 142, {141}},  {60, 143, {}},
        {120, 135, {134}}, {120, 142, {141}}, {120, 143, {}},
    };
    for (const Case& c : cases) {
        SpacingFixture f;
        f.slowOrder(100, 130, c.speed);
        f.put(c.signal, kSignal, 42);
        signalSpacingPass(f.build);
        Points expected = c.speed < 110 ? Points{82, 89, 95, 108, 116, 124} : Points{82, 89, 95};
        expected.insert(expected.end(), c.afterEnd.begin(), c.afterEnd.end());
        EXPECT_EQ(f.placedPoints(), expected) << "speed " << c.speed << " signal " << c.signal;
    }
}

TEST(SignalSpacing, SignalAfterTheEndWithNoRoomRecordsError13AtTheEndBoard) {
    for (std::int16_t speed : {60, 120}) {
        SpacingFixture f;
        f.slowOrder(100, 130, speed);
        f.put(133, kSignal, 42);
        f.put(132, kSpeedBoard);
        f.put(131, kSpeedBoard);
        signalSpacingPass(f.build);
        EXPECT_EQ(f.build.errorCode, 13) << "speed " << speed;
        EXPECT_EQ(f.build.errorPosition, 6500) << "speed " << speed;
    }
}

TEST(SignalSpacing, WalkWithoutEndBoardStopsAtTheLastCell) {
    // Cells 0 to 26: the walk's second point would fall on 26, 25 or 27; 27 lies beyond the
    // table and counts as taken.
    SpacingFixture f(26);
    f.put(10, kSlowOrderStart, 60);
    f.put(25, kSpeedBoard);
    f.put(26, kSpeedBoard);
    signalSpacingPass(f.build);
    EXPECT_EQ(f.placedPoints(), (Points{5, 18}));
    EXPECT_EQ(f.build.errorCode, 13);
    EXPECT_EQ(f.build.errorPosition, 1300);
    EXPECT_EQ(f.build.trackCells.size(), 27u);
}

TEST(SignalSpacing, LastTwoCellsAreNeverExaminedAsBoards) {
    SpacingFixture f(40);
    f.put(39, kSlowOrderWarning, 60);
    f.put(30, kSignal, 42);
    f.put(40, kSlowOrderStart, 60);
    signalSpacingPass(f.build);
    EXPECT_EQ(f.placedPoints(), Points{});
}

}  // namespace
}  // namespace scenario
