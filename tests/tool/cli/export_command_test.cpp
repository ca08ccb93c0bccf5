// scenario export gives the built-in scenario's files as the scenario program writes them, and
// compiling the exported sources gives the program's own binary files; check compiles them too,
// writing nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "base/file_store.h"
#include "source/builtin_tables.h"
#include "source/source_writers.h"
#include "tool/tool_runner.h"

namespace scenario {
namespace {

using namespace scenario::testing;

const char* const kLineSource = "Alderi_Moncasta_linea.txt";
const char* const kTrainSource = "Alderi_Moncasta_30752-.txt";
const char* const kCrewDocuments[] = {"Alderi_Moncasta_30752_note.txt",
                                      "Alderi_Moncasta_30752_rallentamenti.txt",
                                      "Alderi_Moncasta_30752_scheda_treno.txt"};
const char* const kBinaryFiles[] = {"Alderi_Moncasta_linea.dat", "Alderi_Moncasta_30752.sim",
                                    "Alderi_Moncasta_30752.dat"};

TEST(ExportCommand, ExportedSourcesCompileToTheScenarioProgramsOwnFiles) {
    TempDir program, author;
    ASSERT_EQ(runScenarioProgram(program.path), 0);
    const ToolRun exported = runTool(author.path, {"export", "--out", "src"});
    ASSERT_EQ(exported.status, 0) << exported.err;
    EXPECT_EQ(fileCount(author.path / "src"), 5u);
    for (const char* document : kCrewDocuments)
        EXPECT_EQ(readFile(author.path / "src" / document), readFile(program.path / document))
            << document;

    // The program deletes its sources once compiled; its writers give them in memory.
    MemoryStore memory;
    const ScenarioIdentity builtin{kBuiltinScenarioName, kBuiltinTrainNumber};
    dati_linea(memory, builtin);
    dati_treno(memory, builtin);
    const std::string line = readFile(author.path / "src" / kLineSource);
    const std::string train = readFile(author.path / "src" / kTrainSource);
    EXPECT_EQ(line, memory.files.at(kLineSource));
    EXPECT_EQ(train, memory.files.at(kTrainSource));

    const ToolRun compiled = runTool(author.path, {"compile", std::string("src/") + kLineSource,
                                                   std::string("src/") + kTrainSource, "--name",
                                                   "Alderi_Moncasta", "--train", "30752"});
    ASSERT_EQ(compiled.status, 0) << compiled.err;
    EXPECT_EQ(compiled.err, "");
    for (const char* file : kBinaryFiles)
        EXPECT_TRUE(readFile(author.path / file) == readFile(program.path / file)) << file;
    EXPECT_EQ(readFile(author.path / "src" / kLineSource), line);
    EXPECT_EQ(readFile(author.path / "src" / kTrainSource), train);
}

TEST(ExportCommand, KeepsAnAuthorsFilesUnlessForced) {
    TempDir dir;
    ASSERT_EQ(runTool(dir.path, {"export"}).status, 0);
    writeFile(dir.path / kTrainSource, "edited");
    const ToolRun again = runTool(dir.path, {"export"});
    EXPECT_EQ(again.status, 2);
    EXPECT_NE(again.err.find("use --force"), std::string::npos) << again.err;
    EXPECT_EQ(readFile(dir.path / kTrainSource), "edited");
    EXPECT_EQ(runTool(dir.path, {"export", "--force"}).status, 0);
    EXPECT_NE(readFile(dir.path / kTrainSource), "edited");
}

TEST(CheckCommand, CompilesWithoutWritingAndEndsCleanOnlyWithoutErrors) {
    TempDir dir;
    ASSERT_EQ(runTool(dir.path, {"export"}).status, 0);
    const ToolRun clean = runTool(dir.path, {"check", kLineSource, kTrainSource});
    EXPECT_EQ(clean.status, 0) << clean.err;
    EXPECT_EQ(clean.err, "");
    EXPECT_EQ(fileCount(dir.path), 5u);

    // A second signal at 2600 m, on the cell the first took.
    std::string train = readFile(dir.path / kTrainSource);
    const std::string signal = "segnale,    2600,   2, 4, 0,  0, 0,    2,  2,1,0, 0\r\n";
    const std::size_t at = train.find(signal);
    ASSERT_NE(at, std::string::npos);
    train.insert(at, signal);
    writeFile(dir.path / "edited-.txt", train);
    const std::size_t line =
        1 + static_cast<std::size_t>(std::count(train.begin(), train.begin() + at, '\n')) + 1;
    const ToolRun failing =
        runTool(dir.path, {"check", kLineSource, "edited-.txt", "--name", "N", "--train", "1"});
    EXPECT_EQ(failing.status, 1);
    EXPECT_EQ(failing.err, "edited-.txt:" + std::to_string(line) +
                               ":13: error 16: signal on a cell already taken (at 2600 m)\n"
                               "edited-.txt:" +
                               std::to_string(line - 1) +
                               ":13: note: this signal record already holds cell 53\n");
    EXPECT_EQ(fileCount(dir.path), 6u);
}

}  // namespace
}  // namespace scenario
