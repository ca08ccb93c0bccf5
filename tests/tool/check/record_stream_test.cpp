// The checker and the compile passes examine the same first fields, at the same places, from the
// same texts: where the general section ends, which comments are passed over, and the file's last
// field.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "compiler/compile_fixture.h"
#include "tool/check/checker.h"

namespace scenario {
namespace {

using testing::CompileFixture;
using testing::crlfLines;

// Keeps the first fields each pass examines, by file.
class ExaminedByPasses : public CellWatcher {
  public:
    void cellTouched(std::int64_t) override {}
    void recordEnds(const Location&) override {}
    void errorAtCells(std::size_t, std::int64_t, std::int64_t) override {}
    void recordExamined(SourcePlace place, const Location& at) override {
        const bool line = place == SourcePlace::LinePreamble || place == SourcePlace::LineGeneral ||
                          place == SourcePlace::LineRoute;
        (line ? fields.line : fields.train).push_back({place, at.line, at.firstColumn});
    }
    ExaminedFields fields;
};

struct StreamCase {
    const char* what;
    std::string line;
    std::string train;
    // Fields the reading must examine there, worked out by hand, and lines of each file that it
    // never examines.
    std::vector<ExaminedField> expected;
    std::vector<std::int32_t> absentFromLine;
    std::vector<std::int32_t> absentFromTrain;
};

std::string describe(const std::vector<ExaminedField>& fields) {
    std::string text;
    for (const ExaminedField& f : fields)
        text += std::to_string(static_cast<int>(f.place)) + "@" + std::to_string(f.line) + ":" +
                std::to_string(f.column) + " ";
    return text;
}

bool holds(const std::vector<ExaminedField>& fields, const ExaminedField& wanted) {
    for (const ExaminedField& f : fields)
        if (f == wanted) return true;
    return false;
}

const std::string kTrain = crlfLines({"[generale]", "velocita, 0, 80", "aderenza, 0, 80"});

TEST(RecordStream, CheckerAndPassesExamineTheSameFields) {
    using P = SourcePlace;
    const StreamCase cases[] = {
        {"a field holding both brackets ends the general section",
         crlfLines({"[generale]", "lunghezza percorso, 5000", "sfondo [x], 1", "pendenza, 1000, 5",
                    "pendenza, 2000, 3"}),
         kTrain,
         {{P::LineGeneral, 3, 1}, {P::LineRoute, 4, 1}, {P::LineRoute, 5, 1}},
         {},
         {}},
        {"the third comment in a row among records is examined",
         crlfLines({"[generale]", "lunghezza percorso, 5000", "[curve]", "- a", "- b", "- c",
                    "pendenza, 1000, 5"}),
         crlfLines({"[generale]", "- a", "- b", "- c", "velocita, 0, 80", "aderenza, 0, 80"}),
         {{P::LineRoute, 6, 1},
          {P::LineRoute, 7, 1},
          {P::TrainRecords, 4, 1},
          {P::TrainRecords, 5, 1}},
         {4, 5},
         {2, 3}},
        {"ten comments in a row in the general section are passed over, and a comment with "
         "brackets after them does not end it",
         crlfLines({"[generale]", "- 1", "- 2", "- 3", "- 4", "- 5", "- 6", "- 7", "- 8", "- 9",
                    "- 10", "- [x]", "lunghezza percorso, 5000", "[curve]", "pendenza, 1000, 5"}),
         kTrain,
         {{P::LineGeneral, 12, 1},
          {P::LineGeneral, 13, 1},
          {P::LineGeneral, 14, 1},
          {P::LineRoute, 15, 1}},
         {2, 11},
         {}},
        {"a keyword at the file's last field is never examined",
         "[generale]\r\nlunghezza percorso, 5000\r\n[curve]\r\npendenza, 1000, 5\r\npendenza",
         "[generale]\r\nvelocita, 0, 80\r\naderenza",
         {{P::LineRoute, 4, 1}, {P::TrainRecords, 2, 1}},
         {5},
         {3}},
        {"a header naming a record is that record",
         crlfLines({"[generale]", "lunghezza percorso, 5000", "[pendenza], 1000, 5",
                    "[pendenza], 2000, 3"}),
         kTrain,
         {{P::LineGeneral, 3, 1}, {P::LineRoute, 4, 1}},
         {},
         {}},
        {"fields before [generale] are examined where they stand",
         crlfLines({"pendenza, 1, 2", "[generale]", "lunghezza percorso, 5000", "[curve]"}),
         crlfLines({"velocita", "[generale]", "velocita, 0, 80", "aderenza, 0, 80"}),
         {{P::LinePreamble, 1, 1}, {P::TrainPreamble, 1, 1}, {P::TrainRecords, 3, 1}},
         {},
         {}},
    };
    for (const StreamCase& c : cases) {
        SCOPED_TRACE(c.what);
        CompileFixture fixture;
        fixture.setLineSource(c.line);
        fixture.setTrainSource(c.train);
        ExaminedByPasses passes;
        fixture.compileSources(1, [&](ScenarioBuild& b) { b.cellWatcher = &passes; });
        ExaminedFields checker;
        checkSourceTexts({"line.txt", c.line}, {"train.txt", c.train}, &checker);

        EXPECT_EQ(passes.fields.line, checker.line)
            << describe(passes.fields.line) << "| " << describe(checker.line);
        EXPECT_EQ(passes.fields.train, checker.train)
            << describe(passes.fields.train) << "| " << describe(checker.train);
        for (const ExaminedField& f : c.expected) {
            const bool line =
                f.place == P::LinePreamble || f.place == P::LineGeneral || f.place == P::LineRoute;
            EXPECT_TRUE(holds(line ? checker.line : checker.train, f))
                << static_cast<int>(f.place) << "@" << f.line;
        }
        for (const std::int32_t n : c.absentFromLine)
            for (const ExaminedField& f : checker.line) EXPECT_NE(f.line, n) << "line file";
        for (const std::int32_t n : c.absentFromTrain)
            for (const ExaminedField& f : checker.train) EXPECT_NE(f.line, n) << "train file";
    }
}

}  // namespace
}  // namespace scenario
