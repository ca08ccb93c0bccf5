// The compile's diagnostics: each error names the source line of the record that raised it, the
// signal-spacing pass's errors come one per find, and the reader's quiet readings are warned of.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "compiler/track_model.h"
#include "tool/tool_runner.h"

namespace scenario {
namespace {

using namespace scenario::testing;

const char* const kEmptyTrain = "[generale]\r\n[fine]\r\n";

// Joins lines with CR LF after each.
std::string lines(std::initializer_list<const char*> all) {
    std::string text;
    for (const char* line : all) text.append(line).append("\r\n");
    return text;
}

// A route of 6000 m (cells 0 to 260) with these records after its general section.
std::string route(std::initializer_list<const char*> records) {
    return "[generale]\r\nlunghezza percorso, 6000\r\n[cartelli]\r\n" + lines(records) +
           "[fine]\r\n";
}

struct Compiled {
    ToolRun run;
    nlohmann::json summary;
};

Compiled compile(const std::string& line, const std::string& train) {
    TempDir dir;
    writeFile(dir.path / "line.txt", line);
    writeFile(dir.path / "train.txt", train);
    Compiled c;
    c.run = runTool(dir.path,
                    {"compile", "line.txt", "train.txt", "--name", "S", "--train", "1", "--json"});
    c.summary = nlohmann::json::parse(c.run.out, nullptr, false);
    return c;
}

TEST(Diagnostics, EachPassNamesTheLineOfTheRecordThatRaisedTheError) {
    struct Case {
        const char* what;
        std::string line;
        std::string train;
        const char* expected;
    } cases[] = {
        {"line pass, general section",
         lines({"[generale]", "lunghezza percorso, 6000", "ripetizione segnali 4 codici, 25, 0",
                "[fine]"}),
         kEmptyTrain,
         "line.txt:3: error 3: first signal-repetition position not a multiple of 50\n"},
        // The board takes cell round(450 / 50 + 1) = 10, where the sign then goes.
        {"line pass, route records",
         route({"indicatori_vmax, 450, 65, 70, 75, 0, , , , 0",
                "cartello_indicatore, 450, (MONTE)( 10 m. )"}),
         kEmptyTrain, "line.txt:5: error 6: indicator sign on a cell already taken (at 450 m)\n"},
        // Checked once the train source file is read: no record raised it.
        {"end of the train pass",
         lines({"[generale]", "lunghezza percorso, 6000", "progressiva chilometrica due, 25, 0, 0",
                "[fine]"}),
         kEmptyTrain, "error 2: kilometre post position or reference value not a multiple of 50\n"},
        {"train pass", route({}),
         lines({"[generale]", "segnale, 2600, 2, 4, 0, 0, 0, 2, 2,1,0, 0",
                "segnale, 2600, 2, 4, 0, 0, 0, 2, 2,1,0, 0", "[fine]"}),
         "train.txt:3: error 16: signal on a cell already taken (at 2600 m)\n"},
        {"error trap", route({}),
         lines({"[generale]", "numero vetture, 3", "sabbia, 40000", "[fine]"}),
         "train.txt:3: error 25: reading stopped by a run-time failure: 40000 is out of range "
         "for Integer\n"},
    };
    for (const Case& c : cases) {
        const Compiled result = compile(c.line, c.train);
        EXPECT_EQ(result.run.status, 1) << c.what;
        EXPECT_EQ(result.run.err, c.expected) << c.what;
        ASSERT_FALSE(result.summary.is_discarded()) << c.what << ": " << result.run.out;
        EXPECT_EQ(result.summary["errors"].size(), 1u) << c.what;
    }
}

TEST(Diagnostics, EverySpacingErrorIsReportedWithItsPositionOnly) {
    // Speed-cut points fill the near window (cells 16 to 14, and 56 to 54) before each of two
    // slow orders starting in cells round(1000 / 50 + 1) = 21 and 61.
    const std::string train = lines({
        "[generale]",
        "abbattimento, 700, 30",
        "abbattimento, 750, 30",
        "abbattimento, 800, 30",
        "abbattimento, 2700, 30",
        "abbattimento, 2750, 30",
        "abbattimento, 2800, 30",
        "rallentamento, 1000, 60, 500, 0, 0, 0",
        "rallentamento, 3000, 60, 500, 0, 0, 0",
        "[fine]",
    });
    const Compiled result = compile(route({}), train);
    EXPECT_EQ(result.run.status, 1);
    EXPECT_EQ(result.run.err,
              "error 12: no free cell in a window before a slow-order start (at 1050 m)\n"
              "error 12: no free cell in a window before a slow-order start (at 3050 m)\n");
    const nlohmann::json& s = result.summary;
    EXPECT_EQ(s["errorCode"], 12);
    EXPECT_EQ(s["errorPosition"], 3050);
    EXPECT_EQ(s["errorFile"], "");
    EXPECT_EQ(s["errorLine"], 0);
    ASSERT_EQ(s["errors"].size(), 2u);
    EXPECT_EQ(s["errors"][0]["position"], 1050);
    EXPECT_EQ(s["errors"][0]["line"], 0);
    EXPECT_EQ(s["errors"][1]["position"], 3050);
}

TEST(Diagnostics, JsonNamesTheFileAndLineOfTheError) {
    const Compiled result =
        compile(route({}), lines({"[generale]", "segnale, 2600, 2, 4, 0, 0, 0, 2, 2,1,0, 0",
                                  "segnale, 2600, 2, 4, 0, 0, 0, 2, 2,1,0, 0", "[fine]"}));
    const nlohmann::json& s = result.summary;
    EXPECT_EQ(s["errorCode"], 16);
    EXPECT_EQ(s["errorFile"], "train.txt");
    EXPECT_EQ(s["errorLine"], 3);
    const nlohmann::json expected = {
        {"code", 16},       {"meaning", "signal on a cell already taken"},
        {"position", 2600}, {"file", "train.txt"},
        {"line", 3},        {"detail", ""}};
    EXPECT_EQ(s["errors"], nlohmann::json::array({expected}));
}

TEST(Diagnostics, QuietReadingsAreWarnedOfInLineOrder) {
    const std::string line = lines({
        "- titolo",
        "pendenza, 100, 3",
        "[generale]",
        "lunghezza percorso, 6000, 7",
        "montagna, 3000, 3350, 12",
        "Sfondo uno, 1",
        "[curve]",
        "sfondo due, 1",
        "pendenza, 250, abc",
        "stazione, 1000, 4",
        "[fine]",
    });
    const std::string train = lines({
        "[generale]",
        "numero vetture, 3, 4",
        "sabbia, abc",
        "pendenza, 250, 3",
        "[fine]",
    });
    const Compiled result = compile(line, train);
    EXPECT_EQ(result.run.status, 0);
    EXPECT_EQ(
        result.run.err,
        "line.txt:2: warning: \"pendenza\" stands before [generale] and is passed over\n"
        "line.txt:4: warning: line holds more fields than its record takes: \"7\" is read as a "
        "first field\n"
        "line.txt:5: warning: \"montagna\" is a route record, passed over inside the [generale] "
        "section\n"
        "line.txt:6: warning: \"Sfondo uno\" is passed over: this record's keywords must be "
        "written in lower case\n"
        "line.txt:8: warning: \"sfondo due\" is a [generale] record, passed over after that "
        "section\n"
        "line.txt:9: warning: number text \"abc\" read as 0\n"
        "line.txt:10: warning: \"stazione\" is a train source record, passed over in this file\n"
        "train.txt:2: warning: line holds more fields than its record takes: \"4\" is read as a "
        "first field\n"
        "train.txt:3: warning: number text \"abc\" read as 0\n"
        "train.txt:4: warning: \"pendenza\" is a line source record, passed over in this file\n");
    const nlohmann::json& warnings = result.summary["warnings"];
    ASSERT_EQ(warnings.size(), 10u);
    EXPECT_EQ(warnings[0]["file"], "line.txt");
    EXPECT_EQ(warnings[0]["line"], 2);
}

}  // namespace
}  // namespace scenario
