// memorizza_percorso, the compile driver: compiles both sources, completes the model, stamps it
// and writes the three binary files.
#pragma once

#include <cstdint>
#include <optional>

#include "base/file_store.h"
#include "compiler/track_model.h"
#include "output/stamping.h"

namespace scenario {

// The build starts here from a value: everything but its identity is cleared, and `j` says
// whether the plan is built. A stamping failure is returned before any file is written; a line
// pass that read no route length leaves nothing to complete or write.
std::optional<StampingFailure> memorizza_percorso(ScenarioBuild& build, FileStore& files,
                                                  std::int32_t j);

// memorizza_percorso in two halves, for the processes that keep the line model between edits:
// the start and the line pass, true when the train pass is to run; then the train pass (when
// it runs) and everything after it.
bool startWithLinePass(ScenarioBuild& build, FileStore& files, std::int32_t j);
std::optional<StampingFailure> finishAfterLinePass(ScenarioBuild& build, bool trainPassRuns,
                                                   FileStore& files);

}  // namespace scenario
