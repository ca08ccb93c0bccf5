// scenario new: a small commented starter scenario, a line and a train source file that check
// clean, under the file names check derives the names from.
#pragma once

#include <CLI/CLI.hpp>
#include <ostream>
#include <string>

namespace scenario {

struct NewOptions {
    std::string scenarioName;
    std::string trainNumber;
    std::string outDirectory = ".";
};

void declareNewOptions(CLI::App& command, NewOptions& options);
int runNewCommand(const NewOptions& options, std::ostream& out, std::ostream& err);

// The starter's two texts, CR LF line ends, Windows-1252 (plain ASCII).
std::string starterLineSource();
std::string starterTrainSource();

}  // namespace scenario
