// The line pass: reads the line source file into the track model, and the procedures that place
// its objects.
#pragma once

#include <cstdint>

#include "compiler/source_input.h"
#include "compiler/track_model.h"

namespace scenario {

// Reads the line source file and deletes it; false when the train pass must not run.
bool linePass(ScenarioBuild& build, SourceInput& in);

// Orders the three kilometre-post entries by position, the largest first.
void progressive_ordina(ScenarioBuild& build);
// Gives a tunnel's cells their tunnel kind and, above kind 10, every fourth empty cell a marker.
// Changes `tipo` as it reads it.
void memo_montagna(ScenarioBuild& build, std::int32_t inizio, std::int32_t fine,
                   std::int32_t& tipo);
// Places a maximum-speed board group; an occupied cell sets errorCode 21.
void memo_indicatori_v_max(ScenarioBuild& build, std::int32_t posizione, std::int32_t vas,
                           std::int32_t vbs, std::int32_t vcs, std::int32_t strisces,
                           std::int32_t vad, std::int32_t vbd, std::int32_t vcd,
                           std::int32_t strisced);

}  // namespace scenario
