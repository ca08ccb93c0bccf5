// scenario lsp: the language server for the source files, over standard input and output.
#pragma once

#include <CLI/CLI.hpp>
#include <ostream>

#include "tool/editor/timing_hints.h"

namespace scenario {

struct LspOptions {
    int pauseMilliseconds = 200;
    EditorTiming timing;
    bool preview = false;
    int previewPort = 0;
};

void declareLspOptions(CLI::App& command, LspOptions& options);
int runLspCommand(const LspOptions& options, std::ostream& out, std::ostream& err);

}  // namespace scenario
