// scenario serve ends at once, with exit status 2 and one line saying why, when it cannot start:
// a file it is to watch cannot be read, or its port is taken.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tool/serve/preview_server.h"
#include "tool/tool_runner.h"

namespace scenario {
namespace {

using namespace scenario::testing;

const std::string kLine = "Alderi_Moncasta_linea.txt";
const std::string kTrain = "Alderi_Moncasta_30752-.txt";

TEST(ServeCommand, FileThatCannotBeReadAtTheStartIsAnError) {
    TempDir dir;
    ASSERT_EQ(runTool(dir.path, {"export", "--out", "."}).status, 0);
    struct Case {
        std::vector<std::string> arguments;
        const char* missing;
    };
    const Case cases[] = {
        {{"serve", "none_linea.txt", kTrain}, "none_linea.txt"},
        {{"serve", kLine, "none_1-.txt"}, "none_1-.txt"},
        {{"serve", kLine, kTrain, "--stock", "none.stock"}, "none.stock"},
    };
    for (const Case& c : cases) {
        const ToolRun run = runTool(dir.path, c.arguments);
        EXPECT_EQ(run.status, 2) << c.missing;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, std::string("scenario serve: cannot read ") + c.missing + "\n");
    }
}

TEST(ServeCommand, PortInUseIsAnError) {
    TempDir dir;
    ASSERT_EQ(runTool(dir.path, {"export", "--out", "."}).status, 0);
    const PreviewServer taken(0, nlohmann::json::object());
    const std::string port = std::to_string(taken.port());
    const ToolRun run = runTool(dir.path, {"serve", kLine, kTrain, "--port", port});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "scenario serve: port " + port +
                           " on 127.0.0.1 is in use; choose another with --port, or --port 0 "
                           "for a free one\n");
}

}  // namespace
}  // namespace scenario
