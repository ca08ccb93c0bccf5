// The start of a build, and memorizza_dati: the two source passes under the compile step's one
// error trap.
#pragma once

#include <cstdint>
#include <functional>

#include "base/file_store.h"
#include "compiler/source_input.h"
#include "compiler/track_model.h"

namespace scenario {

// Clears everything of the build but its identity, and sets buildLinePlan to `j`: the one start
// of every build, so that nothing from an earlier one is left over.
void startBuild(ScenarioBuild& build, std::int32_t j);

// Runs `read` under the compile step's error trap: a run-time failure inside it closes the source
// file, deletes both source files where they still exist and records error 25 at the field that
// failed, keeping errorPosition.
void underErrorTrap(ScenarioBuild& build, SourceInput& in, const std::function<void()>& read);

// Reads the line source file, then the train source file, into the model, deleting each. A
// run-time failure in either closes and deletes both and records error 25.
void memorizza_dati(ScenarioBuild& build, FileStore& files);

// memorizza_dati in its two halves, each under the trap. The first is true when the second is to
// run: the line pass read the file to its end without a failure.
bool readLineSource(ScenarioBuild& build, FileStore& files);
void readTrainSource(ScenarioBuild& build, FileStore& files);

// What a build holds after its line pass, kept by the long-lived processes so that a train-file
// edit runs only the passes after it, on a copy. Its plan is shared by every copy.
struct LineModel {
    ScenarioBuild build;
    bool trainPassRuns = false;
};

// Makes `build` a copy of the kept model's, keeping its own watcher.
void resumeFrom(ScenarioBuild& build, const LineModel& model);

}  // namespace scenario
