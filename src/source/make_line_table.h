// Builds a built-in line table from its lines in file order, closing it with the sentinel.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

#include "source/line_table.h"

namespace scenario {

// The last entry is kept for the sentinel, so a table never runs past its capacity.
inline LineTable makeLineTable(std::initializer_list<std::string_view> lines) {
    LineTable table;
    std::size_t index = 0;
    for (std::string_view line : lines) {
        if (index + 1 >= table.size()) break;
        table[index++] = std::string(line);
    }
    table[index] = kEndSentinel;
    return table;
}

}  // namespace scenario
