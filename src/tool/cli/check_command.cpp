// scenario check: compile without writing. Without --name and --train the names come from the
// source files' own names where they follow the build's pattern.
#include "tool/cli/check_command.h"

#include "source/file_names.h"
#include "tool/check/file_name_part.h"
#include "tool/cli/compile_command.h"
#include "tool/cli/input_options.h"

namespace scenario {

void declareCheckOptions(CLI::App& command, CheckOptions& options) {
    command.description(
        "Compiles LINE_FILE and TRAIN_FILE as scenario compile does and reports every warning\n"
        "and error, but writes no file. The names only matter for the check codes; without\n"
        "them they are taken from NAME_linea.txt and NAME_NUMBER-.txt.");
    SourceCompile& r = options.request;
    addSourceFileOptions(command, r.lineFile, r.trainFile);
    addNameOptions(command, r.scenarioName, r.trainNumber);
    command.add_flag("--json", r.json, "Print a JSON summary on standard output");
    addWarningOptions(command, r);
    command.add_flag("--timing", r.timing,
                     "Warn where the timetable is shorter than the fastest run (timetable)");
    addTimingFlagOptions(command, r.stockFile, r.margin);
    command.footer(
        "Exit status: 0 clean, 1 data error, 2 unreadable input or usage error, 3 stamp slot\n"
        "taken, 4 no route length.");
}

int runCheckCommand(const CheckOptions& options, std::ostream& out, std::ostream& err) {
    SourceCompile request = options.request;
    nameFromSourceFiles(request.lineFile, request.trainFile, request.scenarioName,
                        request.trainNumber);
    return runSourceCompile(request, out, err);
}

}  // namespace scenario
