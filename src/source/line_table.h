// A built-in text file held as a table of lines; the sentinel entry ends it and is never written.
#pragma once

#include <array>
#include <cstddef>
#include <string>

namespace scenario {

inline constexpr std::size_t kLineTableSize = 1001;
inline constexpr const char* kEndSentinel = "riferimento fine del file";

using LineTable = std::array<std::string, kLineTableSize>;

}  // namespace scenario
