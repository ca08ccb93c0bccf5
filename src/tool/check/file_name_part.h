// Scenario names and train numbers from the command line end up in file names: only a plain
// name part may pass, never a way out of the directory.
#pragma once

#include <CLI/CLI.hpp>
#include <string>
#include <string_view>

namespace scenario {

inline constexpr std::size_t kLongestNamePart = 100;

// Why the text cannot be part of a file name; empty when it can.
std::string namePartProblem(std::string_view text);

// A command-line check with that rule.
CLI::Validator fileNamePart();

}  // namespace scenario
