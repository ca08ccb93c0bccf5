// The timetable in the editor: the warning found with a check, its fix, and the hints and hover
// that follow the records.
#include "tool/editor/timing_hints.h"

#include <gtest/gtest.h>

#include "tool/source_fixture.h"

namespace scenario {
namespace {

using testing::builtinTexts;
using testing::MemoryDisk;
using testing::replaced;

const std::string kTrainPath = "/s/A_1-.txt";

struct Timed {
    std::vector<Diagnostic> warnings;  // the train file's
    std::optional<TimedStops> timed;
};

Timed checkTimed(const std::string& train, const EditorTiming& setting = {true, {}, 0}) {
    MemoryDisk disk;
    disk.put("/s/A_linea.txt", builtinTexts().line);
    SourceWorkspace workspace(disk);
    workspace.change(kTrainPath, train);
    TimingWatch watch(setting, "/s");
    Timed found;
    for (FileDiagnostics& file : workspace.check(kTrainPath, &watch))
        if (file.path == kTrainPath) found.warnings = std::move(file.diagnostics);
    found.timed = watch.timed;
    return found;
}

TEST(TimetableFix, SetsTheEarliestTimeAsTheRecordWritesItsTime) {
    // Borgo Vallina, reached 30 s after the 14:23:00 departure; 14:25:20 is the earliest.
    const struct {
        std::string written;
        std::string fixed;
    } cases[] = {
        {"14,24, 0", "14,25,20"},  // a blank before a single digit gives way
        {"14, 24, 00", "14, 25, 20"},   {"14 24 0", "14 25 20"},  // the only blank stays
        {"014,024,000", "014,025,020"}, {"14,24,  0", "14,25, 20"},
    };
    const std::string train = builtinTexts().train;
    for (const auto& c : cases) {
        const std::string edited = replaced(train, "14,26, 0, BORGO", c.written + ", BORGO");
        const Timed found = checkTimed(edited);
        ASSERT_EQ(found.warnings.size(), 1u) << c.written;
        ASSERT_TRUE(found.timed) << c.written;
        const std::optional<TextFix> fix = timetableFix(*found.timed, edited, found.warnings[0]);
        ASSERT_TRUE(fix) << c.written;
        EXPECT_EQ(fix->replacement, c.fixed);
        EXPECT_EQ(fix->spot.line, 25);
        EXPECT_EQ(edited.substr(edited.find(c.written + ", BORGO"), c.written.size()), c.written);
        EXPECT_EQ(fix->spot.last - fix->spot.first, static_cast<std::int32_t>(c.written.size()));
    }
}

TEST(TimetableFix, NoneForOtherWarningsOrARecordMovedSinceTheTiming) {
    const std::string train = replaced(builtinTexts().train, "14,26, 0, BORGO", "14,24, 0, BORGO");
    const Timed found = checkTimed(train);
    ASSERT_EQ(found.warnings.size(), 1u);
    Diagnostic other = found.warnings[0];
    other.name = "extra-fields";
    EXPECT_FALSE(timetableFix(*found.timed, train, other));
    // A line added above: line 25 is now Alderi S. Rocco's record.
    const std::string moved = "- added\r\n" + train;
    EXPECT_FALSE(timetableFix(*found.timed, moved, found.warnings[0]));
    EXPECT_TRUE(timingHints(*found.timed, moved, 0, 100).empty());
    EXPECT_FALSE(timingHover(*found.timed, moved, 25, 62));
}

TEST(TimingHints, ShowEachArrivalsMinimumAndSlackOrWhyThereIsNoRun) {
    const std::string train = builtinTexts().train;
    const Timed found = checkTimed(train);
    ASSERT_TRUE(found.timed);
    EXPECT_TRUE(found.warnings.empty());
    const std::vector<InlayHint> hints = timingHints(*found.timed, train, 0, 100);
    ASSERT_EQ(hints.size(), 12u);  // every stop but the first
    EXPECT_EQ(hints[0].label, "min 1:50 \xB7 slack +0:40");
    EXPECT_EQ(hints[0].spot.line, 25);
    EXPECT_EQ(timingHints(*found.timed, train, 26, 27).size(), 1u);

    // San Giustolo without a time; a slow order of 0 km/h before Acquavivola.
    const std::string stopped =
        replaced(replaced(train, "14,34, 0, SAN", " 0, 0, 0, SAN"), "[rallentamenti]\r\n",
                 "[rallentamenti]\r\nrallentamento, 8000, 0, 500, 0, 0, 0\r\n");
    const Timed broken = checkTimed(stopped);
    ASSERT_TRUE(broken.timed);
    const std::vector<InlayHint> notes = timingHints(*broken.timed, stopped, 28, 30);
    ASSERT_EQ(notes.size(), 3u);
    for (const InlayHint& hint : {notes[0], notes[1]}) {
        EXPECT_EQ(hint.label.substr(0, 4), "min ");
        EXPECT_EQ(hint.label.find("slack"), std::string::npos);
    }
    EXPECT_EQ(notes[2].label, "no run: a limit of 0 km/h stops the train at 8.000 km");
}

TEST(TimingHover, GivesTheSectionsOnAStationsTimeOnly) {
    const std::string train = builtinTexts().train;
    const Timed found = checkTimed(train);
    ASSERT_TRUE(found.timed);
    const std::optional<std::string> borgo = timingHover(*found.timed, train, 25, 65);
    ASSERT_TRUE(borgo);
    EXPECT_EQ(borgo->substr(0, borgo->find("\n\n**")),
              "**ALDERI CENTRALE to BORGO VALLINA**, 1.750 km\n\nscheduled 0:02:30, minimum "
              "0:01:50, slack +0:00:40 (+36.9 % of the minimum); earliest feasible time here "
              "14:25:20");
    EXPECT_FALSE(timingHover(*found.timed, train, 25, 10));  // the position
    const std::optional<std::string> passed = timingHover(*found.timed, train, 24, 66);
    ASSERT_TRUE(passed);
    EXPECT_EQ(passed->substr(0, 44), "**ALDERI S. ROCCO**, passed at 1.200 km: ear");
}

TEST(TimingWatch, TakesTheMarginAndLeavesTheTimingOutForARefusedStock) {
    const std::string train = replaced(builtinTexts().train, "14,26, 0, BORGO", "14,24, 0, BORGO");
    const Timed refused = checkTimed(train, {true, "/no/such/stock.json", 0});
    EXPECT_FALSE(refused.timed);
    EXPECT_TRUE(refused.warnings.empty());
    const Timed margin = checkTimed(builtinTexts().train, {true, {}, 10});
    ASSERT_EQ(margin.warnings.size(), 1u);
    EXPECT_EQ(margin.warnings[0].location.line, 32);
}

}  // namespace
}  // namespace scenario
