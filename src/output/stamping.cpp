// The markers and check codes stamped into cell 1 and station entry 85.
#include "output/stamping.h"

#include <string>

#include "base/code_page.h"

namespace scenario {
namespace {

constexpr const char* kFiller = "aabbccddeeffgghhiillmmnnoo";
constexpr std::size_t kCodedLength = 25;  // the filler alone is 26 bytes, so these always exist
constexpr std::int16_t kStationMarker = 610;
constexpr std::int16_t kCellMarker = 5121;

// Train number, then scenario name, in lower case, then the filler; left in currentLine.
const std::string& prepareWorkingText(ScenarioBuild& build) {
    build.currentLine = toLowerText(build.trainEntry().name + build.scenarioEntry().name) + kFiller;
    return build.currentLine;
}

}  // namespace

std::int16_t codice_gara_og(ScenarioBuild& build) {
    const std::string& text = prepareWorkingText(build);
    std::int32_t sum = 0;
    for (std::size_t i = 0; i < kCodedLength; ++i) sum += static_cast<unsigned char>(text[i]);
    return static_cast<std::int16_t>(sum);  // at most 25 x 255 = 6375
}

std::int32_t codice_gara_st(ScenarioBuild& build) {
    const std::string& text = prepareWorkingText(build);
    std::int32_t sum = 0;
    for (std::size_t i = 0; i < kCodedLength; ++i)
        sum += static_cast<std::int32_t>(i + 1) * static_cast<unsigned char>(text[i]);
    return sum;
}

std::optional<StampingFailure> stampScenario(ScenarioBuild& build) {
    StationRecord& identityEntry = build.scenarioEntry();
    TrackCell& stampCell = build.cell(1);
    if (identityEntry.groupA1 != 0 || stampCell.value1 != 0) return StampingFailure{1250};
    identityEntry.groupA1 = kStationMarker;
    stampCell.value1 = kCellMarker;
    if (identityEntry.departureTime != 0 || stampCell.value2 != 0) return StampingFailure{1251};
    identityEntry.departureTime = codice_gara_st(build);
    stampCell.value2 = codice_gara_og(build);
    return std::nullopt;
}

}  // namespace scenario
