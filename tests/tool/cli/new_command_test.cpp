// scenario new and scenario explain, as an author meets them: a starter that checks clean, and
// an explanation for what a check printed.
#include <gtest/gtest.h>

#include <string>

#include "tool/tool_runner.h"

namespace scenario {
namespace {

using namespace scenario::testing;

TEST(NewCommand, StarterChecksCleanUnderTheNamesItsFileNamesGive) {
    TempDir dir;
    const ToolRun made = runTool(dir.path, {"new", "Prova", "7", "--out", "."});
    ASSERT_EQ(made.status, 0) << made.err;
    EXPECT_EQ(made.out, "./Prova_linea.txt\n./Prova_7-.txt\n");
    const ToolRun checked = runTool(dir.path, {"check", "Prova_linea.txt", "Prova_7-.txt"});
    EXPECT_EQ(checked.status, 0);
    EXPECT_EQ(checked.err, "");
    const ToolRun compiled = runTool(dir.path, {"compile", "Prova_linea.txt", "Prova_7-.txt",
                                                "--name", "Prova", "--train", "7", "-Werror"});
    EXPECT_EQ(compiled.status, 0) << compiled.err;
    EXPECT_TRUE(fs::exists(dir.path / "Prova_7.sim"));

    const ToolRun again = runTool(dir.path, {"new", "Prova", "7"});
    EXPECT_EQ(again.status, 2);
    EXPECT_NE(again.err.find("exists already"), std::string::npos) << again.err;
}

TEST(ExplainCommand, ExplainsErrorNumbersAndWarningNames) {
    TempDir dir;
    const struct {
        const char* what;
        int status;
        const char* starts;
    } cases[] = {
        {"25", 0, "error 25: "},
        {"1251", 0, "error 1251: "},
        {"unknown-record", 0, "warning unknown-record\n"},
        {"23", 2, ""},
        {"bogus", 2, ""},
    };
    for (const auto& c : cases) {
        const ToolRun run = runTool(dir.path, {"explain", c.what});
        EXPECT_EQ(run.status, c.status) << c.what;
        EXPECT_EQ(run.out.rfind(c.starts, 0), 0u) << c.what << ": " << run.out;
        if (c.status != 0) continue;
        EXPECT_NE(run.out.find("\nFix: "), std::string::npos) << c.what;
    }
}

}  // namespace
}  // namespace scenario
