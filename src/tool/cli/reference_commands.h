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
CLI::App* addExplainCommand(CLI::App& app, ExplainOptions& options);
int runExplainCommand(const ExplainOptions& options, std::ostream& out, std::ostream& err);

struct DocOptions {
    std::string outDirectory = "docs";
};
CLI::App* addDocCommand(CLI::App& app, DocOptions& options);
int runDocCommand(const DocOptions& options, std::ostream& out, std::ostream& err);

}  // namespace scenario
