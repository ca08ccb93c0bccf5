// The tool's command line: names used in file names are refused when they could leave the
// directory, and every subcommand explains itself.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tool/tool_runner.h"

namespace scenario {
namespace {

using namespace scenario::testing;

TEST(CommandLine, NamesThatCouldLeaveTheDirectoryAreRefused) {
    TempDir dir;
    writeFile(dir.path / "line.txt", "[generale]\r\nlunghezza percorso, 6000\r\n[fine]\r\n");
    writeFile(dir.path / "train.txt", "[generale]\r\n[fine]\r\n");
    const struct {
        std::string name;
        const char* why;
    } bad[] = {
        {"a/b", "path separator"},
        {"a\\b", "path separator"},
        {"..", "\"..\""},
        {"x..y", "\"..\""},
        {"a\tb", "control character"},
        {"a\x7f", "control character"},
        {std::string(101, 'n'), "more than 100"},
        {"", "empty"},
        {"a<b", "Windows file name"},
        {"a:b", "Windows file name"},
        {"a?", "Windows file name"},
        {"name.", "ends with a dot"},
        {"name ", "ends with a dot or a blank"},
        {"CON", "device"},
        {"com1", "device"},
        {"Lpt9.txt", "device"},
        {"\xCE\xA9mega", "Windows-1252 cannot hold"},
    };
    // Each command takes the name last.
    const std::vector<std::string> commands[] = {
        {"compile", "line.txt", "train.txt", "--train", "1", "--name"},
        {"compile", "line.txt", "train.txt", "--name", "S", "--train"},
        {"check", "line.txt", "train.txt", "--name"},
        {"plot", ".", "--train", "1", "-o", "x.svg", "--name"},
        {"plot", ".", "--name", "S", "-o", "x.svg", "--train"},
    };
    for (const std::vector<std::string>& command : commands) {
        for (const auto& [name, why] : bad) {
            std::vector<std::string> arguments = command;
            arguments.push_back(name);
            const ToolRun run = runTool(dir.path, arguments);
            const std::string shown = ::testing::PrintToString(arguments);
            EXPECT_EQ(run.status, 2) << shown;
            EXPECT_NE(run.err.find(why), std::string::npos) << shown << ": " << run.err;
        }
    }
    EXPECT_EQ(fileCount(dir.path), 2u);
    // The longest name allowed.
    EXPECT_EQ(runTool(dir.path, {"check", "line.txt", "train.txt", "--name", std::string(100, 'n')})
                  .status,
              0);
}

TEST(CommandLine, NamesAreStoredAsWindows1252AndFileNamesKeepTheTextGiven) {
    TempDir dir;
    writeFile(dir.path / "line.txt", "[generale]\r\nlunghezza percorso, 6000\r\n[fine]\r\n");
    writeFile(dir.path / "train.txt", "[generale]\r\n[fine]\r\n");
    const ToolRun run = runTool(dir.path, {"compile", "line.txt", "train.txt", "--name",
                                           "Citt\xC3\xA0", "--train", "1", "-Wno-no-records"});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string sim = readFile(dir.path / "Citt\xC3\xA0_1.sim");
    EXPECT_NE(sim.find("Citt\xE0"), std::string::npos);
    EXPECT_EQ(sim.find("Citt\xC3\xA0"), std::string::npos);
    EXPECT_TRUE(fs::exists(dir.path / "Citt\xC3\xA0_linea.dat"));
    EXPECT_TRUE(fs::exists(dir.path / "Citt\xC3\xA0_1.dat"));
}

TEST(CommandLine, OutputFoldersAreMadeWithTheirParents) {
    TempDir dir;
    ASSERT_EQ(runTool(dir.path, {"new", "S", "1"}).status, 0);
    const struct {
        std::vector<std::string> arguments;  // --out follows
        const char* written;
    } cases[] = {
        {{"new", "T", "2"}, "T_linea.txt"},
        {{"doc"}, "format.md"},
        {{"compile", "S_linea.txt", "S_1-.txt", "--name", "S", "--train", "1"}, "S_1.sim"},
        {{"export"}, "Alderi_Moncasta_linea.txt"},
    };
    for (const auto& [arguments, written] : cases) {
        const std::string shown = ::testing::PrintToString(arguments);
        std::vector<std::string> into = arguments;
        into.insert(into.end(), {"--out", "made/" + arguments[0] + "/folder"});
        const ToolRun run = runTool(dir.path, into);
        EXPECT_EQ(run.status, 0) << shown << run.err;
        EXPECT_TRUE(fs::is_regular_file(dir.path / "made" / arguments[0] / "folder" / written))
            << shown;

        // Under a file no folder can be made.
        std::vector<std::string> underFile = arguments;
        underFile.insert(underFile.end(), {"--out", "S_linea.txt/folder"});
        const ToolRun refused = runTool(dir.path, underFile);
        EXPECT_EQ(refused.status, 2) << shown;
        EXPECT_NE(refused.err.find("cannot create S_linea.txt/folder"), std::string::npos)
            << shown << refused.err;
    }
    // A compile that writes nothing makes no folder.
    writeFile(dir.path / "bad-.txt", "[generale]\r\nvelocita, 99999, 50\r\n[fine]\r\n");
    const ToolRun failed = runTool(dir.path, {"compile", "S_linea.txt", "bad-.txt", "--name", "S",
                                              "--train", "1", "--out", "unmade/folder"});
    EXPECT_EQ(failed.status, 1);
    EXPECT_FALSE(fs::exists(dir.path / "unmade"));
}

TEST(CommandLine, AMistypedSubcommandGetsTheNearestNameOffered) {
    TempDir dir;
    const struct {
        std::vector<std::string> arguments;
        const char* err;
    } cases[] = {
        {{"chek", "line.txt", "train.txt"},
         "scenario: no subcommand is named \"chek\"; did you mean \"check\"?\n"},
        {{"Compile"}, "scenario: no subcommand is named \"Compile\"; did you mean \"compile\"?\n"},
        {{"exprot", "--out", "x"},
         "scenario: no subcommand is named \"exprot\"; did you mean \"export\"?\n"},
        {{"frobnicate"}, "scenario: no subcommand is named \"frobnicate\"\n"},
    };
    for (const auto& [arguments, err] : cases) {
        const ToolRun run = runTool(dir.path, arguments);
        EXPECT_EQ(run.status, 2) << arguments[0];
        EXPECT_EQ(run.err, std::string(err) + "Run with --help for more information.\n");
    }
    EXPECT_EQ(fileCount(dir.path), 0u);
}

TEST(CommandLine, EverySubcommandHasHelpAndTheToolAVersion) {
    TempDir dir;
    const ToolRun top = runTool(dir.path, {"--help"});
    EXPECT_EQ(top.status, 0);
    for (const char* command : {"compile", "check", "export", "dump", "plot", "explain", "doc",
                                "new", "serve", "import"}) {
        EXPECT_NE(top.out.find(command), std::string::npos) << command;
        const ToolRun help = runTool(dir.path, {command, "--help"});
        EXPECT_EQ(help.status, 0) << command;
        EXPECT_NE(help.out.find("Exit status"), std::string::npos) << command << help.out;
    }
    const ToolRun version = runTool(dir.path, {"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "scenario 1.0\n");
}

}  // namespace
}  // namespace scenario
