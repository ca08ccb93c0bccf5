// scenario export: the built-in scenario's two source files and three crew documents, as the
// scenario program writes them, for an author to start from.
#pragma once

#include <CLI/CLI.hpp>
#include <ostream>
#include <string>

namespace scenario {

struct ExportOptions {
    std::string outDirectory = ".";
    bool force = false;
};

void declareExportOptions(CLI::App& command, ExportOptions& options);
int runExportCommand(const ExportOptions& options, std::ostream& out, std::ostream& err);

}  // namespace scenario
