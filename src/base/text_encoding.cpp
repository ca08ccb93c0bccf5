// Windows-1252 to UTF-8: bytes below 0x80 are ASCII, 0xA0 to 0xFF are Latin-1, and 0x80 to 0x9F
// hold the code page's own punctuation and letters; and UTF-8 back to Windows-1252.
#include "base/text_encoding.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

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

// The Windows-1252 byte of a code point, or nothing when the code page has none.
std::optional<unsigned char> byteOf(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<unsigned char>(c);
    for (unsigned i = 0; i < 32; ++i)
        if (kHighControls[i] == c && c != kReplacement) return static_cast<unsigned char>(0x80 + i);
    return std::nullopt;
}

}  // namespace

std::size_t decodeUtf8(std::string_view text, std::size_t i, char32_t& c) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    if (lead < 0x80) {
        c = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        c = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        c = lead & 0x07;
    } else {
        return 0;
    }
    if (i + length > text.size()) return 0;
    for (std::size_t k = 1; k < length; ++k) {
        const auto b = static_cast<unsigned char>(text[i + k]);
        if ((b & 0xC0) != 0x80) return 0;
        c = (c << 6) | (b & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
    static constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kLeast[length] || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) return 0;
    return length;
}

Utf8Scan scanUtf8(std::string_view text) {
    Utf8Scan scan;
    // Most source files are ASCII: eight bytes without a high bit are eight characters.
    std::size_t ascii = 0;
    for (std::uint64_t word = 0; ascii + sizeof word <= text.size(); ascii += sizeof word) {
        std::memcpy(&word, text.data() + ascii, sizeof word);
        if ((word & 0x8080808080808080u) != 0) break;
    }
    for (std::size_t i = ascii; i < text.size();) {
        char32_t c = 0;
        const std::size_t length = decodeUtf8(text, i, c);
        if (length == 0) {
            scan.valid = false;
            scan.firstMalformed = i;
            return scan;
        }
        if (length > 1 && !scan.firstNonAscii) scan.firstNonAscii = i;
        i += length;
    }
    return scan;
}

std::optional<std::string> windows1252FromUtf8OrRefuse(std::string_view text,
                                                       std::string& refused) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        char32_t c = 0;
        std::size_t length = decodeUtf8(text, i, c);
        const std::optional<unsigned char> byte = length == 0 ? std::nullopt : byteOf(c);
        if (!byte) {
            refused = std::string(text.substr(i, std::max<std::size_t>(length, 1)));
            return std::nullopt;
        }
        out += static_cast<char>(*byte);
        i += length;
    }
    return out;
}

std::string windows1252FromUtf8OrQuestionMarks(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        // An editor sends whole buffers after each change, nearly all ASCII: runs go in at once.
        const std::size_t ascii = i;
        while (i < text.size() && static_cast<unsigned char>(text[i]) < 0x80) ++i;
        out.append(text.substr(ascii, i - ascii));
        if (i == text.size()) break;
        char32_t c = 0;
        const std::size_t length = decodeUtf8(text, i, c);
        if (length == 0) {
            out += '?';
            ++i;
            continue;
        }
        i += length;
        if (c > 0xFFFF) {
            out += "??";
            continue;
        }
        const std::optional<unsigned char> byte =
            c < 0x100 ? static_cast<unsigned char>(c) : byteOf(c);
        out += byte ? static_cast<char>(*byte) : '?';
    }
    return out;
}

std::string utf8FromWindows1252(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char b : bytes) appendUtf8(out, codePoint(static_cast<unsigned char>(b)));
    return out;
}

std::string printableFromWindows1252(std::string_view bytes) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(bytes.size());
    for (char b : bytes) {
        const auto byte = static_cast<unsigned char>(b);
        if (byte >= 0x20 && byte != 0x7F) {
            appendUtf8(out, codePoint(byte));
            continue;
        }
        out += "\\x";
        out += kHex[byte >> 4];
        out += kHex[byte & 0xF];
    }
    return out;
}

}  // namespace scenario
