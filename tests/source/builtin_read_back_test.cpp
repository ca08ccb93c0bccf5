// The built-in source files, written by the writers and read back by the field reader, give the
// numbers their lines show: the writers' layout and the reader's rules agree.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "base/file_store.h"
#include "source/builtin_tables.h"
#include "source/field_reader.h"
#include "source/source_writers.h"

namespace scenario {
namespace {

struct Record {
    std::string keyword;
    std::vector<std::int64_t> numbers;
    std::string text;  // the trailing text of a sign or a station, else empty
};

std::string trimmed(const std::string& s) {
    const std::size_t a = s.find_first_not_of(' ');
    if (a == std::string::npos) return "";
    return s.substr(a, s.find_last_not_of(' ') - a + 1);
}

// What a line shows, split naively: comma-separated pieces, numbers also split at blanks,
// an empty piece standing for 0.
Record recordShownBy(const std::string& line) {
    std::vector<std::string> pieces;
    std::stringstream in(line);
    for (std::string piece; std::getline(in, piece, ',');) pieces.push_back(piece);
    if (!line.empty() && line.back() == ',') pieces.push_back("");
    Record r{trimmed(pieces.at(0)), {}, ""};
    const bool endsWithText = r.keyword == "stazione" || r.keyword == "cartello_indicatore";
    for (std::size_t i = 1; i < pieces.size(); ++i) {
        if (endsWithText && i + 1 == pieces.size()) {
            r.text = trimmed(pieces[i]);
            break;
        }
        std::istringstream numbers(pieces[i]);
        std::int64_t n;
        bool any = false;
        while (numbers >> n) {
            r.numbers.push_back(n);
            any = true;
        }
        if (!any) r.numbers.push_back(0);
    }
    return r;
}

// Reads the written file back, one record per table line, and checks each against its line.
const ScenarioIdentity kBuiltin{"Alderi_Moncasta", "30752"};

void expectReadBackAsShown(const LineTable& table,
                           void (*writer)(FileStore&, const ScenarioIdentity&),
                           const std::string& fileName) {
    MemoryStore store;
    writer(store, kBuiltin);
    FieldReader reader(store.read(fileName).value());
    for (std::size_t i = 0; table[i] != kEndSentinel; ++i) {
        const Record shown = recordShownBy(table[i]);
        ASSERT_EQ(reader.readText(), shown.keyword) << "line " << i + 1;
        for (std::int64_t n : shown.numbers) EXPECT_EQ(reader.readLong(), n) << "line " << i + 1;
        if (!shown.text.empty()) {
            EXPECT_EQ(reader.readText(), shown.text) << "line " << i + 1;
        }
    }
    EXPECT_TRUE(reader.atEnd());
}

TEST(BuiltinReadBack, TheLineSourceFileReadsBackAsWritten) {
    expectReadBackAsShown(lineSourceTable(), dati_linea, "Alderi_Moncasta_linea.txt");
}

TEST(BuiltinReadBack, TheTrainSourceFileReadsBackAsWritten) {
    expectReadBackAsShown(trainSourceTable(), dati_treno, "Alderi_Moncasta_30752-.txt");
}

TEST(BuiltinReadBack, NegativeGradientsAndTheBlankSeparatedClockReadAsNumbers) {
    MemoryStore store;
    dati_treno(store, kBuiltin);
    FieldReader train(store.read("Alderi_Moncasta_30752-.txt").value());
    while (train.readText() != "orologio") {
    }
    EXPECT_EQ(train.readInteger(), 14);
    EXPECT_EQ(train.readInteger(), 22);
    EXPECT_EQ(train.readInteger(), 30);

    dati_linea(store, kBuiltin);
    FieldReader line(store.read("Alderi_Moncasta_linea.txt").value());
    int negative = 0;
    while (!line.atEnd()) {
        if (line.readText() != "pendenza") continue;
        line.readLong();
        if (line.readLong() < 0) ++negative;
    }
    EXPECT_GT(negative, 0);
}

}  // namespace
}  // namespace scenario
