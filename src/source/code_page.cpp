// Windows-1252 case folding and substring tests.
#include "source/code_page.h"

namespace scenario {

unsigned char toLowerByte(unsigned char c) {
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

std::string toLowerText(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = static_cast<char>(toLowerByte(static_cast<unsigned char>(c)));
    return lower;
}

bool contains(std::string_view field, std::string_view keyword) {
    return field.find(keyword) != std::string_view::npos;
}

bool containsNoCase(std::string_view field, std::string_view keyword) {
    return contains(toLowerText(field), toLowerText(keyword));
}

}  // namespace scenario
