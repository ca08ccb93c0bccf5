// Reads an input file of the tool whole.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace scenario {

// The file's bytes, or nothing when it is not a regular file or cannot be read.
std::optional<std::string> readWholeFile(const std::filesystem::path& path);

}  // namespace scenario
