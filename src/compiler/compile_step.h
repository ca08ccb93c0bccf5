// The start of a build, and memorizza_dati: the two source passes under the compile step's one
// error trap.
#pragma once

#include <cstdint>

#include "base/file_store.h"
#include "compiler/track_model.h"

namespace scenario {

// Clears everything of the build but its identity, and sets buildLinePlan to `j`: the one start
// of every build, so that nothing from an earlier one is left over.
void startBuild(ScenarioBuild& build, std::int32_t j);

// Reads the line source file, then the train source file, into the model, deleting each. A
// run-time failure in either closes and deletes both and records error 25.
void memorizza_dati(ScenarioBuild& build, FileStore& files);

}  // namespace scenario
