// scenario import: a real line's geometry from a GPX or GeoJSON track.
#pragma once

#include <CLI/CLI.hpp>
#include <ostream>

#include "tool/import/import_options.h"

namespace scenario {

void declareImportOptions(CLI::App& command, ImportOptions& options);
int runImportCommand(const ImportOptions& options, std::ostream& out, std::ostream& err);

}  // namespace scenario
