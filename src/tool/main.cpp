// scenario, the authors' tool: the command line handed to the tool's library, as UTF-8 text on
// Windows and as the bytes given elsewhere.
#include <iostream>
#include <string>
#include <vector>

#include "base/platform.h"
#include "tool/cli/scenario_tool.h"

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
    scenario::startConsoleProgram();
    return scenario::runScenarioTool(scenario::argumentsAsText(argc, argv), std::cout, std::cerr);
}
#else
int main(int argc, char** argv) {
    scenario::startConsoleProgram();
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    return scenario::runScenarioTool(arguments, std::cout, std::cerr);
}
#endif
