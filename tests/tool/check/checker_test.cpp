// The authors' checker over small texts in memory: each warning from a fixture that shows it, and
// none on the built-in scenario.
#include "tool/check/checker.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/file_store.h"
#include "generated_sources.h"
#include "source/source_writers.h"

namespace scenario {
namespace {

const std::string kLine =
    "[generale]\r\nlunghezza percorso, 5000\r\n[curve]\r\ncurvad4, 1000, 200\r\n[fine]\r\n";
const std::string kStation = "stazione, 0, 4, 200, 0,0,0, 0,0,0, 0,0,0, 30, 8,10,0, ALFA\r\n";

std::string train(const std::string& records) {
    return "[generale]\r\n" + kStation + records + "[fine]\r\n";
}

std::vector<Diagnostic> check(const std::string& line, const std::string& trainText) {
    return checkSourceTexts({"line.txt", line}, {"train.txt", trainText}).warnings;
}

struct Case {
    const char* what;
    std::string line;
    std::string train;
    std::string_view name;
    int lineNumber;
    int column;
    const char* message;
};

TEST(SourceCheck, EachWarningFromTheFixtureThatShowsIt) {
    const Case cases[] = {
        {"misspelt keyword", kLine, train("stazone, 1750, 27\r\n"), kUnknownRecordWarning, 3, 1,
         "\"stazone\" is no record of the train file: the line is passed over; did you mean "
         "\"stazione\"?"},
        {"misspelt curve keeps its side and class", kLine + "cruvas3, 2000, 300\r\n", train(""),
         kUnknownRecordWarning, 6, 1,
         "\"cruvas3\" is no record of the line file: the line is passed over; did you mean "
         "\"curvas3\"?"},
        {"unknown word, nothing near", kLine, train("treno merci\r\n"), kUnknownRecordWarning, 3, 1,
         "\"treno merci\" is no record of the train file: the line is passed over"},
        {"misspelt header", "[generale]\r\nlunghezza percorso, 5000\r\n[curvez]\r\n[fine]\r\n",
         train(""), kUnknownSectionWarning, 3, 1,
         "\"[curvez]\" is no group header of the line file; did you mean \"[curve]\"?"},
        {"header that holds a keyword", kLine + "[pendenza]\r\npendenza, 2000, 5\r\n", train(""),
         kUnknownSectionWarning, 6, 1,
         "\"[pendenza]\" holds the keyword \"pendenza\": it is read as a gradient record, not "
         "as a header (the header is \"[pendenze]\")"},
        {"header of the other file", kLine + "[stazioni]\r\n[fine]\r\n", train(""),
         kUnknownSectionWarning, 6, 1,
         "\"[stazioni]\" is a group header of the train file, not of this one"},
        {"hash comment read as a record", kLine,
         train("# segnale, 2000, 2,1,0,0,0, 0,0,0,0, 0\r\n"), kCommentStyleWarning, 3, 1,
         "\"# segnale\" is not a comment (a comment line holds a \"-\"): it is read as a signal "
         "record"},
        {"semicolon comment passed over", kLine, train("; tolto\r\n"), kCommentStyleWarning, 3, 1,
         "\"; tolto\" is not a comment (a comment line holds a \"-\"): it holds no keyword and is "
         "passed over; write \"- ...\" for a comment"},
        {"speed", kLine, train("velocita, 0, 1000\r\n"), kImplausibleValueWarning, 3, 14,
         "speed limit 1000 km/h lies outside 0 to 300 km/h"},
        {"speed not a multiple of 5", kLine, train("velocita, 0, 72\r\n"), kImplausibleValueWarning,
         3, 14, "speed limit 72 km/h is not a multiple of 5: it is stored as 70 km/h"},
        {"clock", kLine, train("orologio, 25 0 0\r\n"), kImplausibleValueWarning, 3, 11,
         "start clock hours 25 h lies outside 0 to 23 h"},
        {"route length", "[generale]\r\nlunghezza percorso, 1000050\r\n[fine]\r\n", train(""),
         kImplausibleValueWarning, 2, 21, "route length 1000050 m lies outside 1000 to 1000000 m"},
        {"gradient", kLine + "pendenza, 1000, 260\r\n", train(""), kImplausibleValueWarning, 6, 17,
         "gradient 260 per mille lies outside -60 to 60 per mille"},
        {"station past the end", kLine,
         train("stazione, 9000, 4, 500, 1,0,0, 1,1,0, 2,1,1, 0, 8,30,0, BETA\r\n"),
         kImplausibleValueWarning, 3, 11,
         "station position 9000 m lies past the route's end (5000 m), in the 7000 m tail"},
        {"past the end", kLine, train("segnale, 9000, 2,4,0,0,0, 0,0,0,0, 0\r\n"),
         kImplausibleValueWarning, 3, 10,
         "signal posizione 9000 m lies past the route's end (5000 m), in the 7000 m tail"},
        {"off the grid", kLine, train("segnale, 2655, 2,4,0,0,0, 0,0,0,0, 0\r\n"),
         kImplausibleValueWarning, 3, 10,
         "signal posizione 2655 m is off the 50 m grid: it lands in cell 54, as if at 2650 m"},
        {"gradients backwards", kLine + "pendenza, 2000, 5\r\npendenza, 1000, 10\r\n", train(""),
         kOrderWarning, 7, 11,
         "gradient at 1000 m stands before the previous one at 2000 m (line 6): list them in "
         "route order"},
        {"times backwards", kLine,
         train("stazione, 2000, 4, 200, 0,0,0, 0,0,0, 0,0,0, 30, 8,5,0, BETA\r\n"), kOrderWarning,
         3, 50, "departure 8:05:00 at BETA is before 8:10:00 at ALFA (line 2)"},
        {"no generale", kLine, kStation, kNoRecordsWarning, 1, 0,
         "no [generale] line: nothing in this file is read"},
        {"no station", kLine, "[generale]\r\n[fine]\r\n", kNoRecordsWarning, 1, 0,
         "the train file has no station"},
        {"binary", kLine, train("\x01\x02") + std::string(1, '\0'), kEncodingWarning, 3, 1,
         "the file holds control characters: it looks like a binary file, not a source text"},
        {"utf-8", kLine,
         train("stazione, 2000, 4, 200, 0,0,0, 0,0,0, 0,0,0, 30, 9,0,0, LUC\xC3\x8C"
               "A\r\n"),
         kEncodingWarning, 3, 60,
         "the file is UTF-8: each letter beyond ASCII would be stored as two or more "
         "Windows-1252 characters; save it as Windows-1252 or give --input-encoding utf-8"},
        {"train file given twice", train(""), train(""), kSwappedFilesWarning, 1, 0,
         "this looks like a train source file (1 train records, no line record)"},
    };
    for (const Case& c : cases) {
        const std::vector<Diagnostic> found = check(c.line, c.train);
        const auto named = std::find_if(found.begin(), found.end(),
                                        [&](const Diagnostic& d) { return d.name == c.name; });
        if (named == found.end()) {
            ADD_FAILURE() << c.what << ": no " << c.name << " warning";
            continue;
        }
        EXPECT_EQ(named->message, c.message) << c.what;
        EXPECT_EQ(named->location.line, c.lineNumber) << c.what;
        EXPECT_EQ(named->location.firstColumn, c.column) << c.what;
    }
}

TEST(SourceCheck, SuggestionIsAFieldForEditorsToOffer) {
    // The name after the misspelt keyword is read as a first field too, and passed over quietly.
    const std::vector<Diagnostic> found = check(kLine, train("segnal, 2600, ALFA\r\n"));
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].suggestion, "segnale");
}

