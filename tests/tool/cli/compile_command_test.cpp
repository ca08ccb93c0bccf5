#include <gtest/gtest.h>

#include <chrono>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "tool/tool_runner.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;
using testing::fileCount;
using testing::readFile;
using testing::runTool;
using testing::TempDir;
using testing::ToolRun;
using testing::writeFile;

const char* const kNoRouteLength =
    "[generale]\r\n"
    "sfondo uno, 1\r\n"
    "[curve]\r\n"
    "[fine]\r\n";
const char* const kEmptyTrain =
    "[generale]\r\n"
    "[fine]\r\n";

TEST(CompileCommand, UsageErrorsAndUnreadableInputsEndWithStatus2) {
    TempDir dir;
    writeFile(dir.path / "line.txt", kNoRouteLength);
    writeFile(dir.path / "train.txt", kEmptyTrain);
    const std::vector<std::string> cases[] = {
        {},
        {"compile", "line.txt", "train.txt", "--train", "1"},
        {"compile", "line.txt", "--name", "S", "--train", "1"},
        {"compile", "missing.txt", "train.txt", "--name", "S", "--train", "1"},
        {"compile", "line.txt", "missing.txt", "--name", "S", "--train", "1"},
        {"compile", "line.txt", "train.txt", "--name", "S", "--train", "1", "--out", "line.txt"},
        {"compile", "line.txt", "train.txt", "--name", "a/b", "--train", "1"},
        {"compile", "line.txt", "train.txt", "--name", "S", "--train", "1", "--bogus"},
    };
    for (const std::vector<std::string>& arguments : cases) {
        const ToolRun run = runTool(dir.path, arguments);
        const std::string shown = ::testing::PrintToString(arguments);
        EXPECT_EQ(run.status, 2) << shown;
        EXPECT_FALSE(run.err.empty()) << shown;
        EXPECT_EQ(fileCount(dir.path), 2u) << shown;
    }
}

TEST(CompileCommand, WithoutRouteLengthNoFileIsWrittenAndTheInputsStay) {
    TempDir dir;
    // The inputs lie in the output directory under the very names the compile step reads and
    // deletes: they must come through untouched.
    writeFile(dir.path / "S_linea.txt", kNoRouteLength);
    writeFile(dir.path / "S_1-.txt", kEmptyTrain);
    const ToolRun run = runTool(
        dir.path, {"compile", "S_linea.txt", "S_1-.txt", "--name", "S", "--train", "1", "--json"});
    EXPECT_EQ(run.status, 4);
    EXPECT_NE(run.err.find("no track cell table"), std::string::npos) << run.err;
    EXPECT_EQ(readFile(dir.path / "S_linea.txt"), kNoRouteLength);
    EXPECT_EQ(readFile(dir.path / "S_1-.txt"), kEmptyTrain);
    EXPECT_EQ(fileCount(dir.path), 2u);
    const nlohmann::json summary = nlohmann::json::parse(run.out);
    EXPECT_EQ(summary["exitStatus"], 4);
    EXPECT_EQ(summary["errorCode"], 25);
    EXPECT_EQ(summary["files"], nlohmann::json::array());
}

// A route of 6000 m (cells 0 to 260) with these route records after its general section.
std::string lineFile(const std::string& routeRecords) {
    return "[generale]\r\nlunghezza percorso, 6000\r\n[cartelli]\r\n" + routeRecords + "[fine]\r\n";
}

