// The file stores: whole-file writes through a temporary file, reads, deletions.
#include "base/file_store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

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

}  // namespace
}  // namespace scenario
