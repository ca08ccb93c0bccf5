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
    // OpenStreetMap input: two stations' names, or a route relation's id or name.
    std::string from;
    std::string to;
    std::string relation;
    // Heights for a track without them: a table of route metres, or a folder of SRTM tiles.
    std::string elevationTable;
    std::string demDirectory;
};

}  // namespace scenario
