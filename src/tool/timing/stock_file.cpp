// Finds and reads the stock file of a scenario.
#include "tool/timing/stock_file.h"

#include <filesystem>
#include <system_error>

#include "base/file_store.h"
#include "base/platform.h"

namespace scenario {

StockChoice chooseStock(const std::optional<std::string>& given, const std::string& directory,
                        const std::string& scenarioName, const std::string& trainNumber) {
    StockChoice choice;
    if (given) {
        choice.file = *given;
    } else {
        const std::filesystem::path beside =
            pathFromText(directory) /
            pathFromText(scenarioName + "_" + trainNumber + std::string(timing::kStockFileEnding));
        std::error_code ec;
        if (!std::filesystem::is_regular_file(beside, ec)) return choice;
        choice.file = textFromPath(beside);
    }
    const std::optional<std::string> text = readWholeFile(pathFromText(choice.file));
    if (!text) {
        choice.error = "cannot read " + choice.file;
        return choice;
    }
    const timing::StockRead read = timing::readStock(*text);
    if (!read.ok()) {
        choice.error = choice.file + ": " + read.error;
        return choice;
    }
    choice.stock = read.stock;
    return choice;
}

}  // namespace scenario
