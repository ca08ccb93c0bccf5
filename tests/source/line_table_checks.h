// Helpers for tests of the built-in line tables: the file lines a table yields, and its shape.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

#include "source/line_table.h"

namespace scenario {

// The lines the writer puts into the file: every entry up to the first sentinel.
inline std::vector<std::string> fileLines(const LineTable& table) {
    std::vector<std::string> lines;
    for (const std::string& entry : table) {
        if (entry == kEndSentinel) break;
        lines.push_back(entry);
    }
    return lines;
}

// The sentinel stands right after the last of `count` lines and every later entry is empty.
inline ::testing::AssertionResult hasSentinelAt(const LineTable& table, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        if (table[i].find(kEndSentinel) != std::string::npos)
            return ::testing::AssertionFailure() << "sentinel text in entry " << i;
    }
    if (table[count] != kEndSentinel)
        return ::testing::AssertionFailure()
               << "entry " << count << " is \"" << table[count] << "\", not the sentinel";
    for (std::size_t i = count + 1; i < table.size(); ++i) {
        if (!table[i].empty()) return ::testing::AssertionFailure() << "entry " << i << " set";
    }
    return ::testing::AssertionSuccess();
}

inline bool isAscii(const std::string& text) {
    for (unsigned char c : text) {
        if (c >= 0x80) return false;
    }
    return true;
}

}  // namespace scenario
