// The options through which the commands name what they read: the source files or a directory
// of compiled files, the scenario name and train number, and the stock file the runs are timed
// with.
#pragma once

#include <CLI/CLI.hpp>
#include <optional>
#include <string>
#include <vector>

namespace scenario {

// LINE_FILE and TRAIN_FILE, both required.
void addSourceFileOptions(CLI::App& command, std::string& lineFile, std::string& trainFile);

// INPUT: a directory of compiled files or the two source files; `help` says which comes first.
void addInputOption(CLI::App& command, std::vector<std::string>& inputs, const std::string& help);

// --name and --train, each checked as a file-name part; `help` words them where a command says
// more than the plain names (their defaults).
struct NameOptionHelp {
    std::string name = "Scenario name";
    std::string train = "Train number";
    bool required = false;
};
void addNameOptions(CLI::App& command, std::string& scenarioName, std::string& trainNumber,
                    const NameOptionHelp& help = {});

// --stock, the stock file (JSON); `help` says what the command does with it.
CLI::Option* addStockOption(CLI::App& command, std::optional<std::string>& stockFile,
                            const std::string& help);
CLI::Option* addStockOption(CLI::App& command, std::string& stockFile, const std::string& help);

// --margin, a per cent not below 0.
CLI::Option* addMarginOption(CLI::App& command, double& margin, const std::string& help);

// --stock and --margin of a command that times the runs only with --timing.
void addTimingFlagOptions(CLI::App& command, std::optional<std::string>& stockFile, double& margin);

}  // namespace scenario
