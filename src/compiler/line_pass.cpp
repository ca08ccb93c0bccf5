// The line pass: reads the line source file into the track model.
#include "compiler/track_model.h"

namespace scenario {

bool ScenarioBuild::linePass() {
    return false;
}
void ScenarioBuild::progressive_ordina() {}
void ScenarioBuild::memo_montagna(std::int32_t, std::int32_t, std::int32_t&) {}
void ScenarioBuild::memo_indicatori_v_max(std::int32_t, std::int32_t&, std::int32_t&, std::int32_t&,
                                          std::int32_t&, std::int32_t&, std::int32_t&,
                                          std::int32_t&, std::int32_t&) {}

}  // namespace scenario
