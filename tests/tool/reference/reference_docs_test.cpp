// The reference: every error number the build knows and every warning has an explanation, and
// the checked-in documents are those the tables generate.
#include "tool/reference/reference_docs.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "report/error_meanings.h"
#include "tool/check/checker.h"
#include "tool/timing/timing_document.h"

namespace scenario {
namespace {

std::string checkedIn(const std::string& name) {
    std::ifstream in(std::string(SCENARIO_TEST_DATA) + "/../../docs/" + name, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(ReferenceDocs, EveryErrorNumberAndWarningIsExplained) {
    for (int code = 0; code <= 2000; ++code) {
        if (errorMeaning(code) == "unknown error") continue;
        EXPECT_NE(findExplanation(std::to_string(code)), nullptr) << code;
    }
    for (std::string_view name : warningNames()) EXPECT_NE(findExplanation(name), nullptr) << name;
    EXPECT_EQ(findExplanation("23"), nullptr);
    EXPECT_EQ(findExplanation("no-such-warning"), nullptr);
}

TEST(ReferenceDocs, CheckedInDocumentsAreTheGeneratedOnes) {
    EXPECT_EQ(checkedIn("format.md"), formatDocument()) << "run: build/scenario doc --out docs";
    EXPECT_EQ(checkedIn("errors.md"), errorsDocument()) << "run: build/scenario doc --out docs";
    EXPECT_EQ(checkedIn("timing.md"), timing::timingDocument())
        << "run: build/scenario doc --out docs";
}

}  // namespace
}  // namespace scenario
