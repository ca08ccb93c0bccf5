// How a finished build tells its user what went wrong: the line naming its recorded error, the
// note that no file was written, and the exit status.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "app/exit_status.h"
#include "compiler/track_model.h"

namespace scenario {

// "FILE:LINE: error 16: signal on a cell already taken (at 2600 m)". The file part appears only
// when a source record raised the error, the position only for errors that record one; `detail`
// says what stopped the reading, for error 25.
std::string errorDiagnostic(const RecordedError& error, std::string_view fileShown,
                            std::string_view detail);
// The same for the error the build recorded last.
std::string recordedErrorLine(const ScenarioBuild& build, std::string_view fileShown);

inline constexpr std::string_view kNoTrackCellsNote =
    "no track cell table (no route length was read): no scenario file written";

// Status of a build that ran to its end (no stamping error, no file failure).
ExitStatus buildExitStatus(const ScenarioBuild& build);

// Writes the recorded error's line and, without a track cell table, the note; returns the
// build's exit status. `fileShown` names the file of the record that raised the error.
ExitStatus reportBuildEnd(const ScenarioBuild& build, std::string_view fileShown,
                          std::ostream& err);

}  // namespace scenario