TEST(CompileCommand, NamesNotGivenComeFromTheSourceFilesNamesAndAreSaid) {
    struct Case {
        std::vector<std::string> arguments;
        int status;
        const char* err;
        const char* written;  // a file the compile must write, or nothing
    } cases[] = {
        {{"S_linea.txt", "S_1-.txt"},
         0,
         "scenario compile: names from the source files: --name S --train 1\n",
         "S_1.sim"},
        {{"S_linea.txt", "S_1-.txt", "--train", "7"},
         0,
         "scenario compile: names from the source files: --name S --train 7\n",
         "S_7.sim"},
        {{"S_linea.txt", "S_1-.txt", "--name", "T", "--train", "2"}, 0, "", "T_2.sim"},
        {{"line.txt", "S_1-.txt"},
         2,
         "scenario compile: --name is required: line.txt is not named NAME_linea.txt\n",
         nullptr},
        {{"S_linea.txt", "train.txt"},
         2,
         "scenario compile: --train is required: train.txt is not named S_NUMBER-.txt\n",
         nullptr},
        {{"S_linea.txt", "S_1-.txt", "--name", "T"},
         2,
         "scenario compile: --train is required: S_1-.txt is not named T_NUMBER-.txt\n",
         nullptr},
    };
    for (const Case& c : cases) {
        TempDir dir;
        for (const char* name : {"S_linea.txt", "line.txt"})
            writeFile(dir.path / name, lineFile(""));
        for (const char* name : {"S_1-.txt", "train.txt"}) writeFile(dir.path / name, kEmptyTrain);
        std::vector<std::string> arguments = {"compile", "-Wno-no-records"};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        const ToolRun run = runTool(dir.path, arguments);
        const std::string shown = ::testing::PrintToString(c.arguments);
        EXPECT_EQ(run.status, c.status) << shown;
        EXPECT_EQ(run.err, c.err) << shown;
        if (c.written == nullptr) {
            EXPECT_EQ(fileCount(dir.path), 4u) << shown;
        } else {
            EXPECT_TRUE(fs::exists(dir.path / c.written)) << shown;
        }
    }

    // With --json the summary says the names instead.
    TempDir dir;
    writeFile(dir.path / "S_linea.txt", lineFile(""));
    writeFile(dir.path / "S_1-.txt", kEmptyTrain);
    const ToolRun run =
        runTool(dir.path, {"compile", "S_linea.txt", "S_1-.txt", "--json", "-Wno-no-records"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    const nlohmann::json summary = nlohmann::json::parse(run.out);
    EXPECT_EQ(summary["scenarioName"], "S");
    EXPECT_EQ(summary["trainNumber"], "1");
}

TEST(CompileCommand, RecordedErrorWritesNothingUnlessAskedToWriteOnError) {
    TempDir dir;
    writeFile(dir.path / "line.txt", lineFile(""));
    writeFile(dir.path / "train.txt", "[generale]\r\nvelocita, 99999, 50\r\n[fine]\r\n");
    const std::vector<std::string> arguments = {
        "compile", "line.txt", "train.txt", "--name",          "S",
        "--train", "1",        "--json",    "-Wno-no-records", "-Wno-implausible-value"};
    const ToolRun run = runTool(dir.path, arguments);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err,
              "train.txt:2:11: error 15: position beyond the track cell table (at 99999 m)\n");
    const nlohmann::json summary = nlohmann::json::parse(run.out);
    EXPECT_EQ(summary["errorCode"], 15);
    EXPECT_EQ(summary["errorPosition"], 99999);
    EXPECT_EQ(summary["files"].size(), 0u);
    EXPECT_EQ(fileCount(dir.path), 2u);

    std::vector<std::string> writing = arguments;
    writing.push_back("--write-on-error");
    EXPECT_EQ(runTool(dir.path, writing).status, 1);
    EXPECT_EQ(fs::file_size(dir.path / "S_linea.dat"), 20u * 13000 - 36);
    EXPECT_EQ(fs::file_size(dir.path / "S_1.dat"), 15u * 261);
    EXPECT_TRUE(fs::exists(dir.path / "S_1.sim"));
}

TEST(CompileCommand, TakenStampSlotStopsTheBuildBeforeAnyFileIsWritten) {
    struct Case {
        const char* board;  // a speed board at 0 lands in cell 1
        const char* message;
    } cases[] = {
        {"indicatori_vmax, 0, 65, 70, 75, 0, 0, 0, 0, 0\r\n",
         "line.txt:4:18: error 1250: marker slot already taken\n Errore n. 1250\n"},
        {"indicatori_vmax, 0, 0, 1, 0, 0, 0, 0, 0, 0\r\n",
         "line.txt:4:18: error 1251: check-code slot already taken\n Errore n. 1251\n"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        writeFile(dir.path / "line.txt", lineFile(c.board));
        writeFile(dir.path / "train.txt", "[generale]\r\n[fine]\r\n");
        writeFile(dir.path / "S_1.dat", "older build");
        const ToolRun run =
            runTool(dir.path, {"compile", "line.txt", "train.txt", "--name", "S", "--train", "1",
                               "-Wno-no-records", "-Wno-implausible-value"});
        EXPECT_EQ(run.status, 3) << c.board;
        EXPECT_EQ(run.err, c.message);
        EXPECT_EQ(readFile(dir.path / "S_1.dat"), "older build");
        EXPECT_EQ(fileCount(dir.path), 3u);
    }
}

TEST(CompileCommand, FileThatCannotBeWrittenEndsWithStatus2AfterTheFilesBeforeIt) {
    TempDir dir;
    writeFile(dir.path / "line.txt", lineFile(""));
    writeFile(dir.path / "train.txt", "[generale]\r\n[fine]\r\n");
    fs::create_directory(dir.path / "S_1.sim");
    const ToolRun run = runTool(
        dir.path, {"compile", "line.txt", "train.txt", "--name", "S", "--train", "1", "--json"});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("S_1.sim"), std::string::npos) << run.err;
    const nlohmann::json summary = nlohmann::json::parse(run.out);
    EXPECT_EQ(summary["files"], nlohmann::json({"./S_linea.dat"}));
    EXPECT_FALSE(fs::exists(dir.path / "S_1.dat"));
}

TEST(CompileCommand, NoPlanLeavesAnExistingLineDataFileUntouched) {
    TempDir dir;
    writeFile(dir.path / "line.txt", lineFile(""));
    writeFile(dir.path / "train.txt", "[generale]\r\n[fine]\r\n");
    fs::create_directory(dir.path / "out");
    writeFile(dir.path / "out" / "S_linea.dat", "older build");
    const ToolRun run = runTool(dir.path, {"compile", "line.txt", "train.txt", "--name", "S",
                                           "--train", "1", "--out", "out", "--no-plan", "--json"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(readFile(dir.path / "out" / "S_linea.dat"), "older build");
    const nlohmann::json summary = nlohmann::json::parse(run.out);
    EXPECT_EQ(summary["files"], nlohmann::json({"out/S_1.sim", "out/S_1.dat"}));
    EXPECT_EQ(fs::file_size(dir.path / "out" / "S_1.dat"), 15u * 261);
}

// A recompile leaves the outputs whose bytes stay the same untouched, each on its own: a
// train-file edit rewrites what it changed and never the line data file; --always-write rewrites
// all three.
TEST(CompileCommand, OutputsWhoseBytesStayTheSameAreLeftUntouched) {
    TempDir dir;
    writeFile(dir.path / "line.txt", lineFile(""));
    writeFile(dir.path / "train.txt", "[generale]\r\n[fine]\r\n");
    fs::create_directory(dir.path / "out");
    const std::vector<std::string> compile = {"compile", "line.txt", "train.txt", "--name",
                                              "S",       "--train",  "1",         "--out",
                                              "out",     "--json"};
    const auto states = [&](std::vector<std::string> arguments) {
        const ToolRun run = runTool(dir.path, arguments);
        EXPECT_EQ(run.status, 0) << run.err;
        std::vector<std::string> shown;
        const nlohmann::json summary = nlohmann::json::parse(run.out);
        for (const nlohmann::json& output : summary["outputs"])
            shown.push_back(output["file"].get<std::string>() + " " +
                            output["state"].get<std::string>());
        return shown;
    };
    using Shown = std::vector<std::string>;
    EXPECT_EQ(states(compile),
              (Shown{"out/S_linea.dat written", "out/S_1.sim written", "out/S_1.dat written"}));
    const fs::file_time_type past = fs::file_time_type::clock::now() - std::chrono::hours(1);
    for (const char* name : {"S_linea.dat", "S_1.sim", "S_1.dat"})
        fs::last_write_time(dir.path / "out" / name, past);

    EXPECT_EQ(states(compile), (Shown{"out/S_linea.dat unchanged", "out/S_1.sim unchanged",
                                      "out/S_1.dat unchanged"}));
    for (const char* name : {"S_linea.dat", "S_1.sim", "S_1.dat"})
        EXPECT_EQ(fs::last_write_time(dir.path / "out" / name), past) << name;

    writeFile(dir.path / "train.txt", "[generale]\r\nvelocita, 1000, 50\r\n[fine]\r\n");
    // A speed limit changes the cells only: the station table stays as it was.
    EXPECT_EQ(states(compile),
              (Shown{"out/S_linea.dat unchanged", "out/S_1.sim unchanged", "out/S_1.dat written"}));
    EXPECT_EQ(fs::last_write_time(dir.path / "out" / "S_linea.dat"), past);

    std::vector<std::string> always = compile;
    always.push_back("--always-write");
    EXPECT_EQ(states(always),
              (Shown{"out/S_linea.dat written", "out/S_1.sim written", "out/S_1.dat written"}));
    EXPECT_NE(fs::last_write_time(dir.path / "out" / "S_linea.dat"), past);
}

}  // namespace
}  // namespace scenario
