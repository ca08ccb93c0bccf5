// scenario compile: compiles a line source file and a train source file into the three files
// that the simulator loads, exactly as the scenario program's compile driver does.
#pragma once

#include <ostream>
#include <string>

namespace CLI {
class App;
}

namespace scenario {

struct CompileOptions {
    std::string lineFile;
    std::string trainFile;
    std::string scenarioName;
    std::string trainNumber;
    std::string outDirectory = ".";
    bool noPlan = false;
    bool json = false;
};

// Adds the subcommand to the tool's command line; parsing fills `options`.
CLI::App* addCompileCommand(CLI::App& app, CompileOptions& options);

// Runs a parsed compile command and returns its exit status. Diagnostics go to `err`, the JSON
// summary (when asked for) to `out`.
int runCompileCommand(const CompileOptions& options, std::ostream& out, std::ostream& err);

}  // namespace scenario
