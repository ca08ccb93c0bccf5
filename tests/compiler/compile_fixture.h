// A build over in-memory files, for compiling small source texts in tests.
#pragma once

#include <string>

#include "base/file_store.h"
#include "compiler/compile_step.h"
#include "compiler/track_model.h"

namespace scenario::testing {

struct CompileFixture {
    MemoryStore store;
    ScenarioBuild build;

    CompileFixture() {
        // assign() rather than a literal: GCC 12 warns falsely (-Wrestrict) on the latter here.
        build.scenarioName.assign(1, 'S');
        build.trainNumber.assign(1, '1');
    }

    void setLineSource(const std::string& text) {
        store.files[build.identity().lineSourceFile()] = text;
    }
    void setTrainSource(const std::string& text) {
        store.files[build.identity().trainSourceFile()] = text;
    }
    bool hasLineSource() const { return store.exists(build.identity().lineSourceFile()); }
    bool hasTrainSource() const { return store.exists(build.identity().trainSourceFile()); }

    // Starts the build and runs memorizza_dati as the compile driver does, without the passes
    // after it.
    void compileSources(int buildPlan = 1) {
        startBuild(build, buildPlan);
        memorizza_dati(build, store);
    }
    // The same, with a look at the build between its start and the passes.
    template <typename Between>
    void compileSources(int buildPlan, Between between) {
        startBuild(build, buildPlan);
        between(build);
        memorizza_dati(build, store);
    }

    TrackCell& cell(int index) { return build.trackCells.at(static_cast<std::size_t>(index)); }
};

// What stopped the reading when the trap caught a failure (the last error's detail).
inline std::string failureDetail(const ScenarioBuild& build) {
    return build.errors.empty() ? std::string() : build.errors.back().detail;
}

// Joins lines with CR LF after each, as the writers lay source files out.
inline std::string crlfLines(std::initializer_list<const char*> lines) {
    std::string text;
    for (const char* line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

}  // namespace scenario::testing
