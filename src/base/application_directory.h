// The directory that holds the running program: every file of a build lies there.
#pragma once

#include <filesystem>

namespace scenario {

std::filesystem::path applicationDirectory();  // FileFailure when it cannot be found

}  // namespace scenario
