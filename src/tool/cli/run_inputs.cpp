// The stock and compiled-file inputs of timing and view, and how their refusal is told.
#include "tool/cli/run_inputs.h"

#include <fmt/format.h>

namespace scenario {

bool chooseCommandStock(std::string_view command, const std::optional<std::string>& given,
                        const std::string& directory, const std::string& scenarioName,
                        const std::string& trainNumber, StockChoice& stock, std::ostream& err) {
    stock = chooseStock(given, directory, scenarioName, trainNumber);
    if (stock.error.empty()) return true;
    err << fmt::format("scenario {}: {}\n", command, stock.error);
    return false;
}

bool compiledFilesNamed(std::string_view command, const std::string& scenarioName,
                        const std::string& trainNumber, std::ostream& err) {
    if (!scenarioName.empty() && !trainNumber.empty()) return true;
    err << fmt::format("scenario {}: a directory of compiled files needs --name and --train\n",
                       command);
    return false;
}

std::optional<ScenarioFiles> readCommandFiles(std::string_view command,
                                              const std::string& directory,
                                              const std::string& scenarioName,
                                              const std::string& trainNumber, std::ostream& err) {
    if (!compiledFilesNamed(command, scenarioName, trainNumber, err)) return std::nullopt;
    ScenarioFiles files = readScenarioFiles(directory, scenarioName, trainNumber);
    if (files.error.empty()) return files;
    err << fmt::format("scenario {}: {}\n", command, files.error);
    return std::nullopt;
}

}  // namespace scenario
