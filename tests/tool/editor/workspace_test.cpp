// The workspace: pairing of line and train files, open buffers over the disk, files alone.
#include "tool/editor/workspace.h"

#include <gtest/gtest.h>

#include "tool/source_fixture.h"

namespace scenario {
namespace {

using testing::builtinTexts;
using testing::MemoryDisk;
using testing::replaced;

std::vector<std::int32_t> linesOf(const FileDiagnostics& file) {
    std::vector<std::int32_t> lines;
    for (const Diagnostic& d : file.diagnostics) lines.push_back(d.location.line);
    return lines;
}

TEST(SourceWorkspace, PairsByNameInOneFolder) {
    MemoryDisk disk;
    for (const char* path : {"/s/A_linea.txt", "/s/A_B_linea.txt", "/s/A_B_7-.txt", "/s/B_3-.txt",
                             "/t/C_linea.txt", "/t/other.txt"})
        disk.put(path, "");
    disk.put("/s/A_1-.txt", "", 1);
    disk.put("/s/A_2-.txt", "", 5);
    SourceWorkspace ws(disk);
    using P = std::optional<std::string>;
    const struct {
        const char* path;
        P partner;
    } cases[] = {
        {"/s/A_linea.txt", "/s/A_2-.txt"},  // none open: the newest
        {"/s/A_1-.txt", "/s/A_linea.txt"},
        {"/s/A_B_7-.txt", "/s/A_B_linea.txt"},  // a name with "_" in it
        {"/s/B_3-.txt", std::nullopt},
        {"/t/C_linea.txt", std::nullopt},
        {"/t/other.txt", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(ws.partnerOf(c.path), c.partner) << c.path;

    // Open train files win over the disk, the last opened first.
    ws.open("/s/A_1-.txt", "");
    EXPECT_EQ(ws.partnerOf("/s/A_linea.txt"), P("/s/A_1-.txt"));
    ws.open("/s/A_9-.txt", "");  // open, never saved
    EXPECT_EQ(ws.partnerOf("/s/A_linea.txt"), P("/s/A_9-.txt"));
    ws.close("/s/A_9-.txt");
    EXPECT_EQ(ws.partnerOf("/s/A_linea.txt"), P("/s/A_1-.txt"));
}

TEST(SourceWorkspace, ChecksAFileWithItsPartnerAndTheOpenBufferOverTheDisk) {
    const testing::BuiltinTexts builtin = builtinTexts();
    MemoryDisk disk;
    disk.put("/s/A_linea.txt", builtin.line);
    disk.put("/s/A_1-.txt", replaced(builtin.train, "ALDERI S. ROCCO", "ALDERI S. ROCCO, 12"));
    SourceWorkspace ws(disk);

    std::vector<FileDiagnostics> files = ws.check("/s/A_linea.txt");
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0].path, "/s/A_linea.txt");
    EXPECT_TRUE(files[0].diagnostics.empty());
    EXPECT_EQ(files[1].path, "/s/A_1-.txt");
    ASSERT_FALSE(files[1].diagnostics.empty());
    const Diagnostic& typo = files[1].diagnostics.front();
    EXPECT_EQ(typo.name, kExtraFieldsWarning);
    EXPECT_EQ(typo.location.file, "/s/A_1-.txt");
    EXPECT_EQ(typo.location.line, 25);

    ws.open("/s/A_1-.txt", builtin.train);
    files = ws.check("/s/A_linea.txt");
    ASSERT_EQ(files.size(), 2u);
    EXPECT_TRUE(files[1].diagnostics.empty());
}

TEST(SourceWorkspace, AFileAloneShowsOnlyItsOwnProblems) {
    const testing::BuiltinTexts builtin = builtinTexts();
    MemoryDisk disk;
    disk.put("/s/A_1-.txt", replaced(builtin.train, "segnale,    1000", "segnale,    1O00"));
    disk.put("/t/B_linea.txt", replaced(builtin.line, "sfondo uno,    0", "sfondo uno,    x"));
    SourceWorkspace ws(disk);

    // The train pass runs only after a route length: alone, a train file is still read. The
    // signal read at 1 m stands in cell 1, where the stamps go.
    std::vector<FileDiagnostics> files = ws.check("/s/A_1-.txt");
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(linesOf(files[0]), (std::vector<std::int32_t>{41, 41, 41}));
    EXPECT_EQ(files[0].diagnostics[2].code, 1250);

    files = ws.check("/t/B_linea.txt");
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(linesOf(files[0]), std::vector<std::int32_t>{6});

    EXPECT_TRUE(ws.check("/t/notes.txt").empty());
    EXPECT_TRUE(ws.check("/t/missing_linea.txt").empty());
}

}  // namespace
}  // namespace scenario
