// The rule for names used in file names: not empty, no path separator, no "..", no control
// character, nothing a Windows file name cannot hold, at most 100 bytes, and text that
// Windows-1252 can store.
#include "tool/check/file_name_part.h"

#include <array>

#include "base/code_page.h"
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

}  // namespace

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
    if (!windows1252FromUtf8(text, refused))
        return "holds \"" + refused + "\", which Windows-1252 cannot hold";
    return {};
}

CLI::Validator fileNamePart() {
    return CLI::Validator(
        [](std::string& text) {
            const std::string problem = namePartProblem(text);
            return problem.empty() ? problem : "it is used in file names and " + problem;
        },
        "NAME", "file name part");
}

}  // namespace scenario
