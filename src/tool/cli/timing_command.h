// scenario timing: the running times of a scenario's train, section by section, against its
// timetable; scenario stock: the default stock file to edit.
#pragma once

#include <CLI/CLI.hpp>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace scenario {

struct TimingCommandOptions {
    std::vector<std::string> inputs;  // DIR, or LINE_FILE TRAIN_FILE
    std::string scenarioName;
    std::string trainNumber;
    std::optional<std::string> stockFile;
    double margin = 0;  // per cent of the minimum
    bool json = false;
};

void declareTimingOptions(CLI::App& command, TimingCommandOptions& options);
int runTimingCommand(const TimingCommandOptions& options, std::ostream& out, std::ostream& err);

struct StockCommandOptions {
    std::string outFile;
};

void declareStockOptions(CLI::App& command, StockCommandOptions& options);
int runStockCommand(const StockCommandOptions& options, std::ostream& out, std::ostream& err);

}  // namespace scenario
