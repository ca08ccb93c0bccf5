// The keyword tests' view of Windows-1252: which bytes fold to which, and the substring tests.
#include "base/code_page.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

// The bytes the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) are no letters.
TEST(CodePage, FoldsAsciiAndAccentedCapitalsOnly) {
    struct Case {
        unsigned char in, out;
    } cases[] = {
        {'A', 'a'},   {'Z', 'z'},   {'a', 'a'},   {'[', '['},   {'-', '-'},   {'4', '4'},
        {0xC0, 0xE0}, {0xC8, 0xE8}, {0xDE, 0xFE}, {0xD7, 0xD7}, {0xDF, 0xDF}, {0x8A, 0x9A},
        {0x8C, 0x9C}, {0x8E, 0x9E}, {0x9F, 0xFF}, {0xE8, 0xE8}, {0x81, 0x81}, {0x8D, 0x8D},
        {0x8F, 0x8F}, {0x90, 0x90}, {0x9D, 0x9D},
    };
    for (const Case& c : cases) EXPECT_EQ(toLowerByte(c.in), c.out) << int(c.in);
}

TEST(CodePage, KeywordTestsExactAndCaseFree) {
    EXPECT_TRUE(containsNoCase("LUNGHEZZA Percorso", "percorso"));
    EXPECT_TRUE(containsNoCase("curvaS4", "s"));
    EXPECT_FALSE(contains("Progressiva chilometrica uno", "progressiva"));
    EXPECT_TRUE(contains("progressiva chilometrica uno", "uno"));
    EXPECT_FALSE(containsNoCase("", "velocit"));
    EXPECT_TRUE(containsNoCase("\xC8stazione", "\xE8"));
    // A partial match does not hide a match that starts inside it; the keyword may end the field.
    EXPECT_TRUE(containsNoCase("SEGNASEGNALE", "segnale"));
    EXPECT_TRUE(containsNoCase("x,Segnale", "segnale"));
    EXPECT_FALSE(containsNoCase("segnal", "segnale"));
    EXPECT_TRUE(containsNoCase("abc", ""));
}

}  // namespace
}  // namespace scenario
