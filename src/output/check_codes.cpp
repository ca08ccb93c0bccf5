// The markers and check codes stamped into cell 1 and station entry 85.
#include "compiler/track_model.h"

namespace scenario {

void ScenarioBuild::stampScenario() {}
std::int16_t ScenarioBuild::codice_gara_og() {
    return 0;
}
std::int32_t ScenarioBuild::codice_gara_st() {
    return 0;
}

}  // namespace scenario
