// Exit statuses shared by the scenario program and the authors' tool, and the note that goes
// with a build that wrote no file.
#pragma once

#include <string_view>

namespace scenario {

enum ExitStatus : int {
    kExitClean = 0,         // no recorded error
    kExitDataError = 1,     // a data error was recorded; the files are still written
    kExitFileFailure = 2,   // a file could not be read, written or deleted (or a usage error)
    kExitStamping = 3,      // the stamping stopped the build; no binary file written
    kExitNoTrackCells = 4,  // no track cell table; no binary file written
};

// Status of a build that ran to its end (no stamping error, no file failure).
inline ExitStatus buildEndStatus(bool hasTrackCellTable, int errorCode) {
    if (!hasTrackCellTable) return kExitNoTrackCells;
    return errorCode == 0 ? kExitClean : kExitDataError;
}

inline constexpr std::string_view kNoTrackCellsNote =
    "no track cell table (no route length was read): no scenario file written";

}  // namespace scenario
