// The record tables: the keyword tests the passes dispatch on, and the value fields, held against
// the built-in source files line by line.
#include "source/record_tables.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "source/builtin_tables.h"
#include "source/field_reader.h"

namespace scenario {
namespace {

std::vector<std::string> recordsNamedBy(std::string_view field, std::span<const RecordSpec> table) {
    const RecordMatches named = recordMatches(field);
    std::vector<std::string> names;
    for (const RecordSpec& r : table)
        if (named.named(r)) names.emplace_back(r.name);
    return names;
}

TEST(RecordTables, KeywordTestsFollowEachRecordsLetterCaseRule) {
    using Names = std::vector<std::string>;
    struct Case {
        const char* field;
        bool train;
        Names expected;
    } cases[] = {
        {"LUNGHEZZA Percorso", false, {"route length"}},
        {"progressiva chilometrica tre", false, {"kilometre post three"}},
        {"Progressiva chilometrica tre", false, {}},
        {"sfondo UNO", false, {}},
        {"ripetizione segnali 9 codici", false, {"signal repetition"}},
        {"CURVAS4", false, {"curve"}},
        {"[curve]", false, {}},
        {"Indicatori_VMAX", false, {"maximum-speed boards"}},
        {"cartello_indicatore", false, {"indicator sign"}},
        {"indicatori_v cartello", false, {"maximum-speed boards", "indicator sign"}},
        {"Percentuale MASSA frenata", true, {"braked mass"}},
        {"velocita aderenza", true, {"speed limit", "adhesion"}},
        {"[segnali]", true, {}},
        {"Stazione", true, {"station"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(recordsNamedBy(c.field, c.train ? trainRecords() : lineRecords()), c.expected)
            << c.field;
}

// Every record line of the built-in files holds exactly the table's fields, of the table's types:
// read with the field reader, each line is used up by its record.
void expectBuiltInLinesFitTheTable(const LineTable& lines, std::span<const RecordSpec> table) {
    int records = 0;
    for (const std::string& line : lines) {
        if (line == kEndSentinel) break;
        FieldReader reader(line);
        const std::string first = reader.readText();
        if (first.find('-') != std::string::npos) continue;
        const RecordMatches named = recordMatches(first);
        std::vector<const RecordSpec*> matched;
        for (const RecordSpec& r : table)
            if (named.named(r)) matched.push_back(&r);
        if (matched.empty()) continue;
        ASSERT_EQ(matched.size(), 1u) << line;
        ++records;
        for (const FieldSpec& field : matched[0]->fields) {
            switch (field.type) {
                case FieldType::Long:
                    reader.readLong();
                    break;
                case FieldType::Integer:
                    reader.readInteger();
                    break;
                case FieldType::Byte:
                    reader.readByte();
                    break;
                case FieldType::Name:
                    reader.readName();
                    break;
            }
        }
        EXPECT_TRUE(reader.atEnd()) << line;
        EXPECT_TRUE(reader.warnings().empty()) << line;
    }
    EXPECT_GT(records, 0);
}

TEST(RecordTables, BuiltInRecordsHoldExactlyTheTablesFields) {
    expectBuiltInLinesFitTheTable(lineSourceTable(), lineRecords());
    expectBuiltInLinesFitTheTable(trainSourceTable(), trainRecords());
}

TEST(RecordTables, EveryFieldHasANameATypeAndARange) {
    for (std::span<const RecordSpec> table : {lineRecords(), trainRecords()}) {
        for (const RecordSpec& r : table) {
            EXPECT_FALSE(r.fields.empty()) << r.name;
            for (const FieldSpec& f : r.fields) {
                EXPECT_FALSE(f.name.empty()) << r.name;
                EXPECT_FALSE(f.becomes.empty()) << r.name << " " << f.name;
                EXPECT_LE(f.lowest, f.highest) << r.name << " " << f.name;
            }
        }
    }
}

}  // namespace
}  // namespace scenario