TEST(SourceCheck, CommentsExtraFieldsAndCleanTextsRaiseNothing) {
    EXPECT_TRUE(check(kLine, train("- una nota\r\nsabbia, 300, 20\r\n")).empty());
    EXPECT_TRUE(check(kLine, train("velocita, 0, 100\r\naderenza, 0, 90\r\n")).empty());
}

TEST(SourceCheck, BothFilesSwappedAreSaidOnceAsSuch) {
    const CheckResult result = checkSourceTexts({"line.txt", train("")}, {"train.txt", kLine});
    EXPECT_TRUE(result.filesLookSwapped);
}

TEST(SourceCheck, BuiltInScenarioRaisesNoWarning) {
    MemoryStore files;
    const ScenarioIdentity names{"Alderi_Moncasta", "30752"};
    dati_linea(files, names);
    dati_treno(files, names);
    const CheckResult result = checkSourceTexts({"line", *files.read(names.lineSourceFile())},
                                                {"train", *files.read(names.trainSourceFile())});
    for (const Diagnostic& d : result.warnings)
        ADD_FAILURE() << d.location.file << ":" << d.location.line << ": " << d.message;
}

// A run from ALFA at 0 m to OMEGA at 4000 m, so that the speed limits along it count.
std::string run(const std::string& records) {
    return "[generale]\r\n" + kStation + records +
           "stazione, 4000, 4, 200, 0,0,0, 0,0,0, 0,0,0, 0, 8,30,0, OMEGA\r\n[fine]\r\n";
}

