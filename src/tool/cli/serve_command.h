// scenario serve: the route view as a live page on the author's own machine, redrawn as the
// sources change.
#pragma once

#include <CLI/CLI.hpp>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace scenario {

struct ServeOptions {
    std::vector<std::string> inputs;  // LINE_FILE TRAIN_FILE
    std::string stockFile;
    std::uint16_t port = 0;
    bool open = false;
};

void declareServeOptions(CLI::App& command, ServeOptions& options);
int runServeCommand(const ServeOptions& options, std::ostream& out, std::ostream& err);

}  // namespace scenario
