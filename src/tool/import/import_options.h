// What scenario import is asked for: a header alone, since the import itself is not in every
// build.
#pragma once

#include <string>

namespace scenario {

struct ImportOptions {
    std::string track;
    std::string scenarioName;
    std::string trainNumber;
    std::string outDirectory = ".";
    int speed = 100;
    bool json = false;
};

}  // namespace scenario
