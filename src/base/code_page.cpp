// Windows-1252 case folding and substring tests.
#include "base/code_page.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace scenario {
namespace {

constexpr unsigned char foldByte(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
    // Accented capitals; 0xD7 is the multiplication sign and has no small letter.
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 32);
    switch (c) {
        case 0x8A:
            return 0x9A;  // S caron
        case 0x8C:
            return 0x9C;  // OE
        case 0x8E:
            return 0x9E;  // Z caron
        case 0x9F:
            return 0xFF;  // Y diaeresis
        default:
            return c;
    }
}

// Every first field goes through several case-free tests: a table lookup per byte, no copies.
constexpr std::array<unsigned char, 256> kFolded = [] {
    std::array<unsigned char, 256> table{};
    for (std::size_t c = 0; c < table.size(); ++c)
        table[c] = foldByte(static_cast<unsigned char>(c));
    return table;
}();

unsigned char folded(char c) {
    return kFolded[static_cast<unsigned char>(c)];
}

}  // namespace

unsigned char toLowerByte(unsigned char c) {
    return kFolded[c];
}

std::string toLowerText(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = static_cast<char>(folded(c));
    return lower;
}

bool contains(std::string_view field, std::string_view keyword) {
    // A search for one byte in a short field is cheaper as a plain loop than as a library call.
    if (keyword.size() == 1)
        return std::find(field.begin(), field.end(), keyword[0]) != field.end();
    return field.find(keyword) != std::string_view::npos;
}

bool endsWith(std::string_view text, std::string_view ending) {
    return text.size() >= ending.size() && text.substr(text.size() - ending.size()) == ending;
}

bool containsNoCase(std::string_view field, std::string_view keyword) {
    if (keyword.size() > field.size()) return false;
    for (std::size_t at = 0; at + keyword.size() <= field.size(); ++at) {
        std::size_t i = 0;
        while (i < keyword.size() && folded(field[at + i]) == folded(keyword[i])) ++i;
        if (i == keyword.size()) return true;
    }
    return false;
}

}  // namespace scenario
