// The scenario name and train number of a pair of source files, from the files' own names where
// they follow the build's pattern (NAME_linea.txt, NAME_NUMBER-.txt).
#pragma once

#include <string>

namespace scenario {

enum class SourceKind { Line, Train, Other };

// "NAME_linea.txt" is a line file, "NAME_NUMBER-.txt" a train file.
SourceKind sourceKindOf(const std::string& path);

// NAME from "NAME_linea.txt"; empty when the file is not so named or NAME cannot be a file-name
// part.
std::string nameFromLineFile(const std::string& lineFile);
// NUMBER from "NAME_NUMBER-.txt", with NAME the scenario name; empty in the same cases.
std::string numberFromTrainFile(const std::string& trainFile, const std::string& scenarioName);

// Fills an empty name from the files' names; a name that cannot be a file-name part becomes
// "scenario" or "0".
void nameFromSourceFiles(const std::string& lineFile, const std::string& trainFile,
                         std::string& scenarioName, std::string& trainNumber);

}  // namespace scenario
