// The train pass: reads the train source file into the track model, and the procedures that
// place signals and slow orders.
#pragma once

#include <cstdint>

#include "compiler/source_input.h"
#include "compiler/track_model.h"

namespace scenario {

// Reads the train source file and deletes it.
void trainPass(ScenarioBuild& build, SourceInput& in);

// Places a signal and its approach codes; an occupied cell sets errorCode 16. Changes the
// caller's `tempo`.
void memo_segnale(ScenarioBuild& build, std::int32_t posizione, std::int32_t sx, std::int32_t s1,
                  std::int32_t s2, std::int32_t s3, std::int32_t rapp, std::int32_t dx,
                  std::int32_t d1, std::int32_t d2, std::int32_t d3, std::int32_t& tempo);
// Places a slow order's boards; an occupied cell sets errorCode 17 to 20.
void memo_rallentamento(ScenarioBuild& build, std::int32_t x, std::int32_t v, std::int32_t l,
                        std::int32_t f_tt, std::int32_t f_ta, std::int32_t d_v);

}  // namespace scenario
