// The authors' tool: compiles scenario source files from the command line.
#include <CLI/CLI.hpp>
#include <iostream>

#include "app/exit_status.h"
#include "tool/compile_command.h"

int main(int argc, char** argv) {
    using namespace scenario;
    CLI::App app{"Builds a scenario's simulator files from its source files."};
    app.require_subcommand(1);
    CompileOptions compile;
    CLI::App* compileCommand = addCompileCommand(app, compile);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e) == 0 ? kExitClean : kExitFileFailure;
    }
    if (compileCommand->parsed()) return runCompileCommand(compile, std::cout, std::cerr);
    return kExitFileFailure;
}