std::vector<Diagnostic> named(const std::vector<Diagnostic>& all, std::string_view name) {
    std::vector<Diagnostic> kept;
    for (const Diagnostic& d : all)
        if (d.name == name) kept.push_back(d);
    return kept;
}

// A station one number short: BETA is read as its last number, the next line's first field as
// its name.
const std::string kShortStation =
    "stazione, 2000, 22, 200, 0,0, 0,0,0, 0,0,0, 30, 8,20,0, BETA\r\n";

TEST(SourceCheck, TextsThatCompileIntoSomethingElseSayWhatTheyAreReadAs) {
    const Case cases[] = {
        {"a word holding an s", kLine + "curva destra 5, 2000, 200\r\n", train(""),
         kCurveKeywordWarning, 6, 1,
         "\"curva destra 5\" is read as a left curve of class 5: a curve turns left when its "
         "first field holds an \"s\" anywhere, right otherwise, and takes the first of the digits "
         "1 to 6 that it holds; write \"curvas5\" (left) or \"curvad5\" (right)"},
        {"no side letter", kLine + "curvaX5, 2000, 200\r\n", train(""), kCurveKeywordWarning, 6, 1,
         "right curve of class 5"},
        {"two digits: the lower is tried first", kLine + "curvad21, 2000, 200\r\n", train(""),
         kCurveKeywordWarning, 6, 1, "right curve of class 1"},
        {"name takes the header", kLine, train(kShortStation + "[rallentamenti]\r\n"),
         kMissingFieldWarning, 3, 1,
         "station name is \"[rallentamenti]\", a group header on line 4: the record lacks a "
         "field, so its values took the next ones' places"},
        {"name takes a keyword", kLine,
         train(kShortStation + "segnale, 2600, 2,4,0,0,0, 2,2,1,0, 0\r\n"), kMissingFieldWarning, 3,
         1, "station name is \"segnale\", a record's keyword on line 4"},
        {"sign text takes a keyword", kLine + "cartello_indicatore, 2950\r\npendenza, 3000, 5\r\n",
         train(""), kMissingFieldWarning, 6, 1,
         "indicator sign text is \"pendenza\", a record's keyword on line 7"},
        {"list starts late", kLine, run("velocita, 1850, 60\r\n"), kZeroSpeedWarning, 3, 1,
         "the speed limit is 0 km/h from 0 m to 1850 m (1850 m), where the train runs: the limit "
         "is 0 before the first speed limit record, at 1850 m"},
        {"two records of 0 make one stretch", kLine,
         run("velocita, 0, 80\r\nvelocita, 2000, 0\r\nvelocita, 2500, 0\r\n"
             "velocita, 3000, 80\r\n"),
         kZeroSpeedWarning, 4, 1,
         "the speed limit is 0 km/h from 2000 m to 3000 m (1000 m), where the train runs"},
        {"a speed stored as 0", kLine, run("velocita, 0, 2\r\n"), kZeroSpeedWarning, 3, 1,
         "from 0 m to 4000 m (4000 m), where the train runs: 2 km/h is stored as 0"},
        {"no speed limit at all", kLine, run(""), kZeroSpeedWarning, 1, 0,
         "from 0 m to 4000 m (4000 m), where the train runs: the file has no speed limit record"},
    };
    for (const Case& c : cases) {
        const std::vector<Diagnostic> found = named(check(c.line, c.train), c.name);
        ASSERT_EQ(found.size(), 1u) << c.what;
        EXPECT_NE(found[0].message.find(c.message), std::string::npos)
            << c.what << ": " << found[0].message;
        EXPECT_EQ(found[0].location.line, c.lineNumber) << c.what;
        EXPECT_EQ(found[0].location.firstColumn, c.column) << c.what;
    }
}

