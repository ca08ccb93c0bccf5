// scenario lsp: serves one editor over standard input and output until it exits.
#include "tool/cli/lsp_command.h"

#include <iostream>

#include "base/platform.h"
#include "tool/cli/input_options.h"
#include "tool/lsp/server.h"

namespace scenario {

void declareLspOptions(CLI::App& command, LspOptions& options) {
    command.description(
        "Speaks the Language Server Protocol on standard input and output: diagnostics of\n"
        "NAME_linea.txt and NAME_NUMBER-.txt as they are edited, hover, completion, outline\n"
        "and quick fixes; with --timing, the timetable against the fastest runs. An editor\n"
        "starts it; see README for the set-up.");
    command
        .add_option("--pause", options.pauseMilliseconds,
                    "Milliseconds of quiet after a change before its diagnostics")
        ->check(CLI::Range(0, 10000));
    EditorTiming& timing = options.timing;
    command.add_flag("--timing", timing.on,
                     "Warn where the timetable is shorter than the fastest run (timetable), "
                     "with a fix, and show each stop's running time");
    addTimingFlagOptions(command, timing.stockFile, timing.margin);
    command.footer("Exit status: 0 after the client's shutdown, 1 when it left without one.");
}

int runLspCommand(const LspOptions& options, std::ostream& out, std::ostream& /*err*/) {
    useBinaryStandardStreams();
    const RealDisk disk;
    return runLanguageServer(std::cin, out, disk,
                             std::chrono::milliseconds(options.pauseMilliseconds), options.timing);
}

}  // namespace scenario
