// The highlighting files under editors/ are what the record tables generate.
#include "tool/reference/editor_syntax.h"

#include <gtest/gtest.h>

#include "tool/tool_runner.h"

namespace scenario {
namespace {

TEST(EditorSyntax, CheckedInFilesMatchTheTables) {
    const std::filesystem::path editors =
        std::filesystem::path(SCENARIO_TEST_DATA) / "../../editors";
    for (const GeneratedFile& file : editorSyntaxFiles())
        EXPECT_EQ(testing::readFile(editors / file.path), file.text)
            << file.path << " differs: run build/scenario syntax";
}

}  // namespace
}  // namespace scenario
