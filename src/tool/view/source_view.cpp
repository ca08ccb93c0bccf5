// Compiles the author's two sources in memory with the records behind every cell kept, and turns
// the build and its diagnostics into the view's data.
#include "tool/view/source_view.h"

#include <fmt/format.h>

#include "base/platform.h"
#include "base/text_encoding.h"
#include "report/exit_status.h"
#include "source/file_names.h"
#include "tool/check/compile_session.h"
#include "tool/check/diagnostics.h"
#include "tool/route/cell_origins.h"
#include "tool/timing/stock_file.h"
#include "tool/view/view_data.h"

namespace scenario {

std::string viewTitle(const std::string& name, const std::string& train, std::int32_t length) {
    return fmt::format("{}, train {}: {:.3f} km", utf8FromWindows1252(name),
                       utf8FromWindows1252(train), length / 1000.0);
}

SourceView viewOfSources(const std::string& lineFile, const std::string& trainFile,
                         const std::string& lineBytes, const std::string& trainBytes,
                         std::string scenarioName, std::string trainNumber,
                         const std::string& command, const std::optional<std::string>& stockFile) {
    nameFromSourceFiles(lineFile, trainFile, scenarioName, trainNumber);
    const std::string directory = textFromPath(pathFromText(lineFile).parent_path());
    const StockChoice stock = chooseStock(stockFile, directory, scenarioName, trainNumber);

    ScenarioBuild build;
    build.scenarioName = scenarioName;
    build.trainNumber = trainNumber;
    const FileShown shown = sourceFilesShown(build.identity(), lineFile, trainFile);

    CellOrigins origins(build);
    SessionOptions session;
    session.origins = &origins;
    const CompileSession checked = compileSession(build, lineBytes, trainBytes, session);

    ViewInput input;
    input.routeLength = routeLengthOf(build.stationTable);
    input.title = viewTitle(scenarioName, trainNumber, input.routeLength);
    input.origin = "sources";
    input.cells = &build.trackCells;
    input.stations = &build.stationTable;
    input.plan = planOfBuild(build.linePlan, input.routeLength);
    input.diagnostics =
        viewDiagnostics(build, checked.warnings, shown, outcomeNote(checked.outcome, command));
    input.origins = &origins;
    input.shown = shown;
    // A build with errors has no timetable to trust: the page shows its diagnostics instead.
    if (checked.outcome.status == kExitClean && stock.error.empty())
        input.timing = [&] {
            timing::TimingOptions options;
            options.keepRun = true;
            return viewTiming(timing::timeBuild(build, stock.stock, options), stock);
        };
    return {viewData(input), checked.outcome.status, stock.error};
}

}  // namespace scenario
