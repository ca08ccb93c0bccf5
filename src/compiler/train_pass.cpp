// The train pass: reads the train source file into the track model.
#include "compiler/track_model.h"

namespace scenario {

void ScenarioBuild::trainPass() {}
void ScenarioBuild::memo_segnale(std::int32_t, std::int32_t&, std::int32_t&, std::int32_t&,
                                 std::int32_t&, std::int32_t&, std::int32_t&, std::int32_t&,
                                 std::int32_t&, std::int32_t&, std::int32_t&) {}
void ScenarioBuild::memo_rallentamento(std::int32_t, std::int32_t&, std::int32_t&, std::int32_t&,
                                       std::int32_t, std::int32_t&) {}

}  // namespace scenario
