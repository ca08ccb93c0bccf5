// Two compiles of one scenario into one directory at the same time, from sources that differ:
// each file ends up whole, from one run or the other, and no temporary file is left.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "generated_sources.h"
#include "output/child_process.h"
#include "output/file_versions.h"

namespace scenario {
namespace {

using namespace scenario::testing;

TEST(ConcurrentCompiles, EachFileIsWholeFromOneOfTheTwoRuns) {
    TempDir sources;
    std::vector<std::vector<std::string>> runs;
    std::vector<std::map<std::string, std::string>> outputs;
    for (const int kilometres : {20, 25}) {
        const std::int32_t route = kilometres * 1000;
        const fs::path line = sources.path / (std::to_string(kilometres) + "-line.txt");
        const fs::path train = sources.path / (std::to_string(kilometres) + "-train.txt");
        writeFile(line, bench::generatedLineSource(route));
        writeFile(train, bench::generatedTrainSource(route / 5000, (route - 2000) / 200));
        TempDir alone;
        std::vector<std::string> argv = {SCENARIO_TOOL,  "compile", line.string(),
                                         train.string(), "--name",  "C",
                                         "--train",      "2",       "--out"};
        argv.push_back(alone.path.string());
        ASSERT_EQ(runChild(argv), 0);
        outputs.push_back(filesIn(alone.path));
        argv.pop_back();
        runs.push_back(argv);
    }
    ASSERT_EQ(outputs[0].size(), 3u);

    for (int round = 0; round < 50; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        TempDir out;
        std::vector<pid_t> children;
        for (std::vector<std::string> argv : runs) {
            argv.push_back(out.path.string());
            children.push_back(startChild(argv, {}));
        }
        for (const pid_t child : children) EXPECT_EQ(waitChild(child), 0);
        const std::map<std::string, std::string> found = filesIn(out.path);
        ASSERT_EQ(found.size(), 3u);
        for (const auto& [name, bytes] : found)
            EXPECT_TRUE(bytes == outputs[0].at(name) || bytes == outputs[1].at(name))
                << name << " is not whole from either run";
    }
}

}  // namespace
}  // namespace scenario
