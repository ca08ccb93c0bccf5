// The markers and check codes stamped into cell 1 and station entry 85, which the simulator uses
// to recognise a scenario's files as belonging together.
#pragma once

#include <cstdint>
#include <optional>

#include "compiler/track_model.h"

namespace scenario {

// The stamping found its slot taken: error 1250 (a marker) or 1251 (a check code). The build
// stops without writing a binary file.
struct StampingFailure {
    int number = 0;
};

// The check codes of the train number and the scenario name; both leave their working text in
// currentLine.
std::int16_t codice_gara_og(ScenarioBuild& build);
std::int32_t codice_gara_st(ScenarioBuild& build);

// Stamps the markers and check codes, or says which slot was already taken.
std::optional<StampingFailure> stampScenario(ScenarioBuild& build);

}  // namespace scenario
