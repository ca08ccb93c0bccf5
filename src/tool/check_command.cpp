// scenario check: compile without writing. Without --name and --train the names come from the
// source files' own names where they follow the build's pattern.
#include "tool/check_command.h"

#include <filesystem>
#include <string_view>

#include "tool/compile_command.h"
#include "tool/file_name_part.h"

namespace scenario {
namespace {

constexpr std::string_view kLineEnding = "_linea.txt";
constexpr std::string_view kTrainEnding = "-.txt";

std::string fileNameOf(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

bool endsWith(std::string_view text, std::string_view ending) {
    return text.size() >= ending.size() && text.substr(text.size() - ending.size()) == ending;
}

// "NAME_linea.txt" gives NAME.
std::string nameFromLineFile(const std::string& path) {
    const std::string file = fileNameOf(path);
    if (!endsWith(file, kLineEnding) || file.size() == kLineEnding.size()) return "scenario";
    return file.substr(0, file.size() - kLineEnding.size());
}

// "NAME_NUMBER-.txt" gives NUMBER when NAME is the scenario name.
std::string numberFromTrainFile(const std::string& path, const std::string& name) {
    const std::string file = fileNameOf(path);
    const std::string stem = name + "_";
    if (!endsWith(file, kTrainEnding) || file.rfind(stem, 0) != 0) return "0";
    return file.substr(stem.size(), file.size() - stem.size() - kTrainEnding.size());
}

}  // namespace

CLI::App* addCheckCommand(CLI::App& app, CheckOptions& options) {
    CLI::App* command =
        app.add_subcommand("check", "Compile a line and a train source file, writing nothing");
    command->description(
        "Compiles LINE_FILE and TRAIN_FILE as scenario compile does and reports every warning\n"
        "and error, but writes no file. The names only matter for the check codes; without\n"
        "them they are taken from NAME_linea.txt and NAME_NUMBER-.txt.");
    SourceCompile& r = options.request;
    command->add_option("LINE_FILE", r.lineFile, "Line source file")->required();
    command->add_option("TRAIN_FILE", r.trainFile, "Train source file")->required();
    command->add_option("--name", r.scenarioName, "Scenario name")->check(fileNamePart());
    command->add_option("--train", r.trainNumber, "Train number")->check(fileNamePart());
    command->add_flag("--json", r.json, "Print a JSON summary on standard output");
    addWarningOptions(*command, r);
    command->footer(
        "Exit status: 0 clean, 1 data error, 2 unreadable input or usage error, 3 stamp slot\n"
        "taken, 4 no route length.");
    return command;
}

int runCheckCommand(const CheckOptions& options, std::ostream& out, std::ostream& err) {
    SourceCompile request = options.request;
    if (request.scenarioName.empty()) request.scenarioName = nameFromLineFile(request.lineFile);
    if (request.trainNumber.empty())
        request.trainNumber = numberFromTrainFile(request.trainFile, request.scenarioName);
    // Names from file names pass the same rule as names typed in.
    if (!namePartProblem(request.scenarioName).empty()) request.scenarioName = "scenario";
    if (!namePartProblem(request.trainNumber).empty()) request.trainNumber = "0";
    return runSourceCompile(request, out, err);
}

}  // namespace scenario
