// The signal-spacing pass: speed-cut points around slow orders.
#include "compiler/track_model.h"

namespace scenario {

void ScenarioBuild::signalSpacingPass() {}

}  // namespace scenario
