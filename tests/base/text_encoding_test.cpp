// Windows-1252 names reach terminals, JSON and SVG as UTF-8: the code page's own characters in
// 0x80-0x9F become theirs, and the five bytes it leaves undefined become U+FFFD.
#include "base/text_encoding.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace scenario {
namespace {

TEST(TextEncoding, EveryByteBecomesItsCharacter) {
    const struct {
        std::string in;
        std::string out;
    } cases[] = {
        {"MONCASTA 1-2, [x]", "MONCASTA 1-2, [x]"},
        {std::string("\0\x7F", 2), std::string("\0\x7F", 2)},
        {"\x80", "\xE2\x82\xAC"},  // euro sign
        {"\x8A\x9A", "\xC5\xA0\xC5\xA1"},
        {"\x92", "\xE2\x80\x99"},  // right single quotation mark
        {"\x9F", "\xC5\xB8"},
        {"\xA0", "\xC2\xA0"},
        {"\xC0\xE8", "\xC3\x80\xC3\xA8"},
        {"\xFF", "\xC3\xBF"},
        // The undefined bytes, alone and among letters.
        {"\x81", "\xEF\xBF\xBD"},
        {"\x8D", "\xEF\xBF\xBD"},
        {"\x8F", "\xEF\xBF\xBD"},
        {"\x90", "\xEF\xBF\xBD"},
        {"\x9D", "\xEF\xBF\xBD"},
        {"A\x81"
         "B\x9D",
         "A\xEF\xBF\xBD"
         "B\xEF\xBF\xBD"},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(utf8FromWindows1252(in), out) << in;
}

TEST(TextEncoding, NoByteGivesInvalidUtf8) {
    // Each byte alone: one character of one to three bytes, lead byte and continuations as
    // UTF-8 requires, never a surrogate.
    for (int b = 0; b < 256; ++b) {
        const std::string u = utf8FromWindows1252(std::string(1, static_cast<char>(b)));
        ASSERT_FALSE(u.empty()) << b;
        const auto lead = static_cast<unsigned char>(u[0]);
        const std::size_t length = lead < 0x80             ? 1
                                   : (lead & 0xE0) == 0xC0 ? 2
                                   : (lead & 0xF0) == 0xE0 ? 3
                                                           : 0;
        ASSERT_EQ(u.size(), length) << b;
        for (std::size_t i = 1; i < u.size(); ++i)
            EXPECT_EQ(static_cast<unsigned char>(u[i]) & 0xC0, 0x80) << b;
        EXPECT_FALSE(lead == 0xED && static_cast<unsigned char>(u[1]) >= 0xA0) << b;
    }
}

// The scan skips ASCII eight bytes at a time: a character beyond ASCII is found, and judged, on
// either side of a word's edge.
TEST(TextEncoding, Utf8ScanFindsTheFirstCharacterBeyondAscii) {
    const std::string ascii = "stazione, 2000, ";  // sixteen bytes
    const struct {
        std::string text;
        bool valid;
        std::optional<std::size_t> firstNonAscii;
    } cases[] = {
        {"", true, std::nullopt},
        {ascii + "ALFA\r\n", true, std::nullopt},
        {ascii.substr(0, 7) + "\xC3\xA8", true, 7},
        {ascii.substr(0, 8) + "\xC3\xA8", true, 8},
        {ascii.substr(0, 9) + "\xC3\xA8" + ascii, true, 9},
        {ascii + "\xE2\x82\xAC", true, 16},
        {ascii + "\xC3", false, std::nullopt},
        {ascii.substr(0, 7) + "\xE8" + ascii, false, std::nullopt},
    };
    for (const auto& [text, valid, firstNonAscii] : cases) {
        const Utf8Scan scan = scanUtf8(text);
        EXPECT_EQ(scan.valid, valid) << text;
        if (valid) {
            EXPECT_EQ(scan.firstNonAscii, firstNonAscii) << text;
        }
    }
}

TEST(TextEncoding, EditorTextBecomesOneWindows1252ByteACodeUnit) {
    const struct {
        std::string utf8;
        std::string bytes;
    } cases[] = {
        {"stazione, LUC\xC3\x8C"
         "A",
         "stazione, LUC\xCC"
         "A"},                             // Ì
        {"\xE2\x82\xAC 5", "\x80 5"},      // € is 0x80
        {"\xC5\x92", "\x8C"},              // Œ
        {"\xC2\x85\xC2\x9F", "\x85\x9F"},  // an editor's Latin-1 reading of 0x85 0x9F
        {"\xE4\xB8\xAD", "?"},             // no place in the code page
        {"\xF0\x9F\x98\x80!",
         "?"
         "?!"},  // beyond U+FFFF: two code units
        {"a\xFF"
         "b",
         "a?b"},                  // not UTF-8
        {"\xC3", "?"},            // cut short
        {"\xE0\x80\x80", "???"},  // overlong forms and surrogates are not UTF-8
        {"\xC0\xAF", "??"},
        {"\xED\xA0\x80", "???"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(windows1252FromUtf8OrQuestionMarks(c.utf8), c.bytes) << c.utf8;
}

}  // namespace
}  // namespace scenario
