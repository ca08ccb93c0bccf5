// Windows-1252 text as bytes: the case folding and the substring tests the keyword tests use.
#pragma once

#include <string>
#include <string_view>

namespace scenario {

// Folds the code page's capitals (A-Z and the accented capitals) to their small letters.
unsigned char toLowerByte(unsigned char c);
std::string toLowerText(std::string_view text);

// Substring tests on a first field: exact, and without regard to letter case.
bool contains(std::string_view field, std::string_view keyword);
bool containsNoCase(std::string_view field, std::string_view keyword);
bool endsWith(std::string_view text, std::string_view ending);

}  // namespace scenario
