// The rule for names used in file names: no path separator, no "..", no control character, and
// at most 100 bytes.
#include "tool/file_name_part.h"

namespace scenario {

std::string namePartProblem(std::string_view text) {
    if (text.size() > kLongestNamePart)
        return "is " + std::to_string(text.size()) + " bytes long, more than " +
               std::to_string(kLongestNamePart);
    if (text.find_first_of("/\\") != std::string_view::npos) return "holds a path separator";
    if (text.find("..") != std::string_view::npos) return "holds \"..\"";
    for (char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F) return "holds a control character";
    }
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
