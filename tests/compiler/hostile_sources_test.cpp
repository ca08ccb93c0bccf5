// Whole builds over sources nobody meant to write: empty, blank, garbage, NUL bytes, a 50 MB line,
// the longest route full of curves, and every number field at and just past its type's limits.
// Each ends with a numbered error or a clean result, never a crash or a stray write.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/failures.h"
#include "compile_fixture.h"
#include "output/binary_files.h"
#include "output/compile_driver.h"
#include "report/diagnostic.h"

namespace scenario::testing {
namespace {

const std::string kEmptyTrain = crlfLines({"[generale]", "[fine]"});

// One run of the compile driver, as the scenario program makes it.
struct DriverRun {
    CompileFixture f;
    ScenarioBuild& b = f.build;
    int stoppedWith = 0;  // the stamping error's number, when it stopped the build

    void compile(const std::string& line, const std::optional<std::string>& train, int plan = 1) {
        f.setLineSource(line);
        if (train) f.setTrainSource(*train);
        const std::optional<StampingFailure> stop = memorizza_percorso(b, f.store, plan);
        if (stop) stoppedWith = stop->number;
    }
    std::optional<std::size_t> sizeOf(const std::string& name) const {
        const auto file = f.store.files.find(name);
        if (file == f.store.files.end()) return std::nullopt;
        return file->second.size();
    }
};

// Bytes from a fixed linear congruential sequence: the same garbage on every run.
std::string garbage(std::size_t size) {
    std::string bytes(size, '\0');
    std::uint32_t state = 12345;
    for (char& c : bytes) {
        state = state * 1103515245u + 12345u;
        c = static_cast<char>(state >> 24);
    }
    return bytes;
}

constexpr std::size_t k50MB = 50u << 20;

TEST(HostileSources, LineSourceWithoutAGeneralSectionIsError102AndNoFile) {
    using namespace std::string_literals;
    struct Case {
        const char* what;
        std::string line;
    } cases[] = {
        {"empty file", ""},
        {"blank lines only", "\r\n\r\n   \r\n\t\n\r\n"},
        {"binary garbage", garbage(64 * 1024)},
        {"NUL bytes only", std::string(4096, '\0')},
        {"section name cut by a NUL", "[gene\0rale]\r\nlunghezza percorso, 6000\r\n"s},
        {"one line of 50 MB", std::string(k50MB, 'g')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DriverRun r;
        r.compile(c.line, kEmptyTrain);
        EXPECT_EQ(r.b.errorCode, 102);
        EXPECT_FALSE(r.b.hasTrackCellTable());
        // The line source is deleted, the train pass never ran, and no binary file is written.
        ASSERT_EQ(r.f.store.files.size(), 1u);
        EXPECT_TRUE(r.f.hasTrainSource());
    }
}

// A 6000 m route: cells 0 to 260, a plan of metres 0 to 13000.
const std::string kShortLine = crlfLines({"[generale]", "lunghezza percorso, 6000", "[fine]"});

TEST(HostileSources, TrainSourceWithNoRecordStillGivesTheThreeFiles) {
    struct Case {
        const char* what;
        std::string train;
    } cases[] = {
        {"empty file", ""},
        {"blank lines only", "\r\n\r\n   \r\n\t\n\r\n"},
        {"binary garbage", garbage(64 * 1024)},
        {"NUL bytes only", std::string(4096, '\0')},
        {"one line of 50 MB", std::string(k50MB, 'g')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DriverRun r;
        r.compile(kShortLine, c.train);
        EXPECT_EQ(r.b.errorCode, 0);
        EXPECT_EQ(r.sizeOf("S_1.dat"), 261 * kTrackCellRecordSize);
        EXPECT_EQ(r.sizeOf("S_linea.dat"), 20u * 13000 - 36);
        EXPECT_TRUE(r.sizeOf("S_1.sim").has_value());
        EXPECT_FALSE(r.f.hasTrainSource());
    }
}

// The keyword test looks at the whole first field, however long: a record named at the end of a
// 50 MB field is still read.
TEST(HostileSources, KeywordAtTheEndOfA50MBFieldIsFound) {
    DriverRun r;
    r.compile(kShortLine, "[generale]\r\n" + std::string(k50MB, 'x') + "sabbia, 300\r\n[fine]\r\n");
    EXPECT_EQ(r.b.errorCode, 0);
    EXPECT_EQ(r.b.stationTable[86].groupA1, 300);
}

TEST(HostileSources, ANameOf50MBIsAReadFailure) {
    DriverRun r;
    r.compile(
        "[generale]\r\nlunghezza percorso, 6000\r\n[indicazioni]\r\ncartello_indicatore, 2950, " +
            std::string(k50MB, 'n') + "\r\n[fine]\r\n",
        kEmptyTrain);
    EXPECT_EQ(r.b.errorCode, 25);
    EXPECT_EQ(r.b.stationTable[80].name, "");
    EXPECT_EQ(r.sizeOf("S_1.dat"), 261 * kTrackCellRecordSize);
}

// A NUL is an ordinary byte: it ends no field and no text, and makes a number text no number.
TEST(HostileSources, NulBytesAreOrdinaryBytes) {
    using namespace std::string_literals;
    DriverRun r;
    r.compile(
        "[generale]\r\nlunghezza percorso, 6000\0\r\n[indicazioni]\r\n"
        "cartello_indicatore, 2950, A\0B\r\n[fine]\r\n"s,
        kEmptyTrain);
    EXPECT_EQ(r.b.errorCode, 0);
    // "6000\0" reads as 0: the route length 0 gives cells 0 to 140.
    EXPECT_EQ(r.b.lastCellIndex, 140);
    ASSERT_EQ(r.b.warnings.size(), 1u);
    EXPECT_EQ(r.b.warnings[0].location.line, 2);
    EXPECT_EQ(r.b.stationTable[80].name, "A\0B"s);
}

// A file gone wrong can give a warning a line: the first thousand are kept, then one more says
// that the rest are not listed.
TEST(HostileSources, WarningsStopAfterAThousandAndSaySo) {
    std::string line = "[generale]\r\nlunghezza percorso, 6000\r\n[curve]\r\n";
    for (int i = 0; i < 3000; ++i) line += "pendenza, x, 0\r\n";
    DriverRun r;
    r.compile(line + "[fine]\r\n", kEmptyTrain);
    EXPECT_EQ(r.b.errorCode, 0);
    ASSERT_EQ(r.b.warnings.size(), 1001u);
    // The records stand on lines 4 to 3003, one "x" each.
    EXPECT_EQ(r.b.warnings[999].location.line, 1003);
    EXPECT_EQ(r.b.warnings[999].message, "number text \"x\" read as 0");
    EXPECT_EQ(r.b.warnings[1000].location.line, 1004);
    EXPECT_EQ(r.b.warnings[1000].message, "further warnings are not listed");
}

// Route length 0: planLength 7000, cells 0 to 140; the station table holds 87 records of 34
// bytes and the names "S" and "1".
TEST(HostileSources, RouteLengthZeroStillHasItsRunOutCells) {
    DriverRun r;
    r.compile(crlfLines({"[generale]", "lunghezza percorso, 0", "[fine]"}), kEmptyTrain);
    EXPECT_EQ(r.b.errorCode, 0);
    EXPECT_EQ(r.sizeOf("S_1.dat"), 141 * kTrackCellRecordSize);
    EXPECT_EQ(r.sizeOf("S_linea.dat"), 20u * 7000 - 36);
    EXPECT_EQ(r.sizeOf("S_1.sim"), 87 * kStationRecordFixedSize + 2);
}

// The longest route with a curve of class 1 every 100 m, right and left in turn: 10000 records,
// 500000 turned metres. The heading swings between 0 and 50 x 0.0001 rad, so the second
// coordinate's step never falls below 0.015 and no low-step metre is taken.
TEST(HostileSources, LongestRouteWithACurveEvery100MetresCompiles) {
    std::vector<std::string> lines = {"[generale]", "lunghezza percorso, 1000000", "[curve]"};
    for (int p = 100; p < 1000000; p += 100)
        lines.push_back((p % 200 == 100 ? "curvad1, " : "curvas1, ") + std::to_string(p) + ", 50");
    lines.push_back("[fine]");
    std::string line;
    for (const std::string& l : lines) line += l + "\r\n";

    DriverRun r;
    r.compile(line, kEmptyTrain);
    EXPECT_EQ(r.b.errorCode, 0);
    EXPECT_EQ(r.b.lowStepMetre, 0);
    EXPECT_EQ(r.b.linePlan.doubleEnd(), 1006999);
    EXPECT_EQ(r.sizeOf("S_1.dat"), 20141 * kTrackCellRecordSize);
    EXPECT_EQ(r.sizeOf("S_linea.dat"), 20u * 1007000 - 36);
}

// --- Every number field at its type's limits and one past them --------------------------------

struct NumberField {
    char type;  // 'L' Long, 'I' Integer, 'B' Byte
    const char* value;
};

struct Record {
    bool inLineSource;
    const char* firstField;
    std::vector<NumberField> fields;
    const char* name = nullptr;  // a last text field
};

std::string recordText(const Record& r, std::size_t changed, const std::string& value) {
    std::string text = r.firstField;
    for (std::size_t i = 0; i < r.fields.size(); ++i)
        text += ", " + (i == changed ? value : std::string(r.fields[i].value));
    if (r.name != nullptr) text += ", " + std::string(r.name);
    return text;
}

// Every record that reads numbers, with values that compile cleanly on a 6000 m route.
const std::vector<Record>& records() {
    static const std::vector<Record> all = {
        {true, "lunghezza percorso", {{'L', "6000"}}},
        {true, "progressiva chilometrica tre", {{'L', "0"}, {'L', "0"}, {'L', "0"}}},
        {true, "progressiva chilometrica due", {{'L', "1000"}, {'L', "250"}, {'L', "1"}}},
        {true, "progressiva chilometrica uno", {{'L', "0"}, {'L', "0"}, {'L', "0"}}},
        {true, "sfondo uno", {{'L', "1"}}},
        {true, "sfondo due", {{'L', "0"}}},
        {true, "sfondo tre", {{'L', "1"}}},
        {true, "ripetizione segnali 4 codici", {{'L', "500"}, {'L', "1500"}}},
        {true, "curvad1", {{'L', "300"}, {'L', "50"}}},
        {true, "pendenza", {{'L', "250"}, {'L', "3"}}},
        {true, "montagna", {{'L', "3000"}, {'L', "3350"}, {'L', "12"}}},
        {true,
         "indicatori_vmax",
         {{'L', "450"},
          {'L', "65"},
          {'L', "70"},
          {'L', "75"},
          {'L', "2"},
          {'L', "0"},
          {'L', "0"},
          {'L', "0"},
          {'L', "0"}}},
        {true, "cartello_indicatore", {{'L', "2950"}}, "(ROCCA)"},
        {false, "numero vetture", {{'L', "3"}}},
        {false, "percentuale massa frenata", {{'L', "120"}}},
        {false, "sabbia", {{'I', "300"}}},
        {false, "orologio", {{'I', "14"}, {'I', "22"}, {'I', "30"}}},
        {false, "velocita", {{'L', "0"}, {'L', "75"}}},
        {false, "aderenza", {{'L', "0"}, {'L', "100"}}},
        {false,
         "stazione",
         {{'L', "0"},
          {'B', "4"},
          {'L', "500"},
          {'B', "0"},
          {'B', "0"},
          {'B', "0"},
          {'I', "1"},
          {'I', "1"},
          {'B', "0"},
          {'I', "4"},
          {'I', "1"},
          {'I', "1"},
          {'B', "1"},
          {'L', "14"},
          {'L', "23"},
          {'L', "0"}},
         "ALDERI"},
        {false,
         "segnale",
         {{'L', "1000"},
          {'L', "2"},
          {'L', "5"},
          {'L', "6"},
          {'L', "0"},
          {'L', "0"},
          {'L', "0"},
          {'L', "0"},
          {'L', "0"},
          {'L', "0"},
          {'L', "0"}}},
        {false,
         "rallentamento",
         {{'L', "2500"}, {'L', "30"}, {'L', "500"}, {'L', "0"}, {'L', "1"}, {'L', "0"}}},
        {false, "abbattimento", {{'L', "4000"}, {'L', "30"}}},
    };
    return all;
}

// The sources with every record in its place, one of them replaced by `changedRecord`.
struct SourcePair {
    std::string line;
    std::string train;
};
SourcePair sourcesWith(const Record* target, const std::string& changedRecord) {
    SourcePair s{"[generale]\r\n", "[generale]\r\n"};
    for (const Record& r : records()) {
        // The general section ends at the first route record.
        if (r.inLineSource && std::string(r.firstField) == "curvad1") s.line += "[curve]\r\n";
        const std::string text = &r == target ? changedRecord : recordText(r, r.fields.size(), "");
        (r.inLineSource ? s.line : s.train) += text + "\r\n";
    }
    s.line += "[fine]\r\n";
    s.train += "[fine]\r\n";
    return s;
}

struct Limits {
    std::vector<const char*> inside;
    std::vector<const char*> onePast;
};

Limits limitsOf(char type) {
    switch (type) {
        case 'L':
            return {{"-2147483648", "-1", "2147483647"}, {"-2147483649", "2147483648"}};
        case 'I':
            return {{"-32768", "-1", "32767"}, {"-32769", "32768"}};
        default:
            return {{"0", "255"}, {"-1", "256"}};
    }
}

TEST(HostileSources, BaseSourcesForTheLimitSweepCompileCleanly) {
    const SourcePair s = sourcesWith(nullptr, "");
    DriverRun r;
    r.compile(s.line, s.train);
    EXPECT_EQ(r.b.errorCode, 0) << (r.b.errors.empty()
                                        ? std::string()
                                        : diagnosticText(r.b.errors.back(), "source"));
    EXPECT_EQ(r.stoppedWith, 0);
}

// A value inside its type's range is always read, so the build ends in its rules: no error, a
// data error, or a stamping error. A value one past it is a read failure: error 25.
TEST(HostileSources, EveryNumberFieldAtItsLimitsAndOnePast) {
    for (const Record& record : records()) {
        for (std::size_t i = 0; i < record.fields.size(); ++i) {
            const Limits limits = limitsOf(record.fields[i].type);
            for (const char* value : limits.inside) {
                const std::string text = recordText(record, i, value);
                SCOPED_TRACE(text);
                const SourcePair s = sourcesWith(&record, text);
                DriverRun r;
                r.compile(s.line, s.train);
                EXPECT_EQ(failureDetail(r.b).find("does not fit its field"), std::string::npos)
                    << failureDetail(r.b);
                if (r.stoppedWith != 0 || !r.b.hasTrackCellTable()) continue;
                EXPECT_EQ(r.sizeOf("S_1.dat"), r.b.trackCells.size() * kTrackCellRecordSize);
            }
            for (const char* value : limits.onePast) {
                const std::string text = recordText(record, i, value);
                SCOPED_TRACE(text);
                const SourcePair s = sourcesWith(&record, text);
                DriverRun r;
                r.compile(s.line, s.train);
                EXPECT_EQ(r.b.errorCode, 25);
                EXPECT_NE(failureDetail(r.b).find(std::string(value) + " does not fit its field"),
                          std::string::npos)
                    << failureDetail(r.b);
                EXPECT_FALSE(r.f.hasLineSource());
                EXPECT_FALSE(r.f.hasTrainSource());
            }
        }
    }
}

}  // namespace
}  // namespace scenario::testing
