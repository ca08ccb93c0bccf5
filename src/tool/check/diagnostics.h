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

// The two source files by the paths the author gave; any other file by the build's name.
FileShown sourceFilesShown(const ScenarioIdentity& names, const std::string& lineFile,
                           const std::string& trainFile);

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

// One diagnostic as JSON, the one shape that check --json and the route page carry: severity,
// the tool's text, message, file, line, column, code (errors) or name (warnings), position;
// related (null when none); errors add meaning, detail and afterFirst; a suggestion when there
// is one.
nlohmann::json diagnosticJson(const Diagnostic& d, const FileShown& shown);

// check --json's "errors" and "warnings" arrays of them.
nlohmann::json errorsJson(const ScenarioBuild& build, const FileShown& shown);
nlohmann::json warningsJson(const std::vector<Diagnostic>& warnings, const FileShown& shown);

}  // namespace scenario
