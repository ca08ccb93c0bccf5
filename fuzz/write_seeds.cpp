// Writes the fuzz targets' seed corpora: the built-in scenario's sources, as the scenario program
// writes them, and the test fixtures' sources. Usage: fuzz_seeds CORPUS_DIR
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "compiler/track_model.h"
#include "fuzz_inputs.h"
#include "output/file_store.h"

namespace {

namespace fs = std::filesystem;
using namespace scenario;
using namespace scenario::fuzz;

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

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
    ScenarioBuild build(store);
    build.scenarioName = "S";
    build.trainNumber = "1";
    build.dati_linea();
    build.dati_treno();
    return {*store.read(build.identity().lineSourceFile()),
            *store.read(build.identity().trainSourceFile())};
}

SourcePair fixtureSources() {
    const fs::path data = fs::path(SCENARIO_TEST_DATA) / "compile";
    return {readFile(data / "E_linea.txt"), readFile(data / "E_7-.txt")};
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
    } catch (const std::exception& failure) {
        std::cerr << "fuzz_seeds: " << failure.what() << '\n';
        return 2;
    }
    return 0;
}
