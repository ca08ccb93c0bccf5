// scenario check: the same compile as scenario compile, writing nothing: a quick way to see every
// diagnostic of a pair of source files.
#pragma once

#include <CLI/CLI.hpp>
#include <ostream>

#include "tool/cli/source_compile.h"

namespace scenario {

struct CheckOptions {
    SourceCompile request = commandNamed("check");
};

void declareCheckOptions(CLI::App& command, CheckOptions& options);
int runCheckCommand(const CheckOptions& options, std::ostream& out, std::ostream& err);

}  // namespace scenario
