// The file stores: whole-file writes through a temporary file, reads, deletions.
#include "base/file_store.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "base/failures.h"
#include "temp_directory.h"
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace scenario {
namespace {

namespace fs = std::filesystem;
using TempDir = testing::TempDirectory;

TEST(DirectoryStore, WriteReplacesAnOlderLongerFileWhole) {
    TempDir dir;
    DirectoryStore store(dir.path);
    store.write("a.dat", std::string(100, 'x'));
    store.write("a.dat", "abc");
    EXPECT_EQ(store.read("a.dat").value(), "abc");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 1);
}

TEST(DirectoryStore, FailedWriteKeepsThePreviousFileAndLeavesNoTemporary) {
    TempDir dir;
    DirectoryStore store(dir.path);
    store.write("keep.txt", "old");
    fs::create_directory(dir.path / "taken.dat");
    EXPECT_THROW(store.write("taken.dat", "new"), FileFailure);
    EXPECT_TRUE(fs::is_directory(dir.path / "taken.dat"));

#ifndef _WIN32
    if (::geteuid() != 0) {  // root writes anywhere; the read-only case needs an ordinary user
        fs::permissions(dir.path, fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_THROW(store.write("keep.txt", "new"), FileFailure);
        fs::permissions(dir.path, fs::perms::owner_all);
    }
#endif
    EXPECT_EQ(store.read("keep.txt").value(), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 2);
}

// Pieces reach the file in order; content that fails part-way leaves the previous file whole.
TEST(FileStores, WriteInPiecesIsAllOrNothing) {
    const FileContent twoPieces = [](ByteSink& out) {
        out.append("ab");
        out.append(std::string("\0c", 2));
    };
    const FileContent failing = [](ByteSink& out) {
        out.append("partial");
        throw FileFailure("content failed");
    };
    TempDir dir;
    DirectoryStore directory(dir.path);
    MemoryStore memory;
    for (FileStore* store :
         {static_cast<FileStore*>(&directory), static_cast<FileStore*>(&memory)}) {
        store->write("f.dat", "old");
        EXPECT_THROW(store->writeInPieces("f.dat", failing), FileFailure);
        EXPECT_EQ(store->read("f.dat").value(), "old");
        store->writeInPieces("f.dat", twoPieces);
        EXPECT_EQ(store->read("f.dat").value(), std::string("ab\0c", 4));
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 1);
}

TEST(DirectoryStore, ExistsReadAndRemove) {
    TempDir dir;
    DirectoryStore store(dir.path);
    EXPECT_FALSE(store.exists("missing.txt"));
    EXPECT_FALSE(store.read("missing.txt").has_value());
    store.remove("missing.txt");  // a missing file is passed over
    fs::create_directory(dir.path / "folder.txt");
    EXPECT_FALSE(store.exists("folder.txt"));
    store.write("f.txt", std::string("a\0b", 3));
    EXPECT_EQ(store.read("f.txt").value(), std::string("a\0b", 3));
    store.remove("f.txt");
    EXPECT_FALSE(store.exists("f.txt"));
}

// The whole-file read takes regular files only, and refuses a FIFO at once rather than waiting on
// a writer that never comes.
TEST(ReadWholeFile, RegularFilesOnly) {
    TempDir dir;
    fs::create_directory(dir.path / "folder");
#ifndef _WIN32
    ASSERT_EQ(::mkfifo((dir.path / "fifo").c_str(), 0600), 0);
    EXPECT_FALSE(readWholeFile(dir.path / "fifo").has_value());
#endif
    std::ofstream(dir.path / "empty", std::ios::binary).flush();
    const std::string large(300000, 'x');
    std::ofstream(dir.path / "large", std::ios::binary) << large;
    EXPECT_FALSE(readWholeFile(dir.path / "folder").has_value());
    EXPECT_FALSE(readWholeFile(dir.path / "missing").has_value());
    EXPECT_EQ(readWholeFile(dir.path / "empty").value(), "");
    EXPECT_EQ(readWholeFile(dir.path / "large").value(), large);
}

#ifndef _WIN32
struct FileIdentity {
    ino_t inode = 0;
    timespec modified{};
};

FileIdentity identityOf(const fs::path& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0);
    return {st.st_ino, st.st_mtim};
}

// An output whose bytes would stay the same keeps its inode and time; any other is replaced whole,
// whatever the pieces' sizes against the compare's chunks.
TEST(FileStores, WriteIfChangedLeavesEqualBytesUntouchedAndReplacesAnyOther) {
    const std::string big(200000, 'p');  // past one compare chunk
    const std::string bigChanged = big.substr(0, 150000) + "q" + big.substr(150001);
    struct Case {
        const char* what;
        std::optional<std::string> old;
        std::vector<std::string> pieces;
        bool written;
    };
    const Case cases[] = {
        {"same bytes", "abcdef", {"abc", "def"}, false},
        {"same bytes, other cut", "abcdef", {"a", "bcdef"}, false},
        {"same large file", big, {big.substr(0, 70000), big.substr(70000)}, false},
        {"empty over empty", "", {}, false},
        {"no file yet", std::nullopt, {"abc"}, true},
        {"one byte differs", "abcdef", {"abc", "dEf"}, true},
        {"new is longer", "abc", {"abc", "def"}, true},
        {"new is shorter", "abcdef", {"abc"}, true},
        {"empty over bytes", "abc", {}, true},
        {"late change in a large file",
         big,
         {bigChanged.substr(0, 70000), bigChanged.substr(70000)},
         true},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const fs::path path = dir.path / "out.dat";
        if (c.old) {
            writeWholeFile(path, *c.old);
            const fs::file_time_type past =
                fs::file_time_type::clock::now() - std::chrono::hours(1);
            fs::last_write_time(path, past);
        }
        const FileIdentity before = c.old ? identityOf(path) : FileIdentity{};
        std::string expected;
        for (const std::string& piece : c.pieces) expected += piece;
        const bool written = writeFileInPiecesIfChanged(path, [&](ByteSink& sink) {
            for (const std::string& piece : c.pieces) sink.append(piece);
        });
        EXPECT_EQ(written, c.written) << c.what;
        EXPECT_TRUE(readWholeFile(path).value() == expected) << c.what;
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 1)
            << c.what;
        if (!c.old) continue;
        const FileIdentity after = identityOf(path);
        const bool same = after.inode == before.inode &&
                          after.modified.tv_sec == before.modified.tv_sec &&
                          after.modified.tv_nsec == before.modified.tv_nsec;
        EXPECT_EQ(same, !c.written) << c.what;
    }
}

// Content that fails after the first difference leaves the old file as it was.
TEST(FileStores, WriteIfChangedThatFailsKeepsTheOldFile) {
    TempDir dir;
    const fs::path path = dir.path / "out.dat";
    writeWholeFile(path, "abcdef");
    EXPECT_THROW(writeFileInPiecesIfChanged(path,
                                            [](ByteSink& sink) {
                                                sink.append("abX");
                                                throw FileFailure("content failed");
                                            }),
                 FileFailure);
    EXPECT_EQ(readWholeFile(path).value(), "abcdef");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 1);
}
#endif

}  // namespace
}  // namespace scenario
