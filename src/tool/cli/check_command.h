// scenario check: the same compile as scenario compile, writing nothing: a quick way to see every
// diagnostic of a pair of source files.
#pragma once

#include <CLI/CLI.hpp>
#include <ostream>

#include "tool/check/compile_session.h"

namespace scenario {

struct CheckOptions {
    SourceCompile request = commandNamed("check");
};

CLI::App* addCheckCommand(CLI::App& app, CheckOptions& options);
int runCheckCommand(const CheckOptions& options, std::ostream& out, std::ostream& err);

}  // namespace scenario
