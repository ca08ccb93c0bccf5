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

std::string errorDiagnostic(const RecordedError& error, std::string_view fileShown,
                            std::string_view detail) {
    std::string line;
    if (!fileShown.empty() && error.line > 0)
        line.append(fileShown).append(":").append(std::to_string(error.line)).append(": ");
    line += "error " + std::to_string(error.code) + ": ";
    line += errorMeaning(error.code);
    if (error.code == 25 && !detail.empty()) line.append(": ").append(detail);
    if (errorHasPosition(error.code)) line += " (at " + std::to_string(error.position) + " m)";
    return line;
}

std::string recordedErrorLine(const ScenarioBuild& build, std::string_view fileShown) {
    const RecordedError last{build.errorCode, build.errorPosition, build.errorFile,
                             build.errorLine};
    return errorDiagnostic(last, fileShown, build.failureReason);
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
