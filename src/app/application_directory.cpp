#include "app/application_directory.h"

#include <system_error>

#include "compiler/failures.h"

namespace scenario {

std::filesystem::path applicationDirectory() {
    std::error_code ec;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) throw FileFailure("cannot find the program's directory: " + ec.message());
    return program.parent_path();
}

}  // namespace scenario
