// Writes the fuzz targets' seed corpora: the built-in scenario's sources, as the scenario program
// writes them, the test fixtures' sources, and the files they compile to.
// Usage: fuzz_seeds CORPUS_DIR
#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "base/file_store.h"
#include "compiler/line_plan_steps.h"
#include "compiler/track_model.h"
#include "fuzz_inputs.h"
#include "generated_sources.h"
#include "output/binary_files.h"
#include "output/compile_driver.h"
#include "source/source_writers.h"

namespace {

namespace fs = std::filesystem;
using namespace scenario;
using namespace scenario::fuzz;

void writeSeed(const fs::path& directory, const std::string& name, const std::string& bytes) {
    fs::create_directories(directory);
    writeWholeFile(directory / name, bytes);
}

struct SourcePair {
    std::string line;
    std::string train;
};

SourcePair builtinSources() {
    MemoryStore store;
    const ScenarioIdentity names{"S", "1"};
    dati_linea(store, names);
    dati_treno(store, names);
    return {*store.read(names.lineSourceFile()), *store.read(names.trainSourceFile())};
}

SourcePair fixtureSources() {
    const fs::path data = fs::path(SCENARIO_TEST_DATA) / "compile";
    return {readWholeFile(data / "E_linea.txt").value_or(""),
            readWholeFile(data / "E_7-.txt").value_or("")};
}

void writeCompileSeeds(const fs::path& directory, const std::string& name,
                       const SourcePair& sources) {
    writeSeed(directory, name, joinCompileInput({true, sources.line, sources.train}));
    writeSeed(directory, name + "-noplan", joinCompileInput({false, sources.line, sources.train}));
}

// Drops the records placed past `last` metres, the sections and the [generale] records kept: the
// built-in route is longer than the cell table of fuzz_compile's routes, and every input would
// otherwise carry records that can only be refused.
std::string recordsUpTo(const std::string& source, std::int32_t last) {
    std::string kept;
    bool general = false, pastGeneral = false;
    for (std::size_t start = 0; start < source.size();) {
        const std::size_t end = std::min(source.find('\n', start), source.size() - 1);
        const std::string line = source.substr(start, end + 1 - start);
        start = end + 1;
        if (line.find('[') != std::string::npos) {
            pastGeneral = pastGeneral || general;
            general = line.find("[generale]") != std::string::npos;
        }
        const std::size_t comma = line.find(',');
        if (pastGeneral && !general && comma != std::string::npos) {
            const std::size_t digits = line.find_first_not_of(" \t", comma + 1);
            if (digits != std::string::npos &&
                std::isdigit(static_cast<unsigned char>(line[digits])) &&
                std::stol(line.substr(digits)) > last)
                continue;
        }
        kept += line;
    }
    return kept;
}

SourcePair shortBuiltinSources(const SourcePair& builtin) {
    constexpr std::int32_t kLast = kShortRoute + 6000;
    return {recordsUpTo(builtin.line, kLast), recordsUpTo(builtin.train, kLast)};
}

// A 5 km route with a station and signals all along it: fuzz_compile shortens it, and its records
// all lie within the cell table that is left.
SourcePair generatedSources() {
    constexpr std::int32_t kRoute = 5000;
    return {bench::generatedLineSource(kRoute),
            bench::generatedTrainSource(kRoute / 5000, (kRoute - 2000) / 200)};
}

// A record's first field, then its numbers, so that both kinds of read meet every kind of field.
void writeReaderSeeds(const fs::path& directory, const std::string& name,
                      const SourcePair& sources) {
    using enum ReadOp;
    writeSeed(directory, name + "-line", joinReaderInput({{Text, Long, Long, Long}, sources.line}));
    writeSeed(directory, name + "-train",
              joinReaderInput({{Text, Long, Integer, Byte, Name}, sources.train}));
}

// The fixture's track cell and station table files, compiled in memory, and a plan of a few
// metres: the line data file of any real route is too large for a seed.
void writeDumpSeeds(const fs::path& directory, const SourcePair& sources) {
    MemoryStore store;
    ScenarioBuild build;
    build.scenarioName = "E";
    build.trainNumber = "7";
    store.write(build.identity().lineSourceFile(), sources.line);
    store.write(build.identity().trainSourceFile(), sources.train);
    memorizza_percorso(build, store, 0);
    writeSeed(directory, "fixture-cells", *store.read(build.identity().trackCellFile()));
    writeSeed(directory, "fixture-stations", *store.read(build.identity().stationTableFile()));

    LinePlan plan;
    plan.create(12);
    plan.seed();
    for (std::int32_t m = 2; m <= 6; ++m) straightPlanStep(plan, m);
    for (std::int32_t m = 7; m <= 10; ++m) curvePlanStep(plan, m, 0.003);
    writeSeed(directory, "short-plan", encodeLinePlan(plan));
}

// The same files for the printers, each kind both as a table and as JSON, every record shown; the
// track cell file cut to its first cells.
void writePrintSeeds(const fs::path& directory, const fs::path& dumpSeeds) {
    const struct {
        int kind;
        const char* seed;
    } files[] = {{0, "fixture-cells"}, {1, "fixture-stations"}, {2, "short-plan"}};
    for (const auto& f : files) {
        std::string bytes = readWholeFile(dumpSeeds / f.seed).value_or("");
        // Whole cells only, within the size the printers' target takes.
        constexpr std::size_t kCellsKept = kLongestPrintedFile / kTrackCellRecordSize;
        if (f.kind == 0) bytes.resize(std::min(bytes.size(), kCellsKept * kTrackCellRecordSize));
        writeSeed(directory, std::string(f.seed) + "-text",
                  joinPrintInput(f.kind, false, true, bytes));
        writeSeed(directory, std::string(f.seed) + "-json",
                  joinPrintInput(f.kind, true, true, bytes));
    }
    // A name is bytes from the file, and may hold a line break or a terminal's escape.
    std::array<StationRecord, kStationTableSize> table{};
    table[1].name = "A\nB\x1b[2J";
    writeSeed(directory, "control-name-text",
              joinPrintInput(1, false, true, encodeStationTable(table)));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: fuzz_seeds CORPUS_DIR\n";
        return 2;
    }
    const fs::path corpus = argv[1];
    try {
        const SourcePair builtin = builtinSources();
        const SourcePair fixture = fixtureSources();
        writeCompileSeeds(corpus / "fuzz_compile", "builtin", shortBuiltinSources(builtin));
        writeCompileSeeds(corpus / "fuzz_compile", "fixture", fixture);
        writeCompileSeeds(corpus / "fuzz_compile", "generated", generatedSources());
        writeCompileSeeds(corpus / "fuzz_compile_long", "builtin", builtin);
        writeCompileSeeds(corpus / "fuzz_compile_long", "fixture", fixture);
        writeReaderSeeds(corpus / "fuzz_field_reader", "builtin", builtin);
        writeReaderSeeds(corpus / "fuzz_field_reader", "fixture", fixture);
        writeDumpSeeds(corpus / "fuzz_dump", fixture);
        writePrintSeeds(corpus / "fuzz_dump_print", corpus / "fuzz_dump");
    } catch (const std::exception& failure) {
        std::cerr << "fuzz_seeds: " << failure.what() << '\n';
        return 2;
    }
    return 0;
}
