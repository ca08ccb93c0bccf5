#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <string>

namespace scenario {
namespace {

namespace fs = std::filesystem;

struct TempDir {
    fs::path path;
    TempDir() {
        std::string pattern = (fs::temp_directory_path() / "compile-XXXXXX").string();
        path = ::mkdtemp(pattern.data());
    }
    ~TempDir() { fs::remove_all(path); }
};

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

struct ToolRun {
    int status;
    std::string out;
    std::string err;
};

// Runs the tool with these arguments in `dir`, capturing both output streams.
ToolRun runTool(const fs::path& dir, const std::string& arguments) {
    const fs::path out = dir / "stdout.txt", err = dir / "stderr.txt";
    const std::string command = "cd " + quoted(dir.string()) + " && " + quoted(SCENARIO_TOOL) +
                                " " + arguments + " >" + quoted(out.string()) + " 2>" +
                                quoted(err.string());
    const int raw = std::system(command.c_str());
    ToolRun run{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readFile(out), readFile(err)};
    fs::remove(out);
    fs::remove(err);
    return run;
}

std::size_t fileCount(const fs::path& dir) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

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
    const char* cases[] = {
        "",
        "compile line.txt train.txt --train 1",
        "compile line.txt --name S --train 1",
        "compile missing.txt train.txt --name S --train 1",
        "compile line.txt missing.txt --name S --train 1",
        "compile line.txt train.txt --name S --train 1 --out missing",
        "compile line.txt train.txt --name a/b --train 1",
        "compile line.txt train.txt --name S --train 1 --bogus",
    };
    for (const char* arguments : cases) {
        const ToolRun run = runTool(dir.path, arguments);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_FALSE(run.err.empty()) << arguments;
        EXPECT_EQ(fileCount(dir.path), 2u) << arguments;
    }
}

TEST(CompileCommand, WithoutRouteLengthNoFileIsWrittenAndTheInputsStay) {
    TempDir dir;
    // The inputs lie in the output directory under the very names the compile step reads and
    // deletes: they must come through untouched.
    writeFile(dir.path / "S_linea.txt", kNoRouteLength);
    writeFile(dir.path / "S_1-.txt", kEmptyTrain);
    const ToolRun run = runTool(dir.path, "compile S_linea.txt S_1-.txt --name S --train 1 --json");
    EXPECT_EQ(run.status, 4);
    EXPECT_NE(run.err.find("no track cell table"), std::string::npos) << run.err;
    EXPECT_EQ(readFile(dir.path / "S_linea.txt"), kNoRouteLength);
    EXPECT_EQ(readFile(dir.path / "S_1-.txt"), kEmptyTrain);
    EXPECT_EQ(fileCount(dir.path), 2u);
    const nlohmann::json summary = nlohmann::json::parse(run.out);
    EXPECT_EQ(summary["exitStatus"], 4);
    EXPECT_EQ(summary["files"], nlohmann::json::array());
}

}  // namespace
}  // namespace scenario
