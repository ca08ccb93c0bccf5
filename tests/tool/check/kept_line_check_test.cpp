// A check through a kept line model, as the editor's server makes one after each edit, finds what a
// fresh check finds: the same diagnostics, placed at the same records, in the same order.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "generated_sources.h"
#include "tool/check/compile_session.h"

namespace scenario {
namespace {

std::string diagnosticText(const Diagnostic& d) {
    return std::to_string(static_cast<int>(d.severity)) + " " + std::to_string(d.code) + " " +
           d.name + " " + d.location.file + ":" + std::to_string(d.location.line) + ":" +
           std::to_string(d.location.firstColumn) + "-" + std::to_string(d.location.lastColumn) +
           " " + d.message + " | " + d.detail + " | " + d.related.file + ":" +
           std::to_string(d.related.line) + (d.afterFirst ? " after" : "");
}

std::vector<std::string> texts(const SourceCheck& check) {
    std::vector<std::string> all;
    for (const Diagnostic& d : check.diagnostics) all.push_back(diagnosticText(d));
    return all;
}

std::string withRecordBefore(std::string text, const std::string& header,
                             const std::string& record) {
    text.insert(text.find(header), record + "\r\n");
    return text;
}

TEST(KeptLineCheck, EachEditFindsWhatAFreshCheckFinds) {
    const std::string line = bench::generatedLineSource(40000);
    // A record the checker does not know, so that the line file's warnings are kept too.
    const std::string lineWithWarning = withRecordBefore(line, "[fine]", "segnal, 300, 2");
    const std::string train = bench::generatedTrainSource(6, 150);
    const std::string signal = "segnale,  1050,   2, 3, 1,  0, 0,    0,  0,0,0, 0";
    struct Edit {
        const char* what;
        std::string line;
        std::string train;
        std::string finds = {};  // a code that the check must give, so that the edit tests it
    };
    const std::vector<Edit> edits = {
        {"first check", lineWithWarning, train},
        {"train edit", lineWithWarning, bench::generatedTrainSource(7, 160)},
        {"a signal on a taken cell", lineWithWarning, withRecordBefore(train, "[codici]", signal)},
        {"two of them", lineWithWarning,
         withRecordBefore(withRecordBefore(train, "[codici]", signal), "[codici]", signal)},
        // Placed through the cells' records: the stamp's place, then a clean check without them.
        {"a signal where the build stamps", lineWithWarning,
         withRecordBefore(train, "[codici]", "segnale,  0,   2, 3, 1,  0, 0,    0,  0,0,0, 0"),
         " 1250 "},
        {"mended", lineWithWarning, train},
        {"the line edited", line, train},
        {"a longer route", bench::generatedLineSource(50000), bench::generatedTrainSource(9, 200)},
        {"train edit on it", bench::generatedLineSource(50000), bench::generatedSlowOrderSource(9)},
    };
    const ScenarioIdentity names{"Kept", "3"};
    KeptLineModel kept;
    for (const Edit& e : edits) {
        SCOPED_TRACE(e.what);
        const SourceCheck fresh = checkSources(e.line, e.train, names);
        const SourceCheck reused = checkSources(e.line, e.train, names, nullptr, &kept);
        EXPECT_TRUE(kept.holds(names, e.line));
        EXPECT_EQ(texts(reused), texts(fresh));
        if (!e.finds.empty()) {
            EXPECT_TRUE(std::any_of(fresh.diagnostics.begin(), fresh.diagnostics.end(),
                                    [&](const Diagnostic& d) {
                                        return diagnosticText(d).find(e.finds) != std::string::npos;
                                    }));
        }
    }
    // Under other names the line model is made again.
    EXPECT_FALSE(kept.holds({"Kept", "4"}, line));
}

}  // namespace
}  // namespace scenario
