// Compiles an author's line and train source files through the compile driver, over copies in
// memory, and reports what the build recorded: shared by compile and check.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "report/diagnostic.h"
#include "source/file_names.h"

namespace scenario {

struct SourceCompile {
    std::string command;  // names the subcommand in messages
    std::string lineFile;
    std::string trainFile;
    std::string scenarioName;
    std::string trainNumber;
    bool buildPlan = true;
    std::optional<std::string> outDirectory;  // without one nothing is written
    bool json = false;
};

inline SourceCompile commandNamed(std::string command) {
    SourceCompile request;
    request.command = std::move(command);
    return request;
}

// Runs the compile and returns its exit status. Diagnostics go to `err`, the JSON summary (when
// asked for) to `out`.
int runSourceCompile(const SourceCompile& request, std::ostream& out, std::ostream& err);

// What compiling two source texts in memory found, writing nothing: warnings and errors in the
// order they were recorded, with the build's file names (`names`), then a stamping failure.
struct SourceCheck {
    ScenarioIdentity names;
    std::vector<Diagnostic> diagnostics;
};
SourceCheck checkSources(std::string lineBytes, std::string trainBytes,
                         const ScenarioIdentity& names);

}  // namespace scenario
