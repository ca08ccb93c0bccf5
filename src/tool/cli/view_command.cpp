// scenario view: gather the route's data (from the three compiled files, or from a compile of the
// sources in memory that writes nothing), fill the page, write it.
#include "tool/cli/view_command.h"

#include <fmt/format.h>

#include <exception>
#include <filesystem>

#include "base/file_store.h"
#include "base/platform.h"
#include "base/text_encoding.h"
#include "report/exit_status.h"
#include "source/file_names.h"
#include "tool/check/compile_session.h"
#include "tool/check/file_name_part.h"
#include "tool/cli/input_options.h"
#include "tool/cli/run_inputs.h"
#include "tool/route/cell_origins.h"
#include "tool/timing/stock_file.h"
#include "tool/view/source_view.h"
#include "tool/view/view_data.h"
#include "tool/view/view_page.h"

namespace scenario {
namespace {

timing::TimingOptions keepingTheRun() {
    timing::TimingOptions options;
    options.keepRun = true;
    return options;
}

int writePage(const ViewOptions& options, const nlohmann::json& data, std::ostream& out,
              std::ostream& err) {
    try {
        writeWholeFile(pathFromText(options.outFile), viewPage(data));
    } catch (const std::exception& failure) {
        err << fmt::format("scenario view: {}\n", failure.what());
        return kExitFileFailure;
    }
    out << options.outFile << '\n';
    return kExitClean;
}

int viewFiles(const ViewOptions& options, std::ostream& out, std::ostream& err) {
    const std::optional<ScenarioFiles> read =
        readCommandFiles("view", options.inputs[0], options.scenarioName, options.trainNumber, err);
    if (!read) return kExitFileFailure;
    const ScenarioFiles& files = *read;
    StockChoice stock;
    if (!chooseCommandStock("view", options.stockFile, options.inputs[0], options.scenarioName,
                            options.trainNumber, stock, err))
        return kExitFileFailure;
    ViewInput input;
    input.timing = [&] {
        return viewTiming(
            timing::timeFiles(files.cells, files.table, &files.plan, stock.stock, keepingTheRun()),
            stock);
    };
    input.routeLength = routeLengthOf(files.table);
    input.title = viewTitle(options.scenarioName, options.trainNumber, input.routeLength);
    input.origin = "files";
    input.cells = &files.cells;
    input.stations = &files.table;
    input.plan = routeFrom(files).plan;
    return writePage(options, viewData(input), out, err);
}

int viewSources(const ViewOptions& options, std::ostream& out, std::ostream& err) {
    const std::string& lineFile = options.inputs[0];
    const std::string& trainFile = options.inputs[1];
    const std::optional<std::string> line = readWholeFile(pathFromText(lineFile));
    const std::optional<std::string> train = readWholeFile(pathFromText(trainFile));
    if (!line || !train) {
        err << fmt::format("scenario view: cannot read {}\n", line ? trainFile : lineFile);
        return kExitFileFailure;
    }
    const SourceView view = viewOfSources(lineFile, trainFile, *line, *train, options.scenarioName,
                                          options.trainNumber, "view", options.stockFile);
    if (!view.stockError.empty()) {
        err << fmt::format("scenario view: {}\n", view.stockError);
        return kExitFileFailure;
    }
    const int written = writePage(options, view.data, out, err);
    return written != kExitClean ? written : view.status;
}

}  // namespace

void declareViewOptions(CLI::App& command, ViewOptions& options) {
    command.description(
        "From a directory of compiled files (DIR --name NAME --train NUMBER), or from a line\n"
        "and a train source file (LINE_FILE TRAIN_FILE), compiled in memory with nothing\n"
        "written but the page. The page needs no network and no other file: the plan, the\n"
        "elevation, gradients, curves, speed limits and the objects along the route on one\n"
        "distance axis, every cell's fields on hover, and the diagnostics of the sources. The\n"
        "train's fastest run (as scenario timing computes it) over the speed limits, and the\n"
        "timetable against it on a time-distance chart, with the sections in a table.");
    addInputOption(command, options.inputs, "DIR, or LINE_FILE TRAIN_FILE");
    addNameOptions(command, options.scenarioName, options.trainNumber);
    command.add_option("-o,--output", options.outFile, "The HTML file to write")->required();
    addStockOption(command, options.stockFile,
                   "Stock file (JSON) for the fastest run, as scenario timing reads it");
    command.footer(
        "Exit status: 0 written; from sources 1 data error, 3 stamp slot taken, 4 no route\n"
        "length (the page is written all the same, with the diagnostics); 2 a file cannot be\n"
        "read, decoded or written, or a usage error.");
}

int runViewCommand(const ViewOptions& options, std::ostream& out, std::ostream& err) {
    if (options.inputs.size() == 2) return viewSources(options, out, err);
    return viewFiles(options, out, err);
}

}  // namespace scenario
