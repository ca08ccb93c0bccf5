// The train pass's record readers, one per record that places objects in cells.
#pragma once

#include "compiler/pass_common.h"

namespace scenario::train {

RecordFlow readSignalRecord(ScenarioBuild& build, SourceInput& in);
RecordFlow readSlowOrderRecord(ScenarioBuild& build, SourceInput& in);
RecordFlow readSpeedCutRecord(ScenarioBuild& build, SourceInput& in);
RecordFlow readStationRecord(ScenarioBuild& build, SourceInput& in);

}  // namespace scenario::train
