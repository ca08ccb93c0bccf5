// What a build recorded, told to its author in the compiler form: the warnings of the reader and
// every error, each "FILE:LINE: warning: ..." or "FILE:LINE: error N: meaning (at P m)".
#pragma once

#include <functional>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "compiler/track_model.h"

namespace scenario {

// The author's path for a source file the build names.
using FileShown = std::function<std::string(const std::string& buildFileName)>;

// "FILE:LINE[:COL]: warning: MESSAGE [name]" or "FILE:LINE[:COL]: error N: ...", in UTF-8.
// An error carried from the other file names the record that raised it; any other related
// record follows on a line of its own, "FILE:LINE[:COL]: note: ...".
std::string toolDiagnosticText(const Diagnostic& d, const std::string& fileShown,
                               const std::string& relatedShown = {});

// The warnings and the build's errors in the order they are listed: by file (the line source
// first) and line, then the errors of no source line in the order they were found. The warnings
// are those kept for the author.
std::vector<const Diagnostic*> diagnosticsInOrder(const ScenarioBuild& build,
                                                  const std::vector<Diagnostic>& warnings);

// The line of one of them, with its file and the related record's as the author named them.
std::string diagnosticLine(const ScenarioBuild& build, const Diagnostic& d, const FileShown& shown);

// One line per warning and error, in that order.
std::vector<std::string> diagnosticLines(const ScenarioBuild& build,
                                         const std::vector<Diagnostic>& warnings,
                                         const FileShown& shown);

// The same as JSON: "errors" and "warnings" arrays of objects with file, line and column.
nlohmann::json errorsJson(const ScenarioBuild& build, const FileShown& shown);
nlohmann::json warningsJson(const std::vector<Diagnostic>& warnings, const FileShown& shown);

}  // namespace scenario
