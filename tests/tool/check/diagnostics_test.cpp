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
    c.run = runTool(dir.path, {"compile", "line.txt", "train.txt", "--name", "S", "--train", "1",
                               "--json", "-Wno-no-records"});
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
         "line.txt:3:31: error 3: first signal-repetition position not a multiple of 50\n"},
        // The board takes cell round(450 / 50 + 1) = 10, where the sign then goes.
        {"line pass, route records",
         route({"indicatori_vmax, 450, 65, 70, 75, 0, , , , 0",
                "cartello_indicatore, 450, (MONTE)( 10 m. )"}),
         kEmptyTrain,
         "line.txt:5:22: error 6: indicator sign on a cell already taken (at 450 m)\n"
         "line.txt:4:18: note: this maximum-speed boards record already holds cell 10\n"},
        // Checked once the train source file is read, at the post whose value is off the cells.
        {"end of the train pass",
         lines({"[generale]", "lunghezza percorso, 6000", "progressiva chilometrica due, 25, 0, 0",
                "[fine]"}),
         kEmptyTrain,
         "line.txt:3:31: error 2: kilometre post position or reference value not a multiple of "
         "50\n"},
        // The same post's keyword after the general section is no record, though it is last.
        {"end of the train pass, a post's keyword among the route records",
         lines({"[generale]", "lunghezza percorso, 6000", "progressiva chilometrica due, 25, 0, 0",
                "[curve]", "progressiva chilometrica due, 75, 0, 0", "[fine]"}),
         kEmptyTrain,
         "line.txt:3:31: error 2: kilometre post position or reference value not a multiple of "
         "50\n"
         "line.txt:5:1: warning: \"progressiva chilometrica due\" is a [generale] record, passed "
         "over after that section [misplaced-keyword]\n"},
        {"train pass", route({}),
         lines({"[generale]", "segnale, 2600, 2, 4, 0, 0, 0, 2, 2,1,0, 0",
                "segnale, 2600, 2, 4, 0, 0, 0, 2, 2,1,0, 0", "[fine]"}),
         "train.txt:3:10: error 16: signal on a cell already taken (at 2600 m)\n"
         "train.txt:2:10: note: this signal record already holds cell 53\n"},
        {"curve class", route({"curvad9, 1000, 100"}), kEmptyTrain,
         "line.txt:4:1: error 103: curve without class digit, or plan beyond 1000000 m: a "
         "curve's first field needs a class digit 1 to 6 after its side letter (curvad5, "
         "curvas1), and the plan ends at 1000000 m\n"},
        {"error trap", route({}),
         lines({"[generale]", "numero vetture, 3", "sabbia, 40000", "[fine]"}),
         "train.txt:3:9: error 25: reading stopped: 40000 does not fit its field, which holds "
         "-32768 to 32767\n"},
    };
    for (const Case& c : cases) {
        const Compiled result = compile(c.line, c.train);
        EXPECT_EQ(result.run.status, 1) << c.what;
        EXPECT_EQ(result.run.err, c.expected) << c.what;
        ASSERT_FALSE(result.summary.is_discarded()) << c.what << ": " << result.run.out;
        EXPECT_EQ(result.summary["errors"].size(), 1u) << c.what;
    }
}

