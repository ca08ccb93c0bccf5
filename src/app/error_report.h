// How the scenario program tells its user what went wrong once its build has run to its end: the
// line naming the recorded error, the note that no file was written, and the exit status.
#pragma once

#include <ostream>

#include "compiler/track_model.h"
#include "report/exit_status.h"

namespace scenario {

// Writes the last recorded error's line and, without a track cell table, the note; returns the
// build's exit status.
ExitStatus reportBuildEnd(const ScenarioBuild& build, std::ostream& err);

}  // namespace scenario
