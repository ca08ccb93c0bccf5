// What compile and check share: a request naming the two source files and what to do with them,
// and its run, which prints the diagnostics and the summary.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

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
    std::vector<std::string> warningOptions;  // the values of -W: "error" or "no-NAME"
    bool writeOnError = false;                // write the files even after a data error
    bool alwaysWrite = false;  // replace an output even when its bytes would stay the same
    std::string inputEncoding = "windows-1252";
    // The timetable against the fastest runs (check --timing).
    bool timing = false;
    std::optional<std::string> stockFile;
    double margin = 0;  // per cent of the minimum
};

inline SourceCompile commandNamed(std::string command) {
    SourceCompile request;
    request.command = std::move(command);
    return request;
}

// Runs the compile and returns its exit status. Diagnostics go to `err`, the JSON summary (when
// asked for) to `out`.
int runSourceCompile(const SourceCompile& request, std::ostream& out, std::ostream& err);

}  // namespace scenario
