// scenario timing: compile the sources in memory (or read the compiled files), choose the stock,
// time every section, then print the table or one JSON object and the timetable warnings.
#include "tool/cli/timing_command.h"

#include <fmt/format.h>

#include <exception>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "base/file_store.h"
#include "base/platform.h"
#include "base/text_encoding.h"
#include "report/diagnostic.h"
#include "report/exit_status.h"
#include "source/file_names.h"
#include "tool/check/compile_session.h"
#include "tool/check/compile_store.h"
#include "tool/check/diagnostics.h"
#include "tool/check/file_name_part.h"
#include "tool/check/timetable_warnings.h"
#include "tool/cli/input_options.h"
#include "tool/cli/run_inputs.h"
#include "tool/route/route_data.h"
#include "tool/timing/stock_file.h"
#include "tool/timing/timing_json.h"

namespace scenario {
namespace {

using nlohmann::json;

// The model timed and where its records stand, from either kind of input.
struct TimedScenario {
    int status = kExitClean;
    timing::Timing timing;
    std::vector<Diagnostic> warnings;
};

std::string directoryOf(const std::string& file) {
    return textFromPath(pathFromText(file).parent_path());
}

std::string optionalClock(const std::optional<double>& seconds, bool signedDuration = false) {
    return seconds ? clockText(*seconds, signedDuration) : "-";
}

void printTable(const timing::Timing& t, std::ostream& out) {
    out << fmt::format("{:<40} {:>9} {:>9} {:>9} {:>9} {:>8}\n", "section", "km", "scheduled",
                       "minimum", "slack", "slack %");
    for (const timing::Section& s : t.sections) {
        const timing::Stop& a = t.stops[static_cast<std::size_t>(s.from)];
        const timing::Stop& b = t.stops[static_cast<std::size_t>(s.to)];
        const std::string name =
            printableFromWindows1252(a.name) + " - " + printableFromWindows1252(b.name);
        const std::string percent =
            s.slack && *s.minimum > 0 ? fmt::format("{:+.1f}", 100.0 * *s.slack / *s.minimum) : "-";
        out << fmt::format("{:<40} {:>9.3f} {:>9} {:>9} {:>9} {:>8}\n", name, s.distance / 1000.0,
                           s.scheduled ? clockText(*s.scheduled) : "-", optionalClock(s.minimum),
                           optionalClock(s.slack, true), percent);
        if (s.stall)
            out << fmt::format("  stops at {:.3f} km: {}\n", *s.stall / 1000.0, s.note);
        else if (!s.note.empty())
            out << fmt::format("  {}\n", s.note);
    }
    for (const timing::Passing& p : t.passings)
        out << fmt::format("passes {} at {:.3f} km: earliest {}, timetable {}\n",
                           printableFromWindows1252(p.name), p.position / 1000.0,
                           optionalClock(p.earliest), p.scheduled ? clockText(*p.scheduled) : "-");
}

int timeSources(const TimingCommandOptions& options, TimedScenario& timed, StockChoice& stock,
                std::ostream& err) {
    const std::string& lineFile = options.inputs[0];
    const std::string& trainFile = options.inputs[1];
    const std::optional<std::string> line = readWholeFile(pathFromText(lineFile));
    const std::optional<std::string> train = readWholeFile(pathFromText(trainFile));
    if (!line || !train) {
        err << fmt::format("scenario timing: cannot read {}\n", line ? trainFile : lineFile);
        return kExitFileFailure;
    }
    std::string name = options.scenarioName, number = options.trainNumber;
    nameFromSourceFiles(lineFile, trainFile, name, number);
    if (!chooseCommandStock("timing", options.stockFile, directoryOf(lineFile), name, number, stock,
                            err))
        return kExitFileFailure;

    ScenarioBuild build;
    build.scenarioName = name;
    build.trainNumber = number;
    const FileShown shown = sourceFilesShown(build.identity(), lineFile, trainFile);
    StationPlaces places(build);
    const CompileOutcome compiled = compileInMemory(build, *line, *train);
    if (compiled.status != kExitClean) {
        for (const std::string& text : diagnosticLines(build, build.warnings, shown))
            err << text << '\n';
        if (!compiled.failure.empty()) err << "scenario timing: " << compiled.failure << '\n';
        return compiled.status;
    }
    timed.timing = timing::timeBuild(build, stock.stock);
    timed.warnings = timetableWarnings(timed.timing, &places, options.margin);
    for (Diagnostic& w : timed.warnings) w.location.file = shown(w.location.file);
    return kExitClean;
}

int timeFiles(const TimingCommandOptions& options, TimedScenario& timed, StockChoice& stock,
              std::ostream& err) {
    const std::string& directory = options.inputs[0];
    if (!compiledFilesNamed("timing", options.scenarioName, options.trainNumber, err) ||
        !chooseCommandStock("timing", options.stockFile, directory, options.scenarioName,
                            options.trainNumber, stock, err))
        return kExitFileFailure;
    const std::optional<ScenarioFiles> read =
        readCommandFiles("timing", directory, options.scenarioName, options.trainNumber, err);
    if (!read) return kExitFileFailure;
    const ScenarioFiles& files = *read;
    timed.timing = timing::timeFiles(files.cells, files.table, &files.plan, stock.stock);
    timed.warnings = timetableWarnings(timed.timing, nullptr, options.margin);
    return kExitClean;
}

}  // namespace

void declareTimingOptions(CLI::App& command, TimingCommandOptions& options) {
    command.description(
        "From a line and a train source file (LINE_FILE TRAIN_FILE), compiled in memory, or\n"
        "from a directory of compiled files (DIR --name NAME --train NUMBER): one row per\n"
        "section between two stops with its distance, scheduled time, the fastest run's time\n"
        "(the minimum) and the slack, then the earliest passing time at the other stations.\n"
        "The train is the stock file's (--stock, else NAME_NUMBER.stock.json beside the files,\n"
        "else the defaults of scenario stock) with the train file's cars and braked mass.");
    addInputOption(command, options.inputs, "LINE_FILE TRAIN_FILE, or DIR");
    addNameOptions(command, options.scenarioName, options.trainNumber);
    addStockOption(command, options.stockFile, "Stock file (JSON)");
    addMarginOption(command, options.margin,
                    "Warn where the slack is below this per cent of the minimum");
    command.add_flag("--json", options.json, "Print one JSON object on standard output");
    command.footer(
        "Exit status: 0 clean, 1 data error, 2 unreadable input, refused stock file or usage\n"
        "error, 3 stamp slot taken, 4 no route length.");
}

int runTimingCommand(const TimingCommandOptions& options, std::ostream& out, std::ostream& err) {
    TimedScenario timed;
    StockChoice stock;
    const int status = options.inputs.size() == 2 ? timeSources(options, timed, stock, err)
                                                  : timeFiles(options, timed, stock, err);
    if (status != kExitClean) return status;
    for (const Diagnostic& w : timed.warnings)
        err << diagnosticText(w, w.location.file, TextForm::Tool) << '\n';
    if (!options.json) {
        printTable(timed.timing, out);
        return kExitClean;
    }
    json j = timingJson(timed.timing, stock);
    j["exitStatus"] = kExitClean;
    j["warnings"] = warningsJson(timed.warnings, [](const std::string& file) { return file; });
    out << j.dump(-1, ' ', false, json::error_handler_t::replace) << '\n';
    return kExitClean;
}

void declareStockOptions(CLI::App& command, StockCommandOptions& options) {
    command.description(
        "Writes the train parameters that scenario timing assumes, each key with its value,\n"
        "unit and a comment, as JSON. Saved as NAME_NUMBER.stock.json beside a scenario's\n"
        "files, it is used for that scenario.");
    command.add_option("-o,--out", options.outFile, "The file to write")->required();
    command.footer("Exit status: 0 written, 2 the file cannot be written or a usage error.");
}

int runStockCommand(const StockCommandOptions& options, std::ostream& out, std::ostream& err) {
    try {
        writeWholeFile(pathFromText(options.outFile), timing::defaultStockText());
    } catch (const std::exception& failure) {
        err << fmt::format("scenario stock: {}\n", failure.what());
        return kExitFileFailure;
    }
    out << options.outFile << '\n';
    return kExitClean;
}

}  // namespace scenario
