// The names of a build's files, made from the scenario name and the train number, and those two
// read back from the names of a pair of source files (NAME_linea.txt, NAME_NUMBER-.txt).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace scenario {

inline constexpr std::string_view kLineSourceEnding = "_linea.txt";
inline constexpr std::string_view kTrainSourceEnding = "-.txt";

struct ScenarioIdentity {
    std::string scenarioName;
    std::string trainNumber;

    std::string lineSourceFile() const { return scenarioName + std::string(kLineSourceEnding); }
    std::string trainSourceFile() const { return trainStem() + std::string(kTrainSourceEnding); }
    std::string trainCardFile() const { return trainStem() + "_scheda_treno.txt"; }
    std::string slowOrderNoticeFile() const { return trainStem() + "_rallentamenti.txt"; }
    std::string notesFile() const { return trainStem() + "_note.txt"; }
    std::string lineDataFile() const { return scenarioName + "_linea.dat"; }
    std::string stationTableFile() const { return trainStem() + ".sim"; }
    std::string trackCellFile() const { return trainStem() + ".dat"; }

  private:
    std::string trainStem() const { return scenarioName + "_" + trainNumber; }
};

// The last part of a path, as text.
std::string fileNameOf(const std::string& path);

// NAME of "NAME_linea.txt"; none for another name or an empty NAME.
std::optional<std::string> lineFileStem(const std::string& fileName);
// "NAME_NUMBER" of "NAME_NUMBER-.txt"; none unless NAME and NUMBER, cut at the last "_", are
// both there.
std::optional<std::string> trainFileStem(const std::string& fileName);
// NUMBER of "NAME_NUMBER-.txt" for the scenario NAME; none for another name or an empty NUMBER.
std::optional<std::string> trainNumberIn(const std::string& fileName,
                                         const std::string& scenarioName);

enum class SourceKind { Line, Train, Other };

// "NAME_linea.txt" is a line file, "NAME_NUMBER-.txt" a train file.
SourceKind sourceKindOf(const std::string& path);

inline constexpr std::size_t kLongestNamePart = 100;

// Why the text cannot be part of a file name (not empty, no path separator, no "..", no control
// character, nothing a Windows file name cannot hold, at most 100 bytes, text Windows-1252 can
// store); empty when it can.
std::string namePartProblem(std::string_view text);

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
