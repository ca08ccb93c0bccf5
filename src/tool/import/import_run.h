// scenario import: a track file in, the line and train source files of its scenario out, and a
// report of how closely the compiled scenario follows the track.
#pragma once

#include <ostream>

#include "tool/import/import_options.h"

namespace scenario {

// Exit status 0, or 2 when the track cannot be read, is beyond the format, or the files cannot
// be written; nothing is written then.
int runImport(const ImportOptions& options, std::ostream& out, std::ostream& err);

}  // namespace scenario
