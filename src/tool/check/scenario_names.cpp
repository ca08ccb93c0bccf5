// Names taken from source file names pass the same rule as names typed in.
#include "tool/check/scenario_names.h"

#include <filesystem>
#include <string_view>

#include "base/platform.h"
#include "tool/check/file_name_part.h"

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

std::string namePart(std::string part) {
    return namePartProblem(part).empty() ? part : std::string();
}

}  // namespace

SourceKind sourceKindOf(const std::string& path) {
    const std::string name = fileNameOf(path);
    if (endsWith(name, kLineEnding) && name.size() > kLineEnding.size()) return SourceKind::Line;
    if (!endsWith(name, kTrainEnding)) return SourceKind::Other;
    const std::string stem = name.substr(0, name.size() - kTrainEnding.size());
    const std::size_t cut = stem.rfind('_');
    if (cut == std::string::npos || cut == 0 || cut + 1 == stem.size()) return SourceKind::Other;
    return SourceKind::Train;
}

std::string nameFromLineFile(const std::string& lineFile) {
    const std::string file = fileNameOf(lineFile);
    if (!endsWith(file, kLineEnding)) return {};
    return namePart(file.substr(0, file.size() - kLineEnding.size()));
}

std::string numberFromTrainFile(const std::string& trainFile, const std::string& scenarioName) {
    const std::string file = fileNameOf(trainFile);
    const std::string stem = scenarioName + "_";
    if (!endsWith(file, kTrainEnding) || file.size() < stem.size() + kTrainEnding.size() ||
        file.rfind(stem, 0) != 0)
        return {};
    return namePart(file.substr(stem.size(), file.size() - stem.size() - kTrainEnding.size()));
}

void nameFromSourceFiles(const std::string& lineFile, const std::string& trainFile,
                         std::string& scenarioName, std::string& trainNumber) {
    if (scenarioName.empty()) scenarioName = nameFromLineFile(lineFile);
    if (trainNumber.empty()) trainNumber = numberFromTrainFile(trainFile, scenarioName);
    if (!namePartProblem(scenarioName).empty()) scenarioName = "scenario";
    if (!namePartProblem(trainNumber).empty()) trainNumber = "0";
}

}  // namespace scenario
