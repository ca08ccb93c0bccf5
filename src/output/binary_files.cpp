// The three binary scenario files: line data, station table, track cells.
#include "compiler/track_model.h"

namespace scenario {

void ScenarioBuild::writeScenarioFiles() {}

}  // namespace scenario
