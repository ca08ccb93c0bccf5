// scenario view: the route in the browser, as one self-contained HTML page drawn from compiled
// files or from source files compiled in memory.
#pragma once

#include <CLI/CLI.hpp>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace scenario {

struct ViewOptions {
    std::vector<std::string> inputs;  // DIR, or LINE_FILE TRAIN_FILE
    std::string scenarioName;
    std::string trainNumber;
    std::string outFile;
    std::optional<std::string> stockFile;  // else NAME_NUMBER.stock.json beside the inputs
};

void declareViewOptions(CLI::App& command, ViewOptions& options);
int runViewCommand(const ViewOptions& options, std::ostream& out, std::ostream& err);

}  // namespace scenario
