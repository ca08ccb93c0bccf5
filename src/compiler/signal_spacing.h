// The signal-spacing pass: completes the model with speed-cut points around slow orders.
#pragma once

#include "compiler/track_model.h"

namespace scenario {

void signalSpacingPass(ScenarioBuild& build);

}  // namespace scenario
