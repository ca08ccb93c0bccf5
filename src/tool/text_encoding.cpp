// Windows-1252 to UTF-8: bytes below 0x80 are ASCII, 0xA0 to 0xFF are Latin-1, and 0x80 to 0x9F
// hold the code page's own punctuation and letters.
#include "tool/text_encoding.h"

#include <cstdint>

namespace scenario {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

constexpr char32_t kHighControls[32] = {
    0x20AC,       kReplacement, 0x201A, 0x0192, 0x201E, 0x2026,       0x2020, 0x2021,        // 0x80
    0x02C6,       0x2030,       0x0160, 0x2039, 0x0152, kReplacement, 0x017D, kReplacement,  // 0x88
    kReplacement, 0x2018,       0x2019, 0x201C, 0x201D, 0x2022,       0x2013, 0x2014,        // 0x90
    0x02DC,       0x2122,       0x0161, 0x203A, 0x0153, kReplacement, 0x017E, 0x0178,        // 0x98
};

char32_t codePoint(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0) return kHighControls[byte - 0x80];
    return byte;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

std::string utf8FromWindows1252(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char b : bytes) appendUtf8(out, codePoint(static_cast<unsigned char>(b)));
    return out;
}

}  // namespace scenario