TEST(SourceCheck, PlainCurvesSimulatorValuesAndRunsWithASpeedCheckClean) {
    const std::string line =
        "[generale]\r\nlunghezza percorso, 5000\r\nsfondo uno, 7\r\nsfondo tre, 3\r\n[curve]\r\n"
        "curvas3, 1000, 100\r\ncurvad6, 2000, 100\r\nCURVAD4, 3000, 100\r\n[fine]\r\n";
    // Past the last station the limit of 0 is run over by nothing.
    const std::string train =
        run("velocita, 0, 80\r\nvelocita, 4500, 0\r\naderenza, 0, 200\r\n"
            "rallentamento, 2000, 60, 300, 0, 3, 0\r\n");
    for (const Diagnostic& d : check(line, train))
        ADD_FAILURE() << d.location.file << ":" << d.location.line << ": " << d.message;
}

TEST(SourceCheck, ZeroSpeedOnAThousandKilometresIsOneWarningWithItsExtent) {
    const std::string line = "[generale]\r\nlunghezza percorso, 1000000\r\n[fine]\r\n";
    const std::string train =
        "[generale]\r\nvelocita, 0, 80\r\nvelocita, 100000, 0\r\nvelocita, 600000, 100\r\n" +
        kStation + "stazione, 990000, 4, 200, 0,0,0, 0,0,0, 0,0,0, 0, 9,30,0, OMEGA\r\n[fine]\r\n";
    const std::vector<Diagnostic> found = named(check(line, train), kZeroSpeedWarning);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].location.line, 3);
    EXPECT_NE(found[0].message.find("from 100000 m to 600000 m (500000 m)"), std::string::npos)
        << found[0].message;
}

TEST(SourceCheck, GeneratedRoutesGiveNoImplausibleValue) {
    for (const std::int32_t kilometres : {10, 100, 1000}) {
        const std::int32_t route = kilometres * 1000;
        const std::string line = bench::generatedLineSource(route);
        const std::string train =
            bench::generatedTrainSource(std::min(route / 5000, 78), (route - 2000) / 200);
        for (const Diagnostic& d : named(check(line, train), kImplausibleValueWarning))
            ADD_FAILURE() << kilometres << " km: " << d.location.line << ": " << d.message;
    }
}

TEST(SourceCheck, NearestKeywordOnlyWithinASlip) {
    const std::vector<std::string_view> words = {"stazione", "segnale", "velocita"};
    EXPECT_EQ(nearestKeyword("Stazone", words), "stazione");
    EXPECT_EQ(nearestKeyword("velocit\xE0", words), "velocita");
    EXPECT_EQ(nearestKeyword("binario", words), "");
}

}  // namespace
}  // namespace scenario
