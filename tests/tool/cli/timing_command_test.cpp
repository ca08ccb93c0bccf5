#include "tool/cli/timing_command.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "tool/source_fixture.h"
#include "tool/timing/stock.h"
#include "tool/tool_runner.h"

namespace scenario::testing {
namespace {

const std::string kLine = "Alderi_Moncasta_linea.txt";
const std::string kTrain = "Alderi_Moncasta_30752-.txt";

nlohmann::json timingJson(const fs::path& dir, const std::string& arguments) {
    const ToolRun run = runTool(dir, words("timing " + arguments + " --json"));
    EXPECT_EQ(run.status, 0) << run.err;
    return nlohmann::json::parse(run.out, nullptr, false);
}

TEST(TimingCommand, SourcesAndCompiledFilesGiveTheSameSections) {
    TempDir dir;
    ASSERT_EQ(runScenarioProgram(dir.path), 0);
    ASSERT_EQ(runTool(dir.path, words("export --out src")).status, 0);
    const nlohmann::json files = timingJson(dir.path, ". --name Alderi_Moncasta --train 30752");
    const nlohmann::json sources = timingJson(dir.path, "src/" + kLine + " src/" + kTrain);
    EXPECT_EQ(files["sections"], sources["sections"]);
    EXPECT_EQ(files["stops"], sources["stops"]);
    ASSERT_EQ(sources["sections"].size(), 12u);
    const nlohmann::json& first = sources["sections"][0];
    EXPECT_EQ(first["from"], "ALDERI CENTRALE");
    EXPECT_EQ(first["toPosition"], 1750);
    EXPECT_EQ(first["scheduled"], 150);
    EXPECT_GT(first["minimum"].get<double>(), 60);
    EXPECT_TRUE(first["stall"].is_null());

    const ToolRun table = runTool(dir.path, words("timing src/" + kLine + " src/" + kTrain));
    EXPECT_NE(table.out.find("ALDERI CENTRALE - BORGO VALLINA"), std::string::npos);
    EXPECT_NE(table.out.find("passes CASTELFIORE at 2.300 km"), std::string::npos);
}

TEST(TimingCommand, TakesTheStockBesideTheSourcesUnlessOneIsGiven) {
    TempDir dir;
    ASSERT_EQ(runTool(dir.path, words("export --out .")).status, 0);
    const double defaults = timingJson(dir.path, kLine + " " + kTrain)["sections"][0]["minimum"];
    writeFile(dir.path / "Alderi_Moncasta_30752.stock.json", R"({"power_kw": 500})");
    const nlohmann::json beside = timingJson(dir.path, kLine + " " + kTrain);
    EXPECT_EQ(beside["stock"], "Alderi_Moncasta_30752.stock.json");
    EXPECT_GT(beside["sections"][0]["minimum"].get<double>(), defaults);

    ASSERT_EQ(runTool(dir.path, words("stock --out written.json")).status, 0);
    const nlohmann::json given =
        timingJson(dir.path, kLine + " " + kTrain + " --stock written.json");
    EXPECT_EQ(given["sections"][0]["minimum"].get<double>(), defaults);

    writeFile(dir.path / "bad.json", R"({"car_mass_t": 0})");
    const ToolRun refused =
        runTool(dir.path, words("timing " + kLine + " " + kTrain + " --stock bad.json"));
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.err, "scenario timing: bad.json: stock key car_mass_t is 0\n");
}

TEST(TimingCommand, CheckWarnsOfATimetableShorterThanTheRunOnlyWhenAsked) {
    TempDir dir;
    const BuiltinTexts texts = builtinTexts();
    // Borgo Vallina, 1750 m out, reached 30 s after the 14:23:00 departure.
    writeFile(dir.path / kLine, texts.line);
    writeFile(dir.path / kTrain,
              replaced(texts.train, "30,  14,26, 0, BORGO", "30,  14,24, 0, BORGO"));
    const std::string check = "check " + kLine + " " + kTrain;
    EXPECT_EQ(runTool(dir.path, words(check)).err, "");
    const ToolRun warned = runTool(dir.path, words(check + " --timing"));
    EXPECT_EQ(warned.status, 0);
    const std::string expected = kTrain +
                                 ":26:1: warning: the timetable gives 0:00:30 from ALDERI "
                                 "CENTRALE to BORGO VALLINA, but the fastest run takes 0:01:50; "
                                 "the earliest feasible time here is 14:25:20 [timetable]\n";
    EXPECT_EQ(warned.err, expected);
    EXPECT_EQ(runTool(dir.path, words(check + " --timing -Wno-timetable")).err, "");
    EXPECT_EQ(runTool(dir.path, words(check + " --timing -Werror")).status, 1);
    // Acquavivola to Terramozza leaves 9 s over a run of 2:21.
    const ToolRun margin = runTool(dir.path, words(check + " --timing --margin 10 --json"));
    const nlohmann::json summary = nlohmann::json::parse(margin.out);
    ASSERT_EQ(summary["warnings"].size(), 2u);
    EXPECT_EQ(summary["warnings"][1]["name"], "timetable");
    EXPECT_EQ(summary["warnings"][1]["line"], 32);
}

TEST(TimingCommand, StockWritesEveryKeyWithItsComment) {
    TempDir dir;
    ASSERT_EQ(runTool(dir.path, words("stock --out s.json")).status, 0);
    const nlohmann::json stock = nlohmann::json::parse(readFile(dir.path / "s.json"));
    for (const timing::StockKey& key : timing::stockKeys()) {
        EXPECT_EQ(stock[std::string(key.name)]["value"], timing::defaultOf(key));
        EXPECT_EQ(stock[std::string(key.name)]["comment"], key.comment);
    }
}

}  // namespace
}  // namespace scenario::testing
