// Writes the fuzz targets' seed corpora: the built-in scenario's sources, as the scenario program
// writes them, the test fixtures' sources, and the files they compile to.
// Usage: fuzz_seeds CORPUS_DIR
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "base/file_store.h"
#include "compiler/line_plan_steps.h"
#include "compiler/track_model.h"
#include "fuzz_inputs.h"
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
        writeCompileSeeds(corpus / "fuzz_compile", "builtin", builtin);
        writeCompileSeeds(corpus / "fuzz_compile", "fixture", fixture);
        writeReaderSeeds(corpus / "fuzz_field_reader", "builtin", builtin);
        writeReaderSeeds(corpus / "fuzz_field_reader", "fixture", fixture);
        writeDumpSeeds(corpus / "fuzz_dump", fixture);
    } catch (const std::exception& failure) {
        std::cerr << "fuzz_seeds: " << failure.what() << '\n';
        return 2;
    }
    return 0;
}