// Each error stands at the value that caused it; one about a taken cell names the record of the
// object already there, and a signal-spacing error the records it is about.
TEST(Diagnostics, ErrorsPointAtTheirFieldAndAtTheRecordsInvolved) {
    const std::string signalAt2600 = "segnale, 2600, 2, 4, 0, 0, 0, 2, 2,1,0, 0";
    struct Case {
        const char* what;
        std::string line;
        std::string train;
        int status;
        const char* expected;
    } cases[] = {
        {"reference of a kilometre post",
         lines({"[generale]", "lunghezza percorso, 6000",
                "progressiva chilometrica due, 100, 9949, 0", "[fine]"}),
         kEmptyTrain, 1,
         "line.txt:3:36: error 2: kilometre post position or reference value not a multiple of "
         "50\n"},
        // Cell round(450 / 50 + 1) = 10 holds the sign.
        {"boards on a sign",
         route({"cartello_indicatore, 450, (MONTE)( 10 m. )",
                "indicatori_vmax, 450, 65, 70, 75, 0, , , , 0"}),
         kEmptyTrain, 1,
         "line.txt:5:18: error 21: maximum-speed boards on a cell already taken (at 450 m)\n"
         "line.txt:4:22: note: this indicator sign record already holds cell 10\n"},
        // round(2650 / 50) = 53 = round(2600 / 50 + 1).
        {"speed cut on a signal", route({}),
         lines({"[generale]", signalAt2600.c_str(), "abbattimento, 2650, 30", "[fine]"}), 1,
         "train.txt:3:15: error 7: speed-cut point on a cell already taken (at 2650 m)\n"
         "train.txt:2:10: note: this signal record already holds cell 53\n"},
        // The warning board goes 1200 m before the start: round(1500 / 50 + 1) = 31, where the
        // line file's boards stand.
        {"warning board on the line file's boards",
         route({"indicatori_vmax, 1500, 65, 70, 75, 0, , , , 0"}),
         lines({"[generale]", "rallentamento, 2700, 60, 500, 0, 0, 0", "[fine]"}), 1,
         "train.txt:2:16: error 17: slow-order warning board on a cell already taken (at 2700 "
         "m)\n"
         "line.txt:4:18: note: this maximum-speed boards record already holds cell 31\n"},
        // The end board goes to round((3000 + 450) / 50 + 1) = 70: the length puts it there.
        {"end board on a signal", route({}),
         lines({"[generale]", "segnale, 3450, 2, 4, 0, 0, 0, 2, 2,1,0, 0",
                "rallentamento, 3000, 60, 450, 0, 0, 0", "[fine]"}),
         1,
         "train.txt:3:26: error 19: slow-order end board on a cell already taken (at 3000 m)\n"
         "train.txt:2:10: note: this signal record already holds cell 70\n"},
        // The board stands in cell 37; the signal in cell 30 has signals in 29 and 28 before it.
        {"signal ahead of a warning board", route({}),
         lines({"[generale]", "segnale, 1350, 2, 4, 0, 0, 0, 2, 2,1,0, 0",
                "segnale, 1400, 2, 4, 0, 0, 0, 2, 2,1,0, 0",
                "segnale, 1450, 2, 4, 0, 0, 0, 2, 2,1,0, 0",
                "rallentamento, 3000, 60, 500, 0, 0, 0", "[fine]"}),
         1,
         "train.txt:4:10: error 11: no free cell before a signal ahead of a slow-order warning "
         "board (at 1500 m)\n"
         "train.txt:5:16: note: the slow order whose warning board the signal stands before\n"},
        // The first point inside the slow order is due in cell 69, between signals in 68 and 70.
        {"point due inside a slow order", route({}),
         lines({"[generale]", "segnale, 3350, 2, 4, 0, 0, 0, 2, 2,1,0, 0",
                "segnale, 3400, 2, 4, 0, 0, 0, 2, 2,1,0, 0",
                "segnale, 3450, 2, 4, 0, 0, 0, 2, 2,1,0, 0",
                "rallentamento, 3000, 60, 1000, 0, 0, 0", "[fine]"}),
         1,
         "train.txt:5:16: error 13: no free cell for a speed-cut point in or after a slow order "
         "(at 3450 m)\n"},
        // A signal at 0 m stands in cell 1, where the stamps go; the check says so first.
        {"signal where the stamps go", route({}),
         lines({"[generale]", "segnale, 0, 2, 4, 0, 0, 0, 2, 2,1,0, 0", "[fine]"}), 3,
         "train.txt:2:10: warning: signal posizione 0 m puts its object in cell 1, where the "
         "build stamps its check codes: the build stops (error 1250 or 1251) or the stamp "
         "overwrites it [implausible-value]\n"
         "train.txt:2:10: error 1250: marker slot already taken\n Errore n. 1250\n"},
        // A mark leaves both stamp fields 0: the stamps go over it without an error.
        {"speed-cut mark where the stamps go", route({}),
         lines({"[generale]", "abbattimento, 50, 0", "[fine]"}), 0,
         "train.txt:2:15: warning: speed-cut point position 50 m puts its object in cell 1, "
         "where the build stamps its check codes: the build stops (error 1250 or 1251) or the "
         "stamp overwrites it [implausible-value]\n"},
    };
    for (const Case& c : cases) {
        const Compiled result = compile(c.line, c.train);
        EXPECT_EQ(result.run.status, c.status) << c.what;
        EXPECT_EQ(result.run.err, c.expected) << c.what;
    }
}

