// Scenario names and train numbers from the command line end up in file names: only a plain
// name part may pass, never a way out of the directory.
#pragma once

#include <CLI/CLI.hpp>

#include "source/file_names.h"

namespace scenario {

// A command-line check with the rule of namePartProblem.
CLI::Validator fileNamePart();

}  // namespace scenario
