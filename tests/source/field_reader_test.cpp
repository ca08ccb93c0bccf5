// The field reader's rules for text and number fields, line ends and the end of the file.
#include "source/field_reader.h"

#include <gtest/gtest.h>

#include <random>

#include "base/failures.h"
#include "source/field_rules_model.h"

namespace scenario {
namespace {

// Reads "T" (text) or "L"/"I"/"B" (Long/Integer/Byte) fields in turn and renders them.
std::string readWith(FieldReader& reader, const std::string& kinds) {
    std::string out;
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        if (i > 0) out += '|';
        switch (kinds[i]) {
            case 'T':
                out += reader.readText();
                break;
            case 'L':
                out += std::to_string(reader.readLong());
                break;
            case 'I':
                out += std::to_string(reader.readInteger());
                break;
            case 'B':
                out += std::to_string(reader.readByte());
                break;
        }
    }
    return out;
}

std::string readAs(const std::string& bytes, const std::string& kinds) {
    FieldReader reader(bytes);
    return readWith(reader, kinds);
}

TEST(FieldReader, ReadsRecordsByTheFieldRules) {
    struct Case {
        const char* bytes;
        const char* kinds;
        const char* expected;
    } cases[] = {
        // Blank-separated numbers on the clock line.
        {"orologio,    14              22            30 \r\n[fine]\r\n", "TIIIT",
         "orologio|14|22|30|[fine]"},
        // Empty fields give 0.
        {"indicatori_vmax,  450,  65,  70,  75,  0,  ,  ,  ,  0\r\n", "TLLLLLLLLL",
         "indicatori_vmax|450|65|70|75|0|0|0|0|0"},
        {"pendenza,  18500 ,-15 \r\n", "TLL", "pendenza|18500|-15"},
        {"curvas6,  300 , 50 \r\nx", "TLLT", "curvas6|300|50|x"},
        // A record spilling over two lines is read whole; the next first field follows it.
        {"pendenza,  18500\r\n-15\r\nx\r\n", "TLLT", "pendenza|18500|-15|x"},
        // A comma right before the line end leaves an empty field there.
        {"sabbia,\r\n300\r\n", "TII", "sabbia|0|300"},
        // A blank line is an empty field, or 0 where a number is due.
        {"\r\n\r\nx\r\n", "TLT", "|0|x"},
        // Extra fields on a line are left for the next reads.
        {"a, 1, 2, b\r\n", "TLLT", "a|1|2|b"},
        // Lone LF and lone CR end lines; a tab is a blank.
        {"a,\t7\nb, 8\rc\n", "TLTLT", "a|7|b|8|c"},
        // Blanks at the end of a text field are dropped; quotes and hyphens are ordinary.
        {"  \"x - y\"   ,z", "TT", "\"x - y\"|z"},
        // Number texts that are not a sign and digits read as 0; "+7" is 7.
        {"12.5, 1e3, 12abc, +7, -, +\r\n", "LLLLLL", "0|0|0|7|0|0"},
        {"007, -0, 3-4, 12\t\r\n-5", "LLLLL", "7|0|0|12|-5"},
        // Limits of each type.
        {"255, 0, 32767, -32768, 2147483647, -2147483648\r\n", "BBIILL",
         "255|0|32767|-32768|2147483647|-2147483648"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(readAs(c.bytes, c.kinds), c.expected) << c.bytes;
        // Bytes the reader only borrows end where the view ends, whatever follows them.
        const std::string padded = std::string(c.bytes) + "9 x";
        FieldReader borrowed(FieldReader::Borrowed{},
                             std::string_view(padded).substr(0, padded.size() - 3));
        EXPECT_EQ(readWith(borrowed, c.kinds), c.expected) << c.bytes;
    }
}

// Numbers of every length, sign and blank run, at every distance from the end of the bytes: the
// reader gives what the number text rule gives, or refuses a value beyond a Long.
TEST(FieldReader, NumbersOfAnyShapeReadAsTheNumberTextRuleSays) {
    std::mt19937 random(7);
    const std::string alphabet = "0123456789012345678901234567890123456789+-a./:\xB9";
    const std::string ends[] = {",", "\r\n", "\n", " ,", "\t\r\n", ""};
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        for (int n = static_cast<int>(random() % 15); n > 0; --n)
            text += alphabet[random() % alphabet.size()];
        const std::string bytes = std::string(random() % 13, random() % 4 == 0 ? '\t' : ' ') +
                                  text + ends[random() % std::size(ends)];
        if (bytes.empty()) continue;
        bool isNumber = true;
        const std::int64_t expected = numberTextValue(text, isNumber);
        FieldReader reader(FieldReader::Borrowed{}, bytes);
        if (expected < INT32_MIN || expected > INT32_MAX) {
            EXPECT_THROW(reader.readLong(), RunTimeFailure) << bytes;
            continue;
        }
        EXPECT_EQ(reader.readLong(), expected) << bytes;
        EXPECT_EQ(reader.warnings().size(), isNumber ? 0u : 1u) << bytes;
        EXPECT_TRUE(reader.atEnd()) << bytes;
    }
}

// Whole files of separators, blanks, digits and runs long enough to cross the reader's blocks of
// bytes, read in random orders of every kind of read, agree read by read with the rules read one
// byte at a time.
TEST(FieldReader, AgreesWithTheFieldRulesReadByteByByte) {
    using model::Read;
    std::mt19937 random(11);
    const std::string common[] = {",",   "\r\n",   "\n",       "\r", " ",   "\t",
                                  "   ", "-",      "+",        "0",  "7",   "12",
                                  "255", "123456", "99999999", "a",  "x y", "1a"};
    // Values of more than eight digits, and runs longer than the reader's blocks of 64 bytes.
    // A value out of range would end the round.
    const std::string rare[] = {"1234567890", "000000000012", std::string(70, ' '),
                                std::string(63, '0'), std::string(130, 'n')};
    // Mostly the reads of a record: a text, then numbers. Integer and Byte reads are rarer, as
    // most values are out of their range and end the round.
    const Read reads[] = {Read::Text, Read::Text, Read::Long, Read::Long, Read::Long,
                          Read::Long, Read::Long, Read::Long, Read::Name};
    for (int round = 0; round < 4000; ++round) {
        // Short files end within a block; long ones are read mostly from whole blocks. Pieces
        // mostly stand apart: digits run together soon make a value out of range, which ends
        // the round.
        std::string bytes;
        for (int n = static_cast<int>(random() % (round % 2 == 0 ? 20 : 400)); n > 0; --n) {
            bytes += random() % 40 == 0 ? rare[random() % std::size(rare)]
                                        : common[random() % std::size(common)];
            if (random() % 8 != 0) bytes += common[random() % 7];
        }
        std::vector<Read> kinds(1 + random() % 8);
        for (Read& kind : kinds)
            kind = random() % 200 == 0 ? (random() % 2 == 0 ? Read::Integer : Read::Byte)
                                       : reads[random() % std::size(reads)];
        EXPECT_EQ(model::firstDifference(bytes, kinds), "") << bytes;
    }
}

TEST(FieldReader, OutOfRangeValuesAndReadsPastTheEndAreRunTimeFailures) {
    struct Case {
        const char* bytes;
        const char* kinds;
    } cases[] = {
        {"300", "B"},
        {"-1", "B"},
        {"40000", "I"},
        {"-32769", "I"},
        {"2147483648", "L"},
        {"-2147483649", "L"},
        {"99999999999999999999999999", "L"},
        {"a\r\n", "TT"},
        {"", "T"},
        {"1", "LL"},
    };
    for (const Case& c : cases) EXPECT_THROW(readAs(c.bytes, c.kinds), RunTimeFailure) << c.bytes;
}

TEST(FieldReader, EndOfFileIsTrueRightAfterTheLastFieldIsTaken) {
    struct Case {
        const char* bytes;
        int fieldsBeforeEnd;
    } cases[] = {
        {"[generale]\r\n[fine]\r\n", 2},
        {"[generale]\r\n[fine]", 2},
        {"[generale]\r\n[fine]   ", 2},
        {"[generale]\r\n[fine]\r\n\r\n", 3},  // the blank line is one more field
        {"a,b,", 2},
    };
    for (const Case& c : cases) {
        FieldReader reader(c.bytes);
        int fields = 0;
        while (!reader.atEnd()) {
            reader.readText();
            ++fields;
        }
        EXPECT_EQ(fields, c.fieldsBeforeEnd) << c.bytes;
    }
    EXPECT_TRUE(FieldReader("").atEnd());
}

TEST(FieldReader, KnowsTheLineOfEachField) {
    FieldReader reader("a, 1\r\n\r\nb\n  2\rc");
    reader.readText();
    EXPECT_EQ(reader.line(), 1);
    reader.readLong();
    EXPECT_EQ(reader.line(), 1);
    reader.readText();  // the blank line
    EXPECT_EQ(reader.line(), 2);
    reader.readText();
    EXPECT_EQ(reader.line(), 3);
    reader.readLong();
    EXPECT_EQ(reader.line(), 4);
    reader.readText();
    EXPECT_EQ(reader.line(), 5);
}

TEST(FieldReader, NamesLongerThanTheFilesCanHoldAreRunTimeFailures) {
    EXPECT_EQ(FieldReader(std::string(65535, 'A')).readName().size(), 65535u);
    EXPECT_THROW(FieldReader(std::string(65536, 'A')).readName(), RunTimeFailure);
}

TEST(FieldReader, WarnsWhereANumberTextReadAsZero) {
    FieldReader reader("x, 12abc, , 5\r\n");
    reader.readText();
    reader.readLong();
    reader.readLong();
    reader.readLong();
    ASSERT_EQ(reader.warnings().size(), 1u);
    EXPECT_EQ(reader.warnings()[0].location.line, 1);
}

// Columns count bytes from 1: blanks around a field are not part of it; an empty field has its
// one column where it begins.
TEST(FieldReader, LocationGivesTheFileLineAndColumnsOfTheFieldJustRead) {
    FieldReader reader("  segnale  , 2600,\r\n\tpendenza,, -5  \n", "t.txt");
    struct Expect {
        int line, first, last;
    };
    auto next = [&](bool number) {
        if (number)
            reader.readLong();
        else
            reader.readText();
        const Location at = reader.location();
        EXPECT_EQ(at.file, "t.txt");
        return Expect{at.line, at.firstColumn, at.lastColumn};
    };
    const Expect expected[] = {{1, 3, 9}, {1, 14, 17}, {1, 19, 19},
                               {2, 2, 9}, {2, 11, 11}, {2, 13, 14}};
    const bool numbers[] = {false, true, false, false, true, true};
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const Expect got = next(numbers[i]);
        EXPECT_EQ(got.line, expected[i].line) << "field " << i;
        EXPECT_EQ(got.first, expected[i].first) << "field " << i;
        EXPECT_EQ(got.last, expected[i].last) << "field " << i;
    }
}

}  // namespace
}  // namespace scenario
