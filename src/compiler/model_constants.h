// The model's fixed sizes and thresholds, named once: the passes, the checks over the model and
// the authors' tool all take them from here.
#pragma once

#include <cstdint>

namespace scenario {

// Every route position falls in a cell of this many metres.
inline constexpr std::int32_t kCellLength = 50;
// The cells and plan metres that run on past the route's end.
inline constexpr std::int32_t kRouteTail = 7000;
// A station of this kind or above gets no station cell.
inline constexpr std::uint8_t kFirstStopWithoutCell = 25;

// Turn per metre of curve classes 1 to 6, the widest first.
inline constexpr double kCurveTurns[] = {0.0001, 0.0002, 0.0004, 0.001, 0.002, 0.003};
inline constexpr int kCurveClasses = 6;

// The station table: stations from entry 1 up, sign texts from kFirstSignSlot down, then the
// kilometre posts and the entries of the train and the scenario.
inline constexpr int kStationTableSize = 87;
inline constexpr int kFirstSignSlot = 80;
// Stations fit below this entry, less one for each sign text.
inline constexpr int kStationCapacity = 78;
inline constexpr int kFirstKilometrePostSlot = 81;
inline constexpr int kLastKilometrePostSlot = 83;
inline constexpr int kTrainDataSlot = 84;
inline constexpr int kScenarioSlot = 85;
inline constexpr int kTrainEntrySlot = 86;

// The tunnel lists keep this many tunnels; later ones share the last slot.
inline constexpr int kTunnelSlots = 80;

}  // namespace scenario
