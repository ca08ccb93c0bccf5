// scenario explain and scenario doc: the reference of every error and warning, and the
// generated documents.
#pragma once

#include <CLI/CLI.hpp>
#include <ostream>
#include <string>

namespace scenario {

struct ExplainOptions {
    std::string what;
};
void declareExplainOptions(CLI::App& command, ExplainOptions& options);
int runExplainCommand(const ExplainOptions& options, std::ostream& out, std::ostream& err);

struct DocOptions {
    std::string outDirectory = "docs";
};
void declareDocOptions(CLI::App& command, DocOptions& options);
int runDocCommand(const DocOptions& options, std::ostream& out, std::ostream& err);

}  // namespace scenario
