// Compiles a small pair of source files with the scenario tool and checks the three files
// against a model worked out by hand from the format's rules.
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
    const ToolRun run = runTool(dir.path, "compile " + quoted((kFixture / "E_linea.txt").string()) +
                                              " " + quoted((kFixture / "E_7-.txt").string()) +
                                              " --name E --train 7 --json");
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

}  // namespace
}  // namespace scenario
