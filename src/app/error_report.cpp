// errore, the build's own numbered message that ends the program, and the report of a recorded
// data error once the build has run to its end.
#include "app/error_report.h"

#include "app/form_load.h"
#include "report/diagnostic.h"

namespace scenario {
namespace {

constexpr std::int32_t kOkButton = 1;

}  // namespace

void errore(ScenarioBuild& build, const std::string& a) {
    // There is no box to close: the message goes to main, which shows it and ends.
    build.messageAnswer = kOkButton;
    throw ProgramEnd{stampingErrorText(a)};
}

ExitStatus reportBuildEnd(const ScenarioBuild& build, std::ostream& err) {
    if (build.errorCode != 0 && !build.errors.empty()) {
        const Diagnostic& last = build.errors.back();
        err << diagnosticText(last, last.location.file) << '\n';
    }
    const ExitStatus status = buildEndStatus(build.hasTrackCellTable(), build.errorCode);
    if (status == kExitNoTrackCells) err << kNoTrackCellsNote << '\n';
    return status;
}

}  // namespace scenario
