// scenario dump: a compiled scenario file decoded into a table with the model's field names, or
// into JSON.
#pragma once

#include <CLI/CLI.hpp>
#include <ostream>
#include <string>

namespace scenario {

struct DumpOptions {
    std::string file;
    bool json = false;
    bool all = false;
};

CLI::App* addDumpCommand(CLI::App& app, DumpOptions& options);
int runDumpCommand(const DumpOptions& options, std::ostream& out, std::ostream& err);

}  // namespace scenario
