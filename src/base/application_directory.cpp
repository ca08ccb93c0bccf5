// Finds the running program's directory, where every file of a build lies.
#include "base/application_directory.h"

#include <system_error>

#include "base/failures.h"

namespace scenario {

std::filesystem::path applicationDirectory() {
    std::error_code ec;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) throw FileFailure("cannot find the program's directory: " + ec.message());
    return program.parent_path();
}

}  // namespace scenario
