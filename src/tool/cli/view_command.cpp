// scenario view: gather the route's data (from the three compiled files, or from a compile of the
// sources in memory that writes nothing), fill the page, write it.
#include "tool/cli/view_command.h"

#include <fmt/format.h>

#include <exception>

#include "base/file_store.h"
#include "base/text_encoding.h"
#include "report/exit_status.h"
#include "source/file_names.h"
#include "tool/check/compile_session.h"
#include "tool/cli/input_options.h"
#include "tool/route/cell_origins.h"
#include "tool/view/view_data.h"
#include "tool/view/view_page.h"

namespace scenario {
namespace {

std::string titleOf(const std::string& name, const std::string& train, std::int32_t length) {
    return fmt::format("{}, train {}: {:.3f} km", utf8FromWindows1252(name),
                       utf8FromWindows1252(train), length / 1000.0);
}

int writePage(const ViewOptions& options, const nlohmann::json& data, std::ostream& out,
              std::ostream& err) {
    try {
        writeWholeFile(options.outFile, viewPage(data));
    } catch (const std::exception& failure) {
        err << fmt::format("scenario view: {}\n", failure.what());
        return kExitFileFailure;
    }
    out << options.outFile << '\n';
    return kExitClean;
}

int viewFiles(const ViewOptions& options, std::ostream& out, std::ostream& err) {
    if (options.scenarioName.empty() || options.trainNumber.empty()) {
        err << "scenario view: a directory of compiled files needs --name and --train\n";
        return kExitFileFailure;
    }
    const ScenarioFiles files =
        readScenarioFiles(options.inputs[0], options.scenarioName, options.trainNumber);
    if (!files.error.empty()) {
        err << fmt::format("scenario view: {}\n", files.error);
        return kExitFileFailure;
    }
    ViewInput input;
    input.routeLength = routeLengthOf(files.table);
    input.title = titleOf(options.scenarioName, options.trainNumber, input.routeLength);
    input.origin = "files";
    input.cells = &files.cells;
    input.stations = &files.table;
    input.plan = routeFrom(files).plan;
    return writePage(options, viewData(input), out, err);
}

int viewSources(const ViewOptions& options, std::ostream& out, std::ostream& err) {
    const std::string& lineFile = options.inputs[0];
    const std::string& trainFile = options.inputs[1];
    const std::optional<std::string> line = readWholeFile(lineFile);
    const std::optional<std::string> train = readWholeFile(trainFile);
    if (!line || !train) {
        err << fmt::format("scenario view: cannot read {}\n", line ? trainFile : lineFile);
        return kExitFileFailure;
    }
    std::string name = options.scenarioName, number = options.trainNumber;
    nameFromSourceFiles(lineFile, trainFile, name, number);

    ScenarioBuild build;
    build.scenarioName = name;
    build.trainNumber = number;
    const ScenarioIdentity names = build.identity();
    const FileShown shown = [&](const std::string& file) {
        if (file == names.lineSourceFile()) return lineFile;
        if (file == names.trainSourceFile()) return trainFile;
        return file;
    };

    CellOrigins origins(build);
    SessionOptions session;
    session.origins = &origins;
    const CompileSession checked = compileSession(build, *line, *train, session);

    ViewInput input;
    input.routeLength = routeLengthOf(build.stationTable);
    input.title = titleOf(name, number, input.routeLength);
    input.origin = "sources";
    input.cells = &build.trackCells;
    input.stations = &build.stationTable;
    input.plan = planOfBuild(build.linePlan, input.routeLength);
    input.diagnostics =
        viewDiagnostics(build, checked.warnings, shown, outcomeNote(checked.outcome, "view"));
    input.origins = &origins;
    input.shown = shown;
    const int written = writePage(options, viewData(input), out, err);
    return written != kExitClean ? written : checked.outcome.status;
}

}  // namespace

void declareViewOptions(CLI::App& command, ViewOptions& options) {
    command.description(
        "From a directory of compiled files (DIR --name NAME --train NUMBER), or from a line\n"
        "and a train source file (LINE_FILE TRAIN_FILE), compiled in memory with nothing\n"
        "written but the page. The page needs no network and no other file: the plan, the\n"
        "elevation, gradients, curves, speed limits and the objects along the route on one\n"
        "distance axis, every cell's fields on hover, and the diagnostics of the sources.");
    addInputOption(command, options.inputs, "DIR, or LINE_FILE TRAIN_FILE");
    addNameOptions(command, options.scenarioName, options.trainNumber);
    command.add_option("-o,--output", options.outFile, "The HTML file to write")->required();
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
