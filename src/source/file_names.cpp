// Source file names read back into a scenario name and a train number; names taken from files
// pass the same rule as names typed in.
#include "source/file_names.h"

#include <array>

#include "base/code_page.h"
#include "base/platform.h"
#include "base/text_encoding.h"

namespace scenario {
namespace {

// Windows keeps these names for devices, whatever follows a dot.
bool isReservedDeviceName(std::string_view text) {
    const std::string stem = toLowerText(text.substr(0, text.find('.')));
    static constexpr std::array<std::string_view, 4> kPlain = {"con", "prn", "aux", "nul"};
    for (std::string_view name : kPlain)
        if (stem == name) return true;
    return stem.size() == 4 && (stem.rfind("com", 0) == 0 || stem.rfind("lpt", 0) == 0) &&
           stem[3] >= '1' && stem[3] <= '9';
}

std::string namePart(std::string part) {
    return namePartProblem(part).empty() ? part : std::string();
}

}  // namespace

std::string fileNameOf(const std::string& path) {
    return textFromPath(pathFromText(path).filename());
}

std::optional<std::string> lineFileStem(const std::string& fileName) {
    if (fileName.size() <= kLineSourceEnding.size() || !endsWith(fileName, kLineSourceEnding))
        return std::nullopt;
    return fileName.substr(0, fileName.size() - kLineSourceEnding.size());
}

std::optional<std::string> trainFileStem(const std::string& fileName) {
    if (!endsWith(fileName, kTrainSourceEnding)) return std::nullopt;
    std::string stem = fileName.substr(0, fileName.size() - kTrainSourceEnding.size());
    const std::size_t cut = stem.rfind('_');
    if (cut == std::string::npos || cut == 0 || cut + 1 == stem.size()) return std::nullopt;
    return stem;
}

std::optional<std::string> trainNumberIn(const std::string& fileName,
                                         const std::string& scenarioName) {
    const std::string prefix = scenarioName + "_";
    if (fileName.size() <= prefix.size() + kTrainSourceEnding.size() ||
        fileName.rfind(prefix, 0) != 0 || !endsWith(fileName, kTrainSourceEnding))
        return std::nullopt;
    return fileName.substr(prefix.size(),
                           fileName.size() - prefix.size() - kTrainSourceEnding.size());
}

SourceKind sourceKindOf(const std::string& path) {
    const std::string name = fileNameOf(path);
    if (lineFileStem(name)) return SourceKind::Line;
    if (trainFileStem(name)) return SourceKind::Train;
    return SourceKind::Other;
}

std::string namePartProblem(std::string_view text) {
    if (text.empty()) return "is empty";
    if (text.size() > kLongestNamePart)
        return "is " + std::to_string(text.size()) + " bytes long, more than " +
               std::to_string(kLongestNamePart);
    if (text.find_first_of("/\\") != std::string_view::npos) return "holds a path separator";
    if (text.find("..") != std::string_view::npos) return "holds \"..\"";
    for (char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F) return "holds a control character";
    }
    if (text.find_first_of("<>:\"|?*") != std::string_view::npos)
        return "holds one of < > : \" | ? *, which a Windows file name cannot hold";
    if (text.back() == '.' || text.back() == ' ')
        return "ends with a dot or a blank, which a Windows file name drops";
    if (isReservedDeviceName(text)) return "is a name Windows keeps for a device";
    std::string refused;
    if (!windows1252FromUtf8OrRefuse(text, refused))
        return "holds \"" + refused + "\", which Windows-1252 cannot hold";
    return {};
}

std::string nameFromLineFile(const std::string& lineFile) {
    return namePart(lineFileStem(fileNameOf(lineFile)).value_or(""));
}

std::string numberFromTrainFile(const std::string& trainFile, const std::string& scenarioName) {
    return namePart(trainNumberIn(fileNameOf(trainFile), scenarioName).value_or(""));
}

void nameFromSourceFiles(const std::string& lineFile, const std::string& trainFile,
                         std::string& scenarioName, std::string& trainNumber) {
    if (scenarioName.empty()) scenarioName = nameFromLineFile(lineFile);
    if (trainNumber.empty()) trainNumber = numberFromTrainFile(trainFile, scenarioName);
    if (!namePartProblem(scenarioName).empty()) scenarioName = std::string("scenario");
    if (!namePartProblem(trainNumber).empty()) trainNumber = std::string("0");
}

}  // namespace scenario
