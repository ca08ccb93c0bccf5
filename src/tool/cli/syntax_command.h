// scenario syntax: writes the editors' highlighting files generated from the record tables.
#pragma once

#include <CLI/CLI.hpp>
#include <ostream>
#include <string>

namespace scenario {

struct SyntaxOptions {
    std::string outDirectory = "editors";
};

void declareSyntaxOptions(CLI::App& command, SyntaxOptions& options);
int runSyntaxCommand(const SyntaxOptions& options, std::ostream& out, std::ostream& err);

}  // namespace scenario
