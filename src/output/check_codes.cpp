// The markers and check codes stamped into cell 1 and station entry 85, which the simulator
// uses to recognise a scenario's files as belonging together.
#include <cstdint>
#include <string>

#include "compiler/track_model.h"
#include "source/code_page.h"

namespace scenario {
namespace {

constexpr const char* kFiller = "aabbccddeeffgghhiillmmnnoo";
constexpr std::size_t kCodedLength = 25;  // the filler alone is 26 bytes, so these always exist
constexpr std::int16_t kStationMarker = 610;
constexpr std::int16_t kCellMarker = 5121;

// Train number, then scenario name, in lower case, then the filler; left in currentLine.
const std::string& prepareWorkingText(ScenarioBuild& build) {
    build.currentLine =
        toLowerText(build.stationTable[86].name + build.stationTable[85].name) + kFiller;
    return build.currentLine;
}

}  // namespace

std::int16_t ScenarioBuild::codice_gara_og() {
    const std::string& text = prepareWorkingText(*this);
    std::int32_t sum = 0;
    for (std::size_t i = 0; i < kCodedLength; ++i) sum += static_cast<unsigned char>(text[i]);
    return static_cast<std::int16_t>(sum);  // at most 25 x 255 = 6375
}

std::int32_t ScenarioBuild::codice_gara_st() {
    const std::string& text = prepareWorkingText(*this);
    std::int32_t sum = 0;
    for (std::size_t i = 0; i < kCodedLength; ++i)
        sum += static_cast<std::int32_t>(i + 1) * static_cast<unsigned char>(text[i]);
    return sum;
}

void ScenarioBuild::stampScenario() {
    StationRecord& identityEntry = stationTable[85];
    TrackCell& stampCell = cell(1);
    if (identityEntry.groupA1 != 0 || stampCell.value1 != 0) errore("1250");
    identityEntry.groupA1 = kStationMarker;
    stampCell.value1 = kCellMarker;
    if (identityEntry.departureTime != 0 || stampCell.value2 != 0) errore("1251");
    identityEntry.departureTime = codice_gara_st();
    stampCell.value2 = codice_gara_og();
}

}  // namespace scenario