TEST(Diagnostics, ErrorsAfterTheFirstAreListedAndMarked) {
    const Compiled result =
        compile(route({}),
                lines({"[generale]", "stazione, 1010, 27, 200, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, ALFA",
                       "segnale, 2600, 2, 4, 0, 0, 0, 2, 2,1,0, 0",
                       "segnale, 2600, 2, 4, 0, 0, 0, 2, 2,1,0, 0",
                       "stazione, 3000, 27, 200, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, BETA",
                       "stazione, 3100, 27, 200, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, GAMMA",
                       "velocita, 0, 100", "[fine]"}));
    EXPECT_EQ(result.run.status, 1);
    EXPECT_EQ(result.run.err,
              "train.txt:2:11: error 8: station position not a multiple of 50 (at 1010 m)\n"
              "train.txt:4:10: error 16: signal on a cell already taken (at 2600 m) (found after "
              "the first error)\n"
              "train.txt:3:10: note: this signal record already holds cell 53\n"
              "train.txt:6:11: error 22: station less than 350 m after the previous one (at 3100 "
              "m) (found after the first error)\n");
    const nlohmann::json& s = result.summary;
    EXPECT_EQ(s["errorCode"], 8);
    EXPECT_EQ(s["errorLine"], 2);
    ASSERT_EQ(s["errors"].size(), 3u);
    EXPECT_EQ(s["errors"][0]["afterFirst"], false);
    EXPECT_EQ(s["errors"][2]["afterFirst"], true);
}

TEST(Diagnostics, WarningsCanBeTurnedOffOrMadeErrors) {
    TempDir dir;
    writeFile(dir.path / "line.txt", route({}));
    writeFile(dir.path / "train.txt", lines({"[generale]", "stazone, 1750", "[fine]"}));
    const std::vector<std::string> compile = {"compile", "line.txt", "train.txt", "--name",
                                              "S",       "--train",  "1"};
    const auto with = [&](std::initializer_list<const char*> more) {
        std::vector<std::string> arguments = compile;
        arguments.insert(arguments.end(), more.begin(), more.end());
        return runTool(dir.path, arguments);
    };
    const ToolRun plain = with({});
    EXPECT_EQ(plain.status, 0);
    EXPECT_EQ(plain.err,
              "train.txt:1: warning: the train file has no station [no-records]\n"
              "train.txt:2:1: warning: \"stazone\" is no record of the train file: the line is "
              "passed over; did you mean \"stazione\"? [unknown-record]\n");
    EXPECT_EQ(fileCount(dir.path), 5u);
    fs::remove(dir.path / "S_1.sim");

    const ToolRun quiet = with({"-Wno-unknown-record", "-Wno-no-records", "-Werror"});
    EXPECT_EQ(quiet.status, 0);
    EXPECT_EQ(quiet.err, "");
    EXPECT_TRUE(fs::exists(dir.path / "S_1.sim"));
    fs::remove(dir.path / "S_1.sim");

    const ToolRun strict = with({"-Werror", "-Wno-no-records"});
    EXPECT_EQ(strict.status, 1);
    EXPECT_FALSE(fs::exists(dir.path / "S_1.sim"));

    const ToolRun bogus = with({"-Wno-bogus"});
    EXPECT_EQ(bogus.status, 2);
    EXPECT_NE(bogus.err.find("-Wno-bogus"), std::string::npos) << bogus.err;
}

