// A kept line model, with only the train pass and what follows it run again on a copy, gives what
// a fresh compile gives, edit after edit.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "base/file_store.h"
#include "compiler/compile_step.h"
#include "generated_sources.h"
#include "output/compile_driver.h"

namespace scenario {
namespace {

struct Compiled {
    std::map<std::string, std::string> outputs;
    std::vector<Diagnostic> errors;
    std::vector<Diagnostic> warnings;
    std::int32_t errorCode = 0;
    std::int32_t errorPosition = 0;
    std::optional<std::int32_t> stampingError;
};

ScenarioBuild namedBuild() {
    ScenarioBuild build;
    build.scenarioName = std::string("Kept");
    build.trainNumber = std::string("7");
    return build;
}

MemoryStore sourcesIn(const ScenarioBuild& build, const std::string& line,
                      const std::string& train) {
    MemoryStore store;
    store.files[build.identity().lineSourceFile()] = line;
    store.files[build.identity().trainSourceFile()] = train;
    return store;
}

Compiled outcomeOf(const ScenarioBuild& build, MemoryStore& store,
                   const std::optional<StampingFailure>& stop) {
    Compiled c{store.files,     build.errors,        build.warnings,
               build.errorCode, build.errorPosition, std::nullopt};
    // What is left of the sources depends on the store each half was given, not on the build.
    c.outputs.erase(build.identity().lineSourceFile());
    c.outputs.erase(build.identity().trainSourceFile());
    if (stop) c.stampingError = stop->number;
    return c;
}

Compiled freshCompile(const std::string& line, const std::string& train) {
    ScenarioBuild build = namedBuild();
    MemoryStore store = sourcesIn(build, line, train);
    const std::optional<StampingFailure> stop = memorizza_percorso(build, store, 1);
    return outcomeOf(build, store, stop);
}

// As an editor process keeps it: the line pass runs again only when the line text changes.
class KeptCompiles {
  public:
    Compiled compile(const std::string& line, const std::string& train) {
        if (!model_ || line != lineText_) {
            ScenarioBuild build = namedBuild();
            MemoryStore store = sourcesIn(build, line, train);
            model_.emplace();
            model_->trainPassRuns = startWithLinePass(build, store, 1);
            model_->build = std::move(build);
            lineText_ = line;
        }
        ScenarioBuild build = namedBuild();
        resumeFrom(build, *model_);
        MemoryStore store;
        store.files[build.identity().trainSourceFile()] = train;
        const std::optional<StampingFailure> stop =
            finishAfterLinePass(build, model_->trainPassRuns, store);
        return outcomeOf(build, store, stop);
    }

  private:
    std::optional<LineModel> model_;
    std::string lineText_;
};

std::string withSecondSignalAt(std::string train, int metres) {
    const std::string codes = "[codici]";
    train.insert(train.find(codes),
                 "segnale,  " + std::to_string(metres) + ",   2, 3, 1,  0, 0,    0,  0,0,0, 0\r\n");
    return train;
}

void expectSame(const Compiled& kept, const Compiled& fresh, const std::string& step) {
    SCOPED_TRACE(step);
    EXPECT_EQ(kept.errorCode, fresh.errorCode);
    EXPECT_EQ(kept.errorPosition, fresh.errorPosition);
    EXPECT_EQ(kept.stampingError, fresh.stampingError);
    ASSERT_EQ(kept.errors.size(), fresh.errors.size());
    for (std::size_t i = 0; i < kept.errors.size(); ++i) {
        EXPECT_EQ(kept.errors[i].code, fresh.errors[i].code);
        EXPECT_EQ(kept.errors[i].location.line, fresh.errors[i].location.line);
        EXPECT_EQ(kept.errors[i].location.file, fresh.errors[i].location.file);
        EXPECT_EQ(kept.errors[i].detail, fresh.errors[i].detail);
    }
    ASSERT_EQ(kept.warnings.size(), fresh.warnings.size());
    for (std::size_t i = 0; i < kept.warnings.size(); ++i)
        EXPECT_EQ(kept.warnings[i].message, fresh.warnings[i].message);
    // The outputs, when any, are the same bytes.
    ASSERT_EQ(kept.outputs.size(), fresh.outputs.size());
    for (const auto& [name, bytes] : fresh.outputs) {
        ASSERT_EQ(kept.outputs.count(name), 1u) << name;
        EXPECT_TRUE(kept.outputs.at(name) == bytes) << name << " differs";
    }
}

TEST(KeptLineModel, EachEditGivesWhatAFreshCompileGives) {
    const std::string route30 = bench::generatedLineSource(30000);
    const std::string route45 = bench::generatedLineSource(45000);
    const std::string trainA = bench::generatedTrainSource(5, 100);
    const std::string trainB = bench::generatedTrainSource(6, 120);
    struct Edit {
        const char* what;
        std::string line;
        std::string train;
        bool clean;
    };
    const std::vector<Edit> edits = {
        {"first compile", route30, trainA, true},
        {"train edit", route30, trainB, true},
        {"a signal on a taken cell", route30, withSecondSignalAt(trainB, 1050), false},
        {"the signal moved off it", route30, withSecondSignalAt(trainB, 1150), true},
        {"slow orders, spacing points", route30, bench::generatedSlowOrderSource(6), true},
        {"a longer route", route45, bench::generatedSlowOrderSource(9), true},
        {"train edit on it", route45, bench::generatedTrainSource(9, 200), true},
        {"a signal past the route", route45, withSecondSignalAt(trainA, 60000), false},
        {"mended", route45, trainA, true},
        {"a line file without a route length", "[generale]\r\n[fine]\r\n", trainA, false},
        {"back to the shorter route", route30, trainA, true},
    };
    KeptCompiles kept;
    for (const Edit& e : edits) {
        const Compiled fresh = freshCompile(e.line, e.train);
        EXPECT_EQ(fresh.errorCode == 0 && !fresh.outputs.empty(), e.clean) << e.what;
        expectSame(kept.compile(e.line, e.train), fresh, e.what);
    }
}

TEST(KeptLineModel, CopiesLeaveTheKeptModelAsItWas) {
    ScenarioBuild build = namedBuild();
    MemoryStore store =
        sourcesIn(build, bench::generatedLineSource(20000), bench::generatedSlowOrderSource(4));
    LineModel model;
    model.trainPassRuns = startWithLinePass(build, store, 1);
    model.build = std::move(build);
    const std::vector<TrackCell> cellsBefore = model.build.trackCells;

    ScenarioBuild copy = namedBuild();
    resumeFrom(copy, model);
    finishAfterLinePass(copy, model.trainPassRuns, store);
    ASSERT_TRUE(model.trainPassRuns);
    EXPECT_NE(copy.trackCells.size(), 0u);
    // The train pass and spacing wrote signals and points into the copy's cells only.
    bool differs = false;
    for (std::size_t i = 0; i < cellsBefore.size(); ++i) {
        EXPECT_EQ(model.build.trackCells[i].kind, cellsBefore[i].kind) << "cell " << i;
        differs = differs || copy.trackCells[i].kind != cellsBefore[i].kind;
    }
    EXPECT_TRUE(differs);
}

}  // namespace
}  // namespace scenario
