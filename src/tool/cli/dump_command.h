// scenario dump: a compiled scenario file decoded into a table with the model's field names, or
// into JSON.
#pragma once

#include <CLI/CLI.hpp>
#include <ostream>
#include <string>
#include <string_view>

#include "output/scenario_file_reader.h"

namespace scenario {

struct DumpOptions {
    std::string file;
    bool json = false;
    bool all = false;
};

void declareDumpOptions(CLI::App& command, DumpOptions& options);
int runDumpCommand(const DumpOptions& options, std::ostream& out, std::ostream& err);
// The decoding and printing of runDumpCommand, over bytes already read; `options.file` is only
// shown. A file of another kind (Unknown) prints as a line data file.
int printScenarioFile(ScenarioFileKind kind, std::string_view bytes, const DumpOptions& options,
                      std::ostream& out, std::ostream& err);

}  // namespace scenario