TEST(Diagnostics, Utf8InputIsConvertedOnRequestAndWhatTheCodePageLacksRefused) {
    TempDir dir;
    writeFile(dir.path / "line.txt", route({}));
    const auto train = [](const char* name) {
        return "[generale]\r\nstazione, 0, 4, 500, 0,0,0, 1,1,0, 4,1,1, 1, 8,15,0, " +
               std::string(name) + "\r\n[fine]\r\n";
    };
    writeFile(dir.path / "train.txt", train("LUC\xC3\x8C"
                                            "A"));
    const std::vector<std::string> compile = {"compile", "line.txt", "train.txt", "--name",
                                              "S",       "--train",  "1"};
    const ToolRun asIs = runTool(dir.path, compile);
    EXPECT_NE(asIs.err.find("[encoding]"), std::string::npos) << asIs.err;
    EXPECT_NE(readFile(dir.path / "S_1.sim")
                  .find("LUC\xC3\x8C"
                        "A"),
              std::string::npos);

    std::vector<std::string> converting = compile;
    converting.insert(converting.end(), {"--input-encoding", "utf-8"});
    const ToolRun converted = runTool(dir.path, converting);
    EXPECT_EQ(converted.status, 0);
    EXPECT_EQ(converted.err, "");
    EXPECT_NE(readFile(dir.path / "S_1.sim")
                  .find("LUC\xCC"
                        "A"),
              std::string::npos);

    // Both refusals name the line, and show the text as the author typed it.
    writeFile(dir.path / "train.txt", train("GY\xC5\x90R"));
    const ToolRun refused = runTool(dir.path, converting);
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.err,
              "scenario compile: train.txt:2: holds \"\xC5\x90\", which Windows-1252 cannot "
              "hold\n");

    writeFile(dir.path / "train.txt", train("LUC\xCC"
                                            "A"));
    const ToolRun notUtf8 = runTool(dir.path, converting);
    EXPECT_EQ(notUtf8.status, 2);
    EXPECT_EQ(notUtf8.err,
              "scenario compile: train.txt:2: the file is not UTF-8: byte 0xCC (\"\xC3\x8C\" in "
              "Windows-1252) cannot stand there; a Windows-1252 file needs no --input-encoding\n");
}

TEST(Diagnostics, SwappedFilesAndUnreadableFilesSayWhy) {
    TempDir dir;
    writeFile(dir.path / "line.txt", route({"pendenza, 1000, 5"}));
    writeFile(dir.path / "train.txt",
              lines({"[generale]", "velocita, 0, 80",
                     "stazione, 0, 4, 500, 0,0,0, 1,1,0, 4,1,1, 1, 8,15,0, ALFA", "[fine]"}));
    const ToolRun swapped = runTool(dir.path, {"check", "train.txt", "line.txt"});
    EXPECT_EQ(swapped.status, 4);
    EXPECT_NE(swapped.err.find("[swapped-files]"), std::string::npos) << swapped.err;
    EXPECT_NE(swapped.err.find("(the files look swapped)"), std::string::npos) << swapped.err;

    const ToolRun missing = runTool(dir.path, {"check", "line.txt", "nothing.txt"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("cannot read nothing.txt: No such file or directory"),
              std::string::npos)
        << missing.err;
    const ToolRun directory = runTool(dir.path, {"check", "line.txt", "."});
    EXPECT_NE(directory.err.find("Is a directory"), std::string::npos) << directory.err;
}

TEST(Diagnostics, EverySpacingErrorIsReportedAtItsSlowOrder) {
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
              "train.txt:8:16: error 12: no free cell in a window before a slow-order start (at "
              "1050 m)\n"
              "train.txt:9:16: error 12: no free cell in a window before a slow-order start (at "
              "3050 m) (found after the first error)\n");
    const nlohmann::json& s = result.summary;
    EXPECT_EQ(s["errorCode"], 12);
    EXPECT_EQ(s["errorPosition"], 3050);
    EXPECT_EQ(s["errorFile"], "train.txt");
    EXPECT_EQ(s["errorLine"], 9);
    ASSERT_EQ(s["errors"].size(), 2u);
    EXPECT_EQ(s["errors"][0]["position"], 1050);
    EXPECT_EQ(s["errors"][0]["line"], 8);
    EXPECT_EQ(s["errors"][1]["position"], 3050);
}

