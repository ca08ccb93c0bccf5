// scenario compile: compiles a line source file and a train source file into the three files
// that the simulator loads, exactly as the scenario program's compile driver does.
#pragma once

#include <CLI/CLI.hpp>
#include <ostream>

#include "tool/cli/source_compile.h"

namespace scenario {

struct CompileOptions {
    SourceCompile request = commandNamed("compile");
    std::string outDirectory = ".";
    bool noPlan = false;
};

// The options compile and check share: -W and --input-encoding.
void addWarningOptions(CLI::App& command, SourceCompile& request);

void declareCompileOptions(CLI::App& command, CompileOptions& options);
int runCompileCommand(const CompileOptions& options, std::ostream& out, std::ostream& err);

}  // namespace scenario
