// Names taken from source file names pass the same rule as names typed in.
#include "tool/source_names.h"

#include <filesystem>
#include <string_view>

#include "base/platform.h"
#include "tool/file_name_part.h"

namespace scenario {
namespace {

constexpr std::string_view kLineEnding = "_linea.txt";
constexpr std::string_view kTrainEnding = "-.txt";

std::string fileNameOf(const std::string& path) {
    return textFromPath(pathFromText(path).filename());
}

bool endsWith(std::string_view text, std::string_view ending) {
    return text.size() >= ending.size() && text.substr(text.size() - ending.size()) == ending;
}

// "NAME_linea.txt" gives NAME.
std::string nameFromLineFile(const std::string& path) {
    const std::string file = fileNameOf(path);
    if (!endsWith(file, kLineEnding) || file.size() == kLineEnding.size()) return "scenario";
    return file.substr(0, file.size() - kLineEnding.size());
}

// "NAME_NUMBER-.txt" gives NUMBER when NAME is the scenario name.
std::string numberFromTrainFile(const std::string& path, const std::string& name) {
    const std::string file = fileNameOf(path);
    const std::string stem = name + "_";
    if (!endsWith(file, kTrainEnding) || file.rfind(stem, 0) != 0) return "0";
    return file.substr(stem.size(), file.size() - stem.size() - kTrainEnding.size());
}

}  // namespace

void nameFromSourceFiles(const std::string& lineFile, const std::string& trainFile,
                         std::string& scenarioName, std::string& trainNumber) {
    if (scenarioName.empty()) scenarioName = nameFromLineFile(lineFile);
    if (trainNumber.empty()) trainNumber = numberFromTrainFile(trainFile, scenarioName);
    if (!namePartProblem(scenarioName).empty()) scenarioName = "scenario";
    if (!namePartProblem(trainNumber).empty()) trainNumber = "0";
}

}  // namespace scenario