TEST(Diagnostics, JsonNamesTheFieldOfTheErrorAndTheRecordInTheTakenCell) {
    const Compiled result =
        compile(route({}), lines({"[generale]", "segnale, 2600, 2, 4, 0, 0, 0, 2, 2,1,0, 0",
                                  "segnale, 2600, 2, 4, 0, 0, 0, 2, 2,1,0, 0", "[fine]"}));
    const nlohmann::json& s = result.summary;
    EXPECT_EQ(s["errorCode"], 16);
    EXPECT_EQ(s["errorFile"], "train.txt");
    EXPECT_EQ(s["errorLine"], 3);
    // The shape the page shares: the kind, the line check prints, and the message an editor shows.
    const nlohmann::json expected = {{"severity", "error"},
                                     {"text",
                                      "train.txt:3:10: error 16: signal on a cell already taken "
                                      "(at 2600 m)\ntrain.txt:2:10: note: this signal record "
                                      "already holds cell 53"},
                                     {"message", "signal on a cell already taken (at 2600 m)"},
                                     {"name", nullptr},
                                     {"code", 16},
                                     {"meaning", "signal on a cell already taken"},
                                     {"position", 2600},
                                     {"file", "train.txt"},
                                     {"line", 3},
                                     {"column", 10},
                                     {"afterFirst", false},
                                     {"detail", ""},
                                     {"related",
                                      {{"file", "train.txt"},
                                       {"line", 2},
                                       {"column", 10},
                                       {"message", "this signal record already holds cell 53"}}}};
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
        "line.txt:2:1: warning: \"pendenza\" stands before [generale] and is passed over "
        "[misplaced-keyword]\n"
        "line.txt:4:27: warning: line holds more fields than its record takes: \"7\" is read as "
        "a first field [extra-fields]\n"
        "line.txt:5:1: warning: \"montagna\" is a route record, passed over inside the "
        "[generale] section [misplaced-keyword]\n"
        "line.txt:6:1: warning: \"Sfondo uno\" is passed over: this record's keywords must be "
        "written in lower case [misplaced-keyword]\n"
        "line.txt:8:1: warning: \"sfondo due\" is a [generale] record, passed over after that "
        "section [misplaced-keyword]\n"
        "line.txt:9:16: warning: number text \"abc\" read as 0 [number-text]\n"
        "line.txt:10:1: warning: \"stazione\" is a train source record, passed over in this "
        "file [misplaced-keyword]\n"
        "train.txt:2:20: warning: line holds more fields than its record takes: \"4\" is read "
        "as a first field [extra-fields]\n"
        "train.txt:3:9: warning: number text \"abc\" read as 0 [number-text]\n"
        "train.txt:4:1: warning: \"pendenza\" is a line source record, passed over in this "
        "file [misplaced-keyword]\n");
    const nlohmann::json& warnings = result.summary["warnings"];
    ASSERT_EQ(warnings.size(), 10u);
    EXPECT_EQ(warnings[0]["file"], "line.txt");
    EXPECT_EQ(warnings[0]["line"], 2);
}

// A quoted source text reaches the terminal with its control bytes shown, not obeyed.
TEST(Diagnostics, ControlBytesInAQuotedTextAreShownEscaped) {
    const Compiled result = compile(route({"pendenza, 250, a\x1b[31m"}), kEmptyTrain);
    EXPECT_EQ(result.run.err,
              "line.txt:4:17: warning: the file holds control characters: it looks like a "
              "binary file, not a source text [encoding]\n"
              "line.txt:4:16: warning: number text \"a\\x1b[31m\" read as 0 [number-text]\n");
    EXPECT_EQ(result.summary["warnings"][1]["message"], "number text \"a\x1b[31m\" read as 0");
}

}  // namespace
}  // namespace scenario
