// Which stock the running times assume: the file given, else NAME_NUMBER.stock.json beside the
// scenario's files, else the defaults.
#pragma once

#include <optional>
#include <string>

#include "tool/timing/stock.h"

namespace scenario {

struct StockChoice {
    timing::Stock stock;
    std::string file;   // empty for the defaults
    std::string error;  // a file that cannot be read or is refused
};

StockChoice chooseStock(const std::optional<std::string>& given, const std::string& directory,
                        const std::string& scenarioName, const std::string& trainNumber);

}  // namespace scenario
