// A build over in-memory files, for compiling small source texts in tests.
#pragma once

#include <string>

#include "compiler/track_model.h"
#include "output/file_store.h"

namespace scenario::testing {

struct CompileFixture {
    MemoryStore store;
    ScenarioBuild build{store};

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

    // Runs memorizza_dati as the compile driver does, without the passes after it.
    void compileSources(int buildPlan = 1) {
        build.buildLinePlan = buildPlan;
        build.errorCode = 0;
        build.errorSpare = 0;
        for (StationRecord& r : build.stationTable) r = StationRecord{};
        build.memorizza_dati();
    }

    TrackCell& cell(int index) { return build.trackCells.at(static_cast<std::size_t>(index)); }
};

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
