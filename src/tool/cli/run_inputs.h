// What the commands that draw or time a run read besides the sources: the stock file and the
// compiled files, each told on the error stream, "scenario COMMAND: ...", when it cannot be had.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "tool/route/route_data.h"
#include "tool/timing/stock_file.h"

namespace scenario {

// The stock as chooseStock finds it; false after saying why it is refused.
bool chooseCommandStock(std::string_view command, const std::optional<std::string>& given,
                        const std::string& directory, const std::string& scenarioName,
                        const std::string& trainNumber, StockChoice& stock, std::ostream& err);

// Whether the scenario name and train number that a directory's compiled files need are given;
// false after saying so.
bool compiledFilesNamed(std::string_view command, const std::string& scenarioName,
                        const std::string& trainNumber, std::ostream& err);

// A directory's compiled files, once named; none after saying why.
std::optional<ScenarioFiles> readCommandFiles(std::string_view command,
                                              const std::string& directory,
                                              const std::string& scenarioName,
                                              const std::string& trainNumber, std::ostream& err);

}  // namespace scenario
