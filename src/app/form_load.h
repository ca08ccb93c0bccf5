// The scenario program's build of its one built-in scenario, and the stamping error that ends it.
#pragma once

#include <string>

#include "base/file_store.h"
#include "compiler/track_model.h"

namespace scenario {

// errore's end of the program: main shows the message and stops with the stamping status.
struct ProgramEnd {
    std::string message;
};

// Builds the built-in scenario in `files`: names it, writes its source files and crew
// documents, compiles, stamps and writes the binary files.
void Form_Load(ScenarioBuild& build, FileStore& files);

// Shows the build's numbered error message " Errore n. <a>" and ends the program.
[[noreturn]] void errore(ScenarioBuild& build, const std::string& a);

}  // namespace scenario
