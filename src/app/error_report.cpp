// errore, the build's own numbered message that ends the build, and the report of a recorded
// data error once the build has run to its end.
#include "app/error_report.h"

#include <charconv>

#include "app/error_messages.h"
#include "compiler/compile_driver.h"
#include "compiler/failures.h"

namespace scenario {
namespace {

constexpr std::int32_t kOkButton = 1;

}  // namespace

void ScenarioBuild::errore(const std::string& a) {
    // There is no box to close: the message goes to the caller, which shows it and ends.
    messageAnswer = kOkButton;
    int number = 0;
    std::from_chars(a.data(), a.data() + a.size(), number);
    throw BuildStopped(number, " Errore n. " + a);
}

std::string recordedErrorLine(const ScenarioBuild& build, std::string_view fileShown) {
    std::string line;
    if (!fileShown.empty() && build.errorLine > 0)
        line.append(fileShown).append(":").append(std::to_string(build.errorLine)).append(": ");
    line += "error " + std::to_string(build.errorCode);
    if (errorHasPosition(build.errorCode))
        line += " at " + std::to_string(build.errorPosition) + " m";
    line.append(": ").append(errorMeaning(build.errorCode));
    if (build.errorCode == 25 && !build.failureReason.empty())
        line += " (" + build.failureReason + ")";
    return line;
}

ExitStatus buildExitStatus(const ScenarioBuild& build) {
    if (!hasTrackCellTable(build)) return kExitNoTrackCells;
    return build.errorCode == 0 ? kExitClean : kExitDataError;
}

ExitStatus reportBuildEnd(const ScenarioBuild& build, std::string_view fileShown,
                          std::ostream& err) {
    if (build.errorCode != 0) err << recordedErrorLine(build, fileShown) << '\n';
    const ExitStatus status = buildExitStatus(build);
    if (status == kExitNoTrackCells) err << kNoTrackCellsNote << '\n';
    return status;
}

}  // namespace scenario
