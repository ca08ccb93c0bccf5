// The scenario tool's executable as a shell runs it: a small pair of source files compiles to
// three files that match a model worked out by hand from the format's rules, and each outcome
// reaches the shell as its exit status.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "tool/fixture_model.h"
#include "tool/tool_runner.h"

namespace scenario {
namespace {

using namespace scenario::testing;

TEST(EndToEnd, FixtureSourcesCompileToTheHandWorkedFiles) {
    TempDir dir;
    std::vector<std::string> arguments = fixtureCompile();
    // The fixture puts a slow order and a signal past the route's end on purpose.
    arguments.insert(arguments.end(), {"--json", "-Wno-implausible-value"});
    const ToolRun run = runToolExecutable(dir.path, arguments);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const nlohmann::json summary = nlohmann::json::parse(run.out);
    EXPECT_EQ(summary["errorCode"], 0);
    EXPECT_EQ(summary["files"].size(), 3u);

    EXPECT_EQ(firstCellDifference(readFile(dir.path / "E_7.dat"), expectedCells()), "");
    EXPECT_EQ(firstStationDifference(readFile(dir.path / "E_7.sim"), expectedStations()), "");
    EXPECT_EQ(firstPlanDifference(readFile(dir.path / "E_linea.dat"), expectedPlan()), "");
    EXPECT_EQ(fs::file_size(dir.path / "E_linea.dat"), 20u * kPlanLength - 36);
}

TEST(EndToEnd, EachOutcomeReachesTheShellAsItsExitStatus) {
    TempDir dir;
    // A 6000 m route; with a speed board in cell 1, where the build's stamp goes; without a
    // route length.
    writeFile(dir.path / "clean.txt", "[generale]\r\nlunghezza percorso, 6000\r\n[fine]\r\n");
    writeFile(dir.path / "stamp.txt",
              "[generale]\r\nlunghezza percorso, 6000\r\n[cartelli]\r\n"
              "indicatori_vmax, 0, 65, 70, 75, 0, 0, 0, 0, 0\r\n[fine]\r\n");
    writeFile(dir.path / "nolength.txt", "[generale]\r\n[curve]\r\n[fine]\r\n");
    writeFile(dir.path / "train.txt", "[generale]\r\n[fine]\r\n");
    writeFile(dir.path / "beyond.txt", "[generale]\r\nvelocita, 99999, 50\r\n[fine]\r\n");
    const struct {
        std::vector<std::string> arguments;
        int status;
    } cases[] = {
        {{"check", "clean.txt", "train.txt", "-Wno-no-records"}, 0},
        {{"check", "clean.txt", "beyond.txt"}, 1},
        {{"check", "clean.txt", "missing.txt"}, 2},
        {{"bogus"}, 2},
        {{"check", "stamp.txt", "train.txt"}, 3},
        {{"check", "nolength.txt", "train.txt"}, 4},
    };
    for (const auto& [arguments, status] : cases) {
        const ToolRun run = runToolExecutable(dir.path, arguments);
        const std::string shown = ::testing::PrintToString(arguments);
        EXPECT_EQ(run.status, status) << shown;
        EXPECT_EQ(run.err.empty(), status == 0) << shown << ": " << run.err;
    }
    const ToolRun version = runToolExecutable(dir.path, {"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "scenario 1.0\n");
}

}  // namespace
}  // namespace scenario
