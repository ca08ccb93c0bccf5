// scenario, the authors' tool: the command line handed to the tool's library.
#include <iostream>
#include <string>
#include <vector>

#include "tool/scenario_tool.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    return scenario::runScenarioTool(arguments, std::cout, std::cerr);
}
