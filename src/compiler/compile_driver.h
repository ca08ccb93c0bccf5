// What the compile driver needs before it completes, stamps and writes the model.
#pragma once

#include "compiler/track_model.h"

namespace scenario {

// True when the line pass created the track cell table and it holds cell 1, where the stamps
// go. Without it the driver writes no file, and the caller reports the recorded error.
inline bool hasTrackCellTable(const ScenarioBuild& build) {
    return build.cellExists(1);
}

}  // namespace scenario
