// The file-name rule as a command-line check.
#include "tool/check/file_name_part.h"

namespace scenario {

CLI::Validator fileNamePart() {
    return CLI::Validator(
        [](std::string& text) {
            const std::string problem = namePartProblem(text);
            return problem.empty() ? problem : "it is used in file names and " + problem;
        },
        "NAME", "file name part");
}

}  // namespace scenario
