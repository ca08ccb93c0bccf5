// The scenario tool as one call: a command line in, an exit status out, printing only to the
// streams it is given, so that a test or another program runs it in-process.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace scenario {

// Runs the subcommand that `arguments` (the command line without the program's name) asks for.
int runScenarioTool(const std::vector<std::string>& arguments, std::ostream& out,
                    std::ostream& err);

}  // namespace scenario
