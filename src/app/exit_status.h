// Exit statuses shared by the scenario program and the authors' tool.
#pragma once

namespace scenario {

enum ExitStatus : int {
    kExitClean = 0,         // no recorded error
    kExitDataError = 1,     // a data error was recorded; the files are still written
    kExitFileFailure = 2,   // a file could not be read, written or deleted (or a usage error)
    kExitStamping = 3,      // the stamping stopped the build; no binary file written
    kExitNoTrackCells = 4,  // no track cell table; no binary file written
};

}  // namespace scenario
