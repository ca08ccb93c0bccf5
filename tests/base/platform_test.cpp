// The platform interface: the program's directory, names beyond ASCII, and the existence test.
#include "base/platform.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "base/file_store.h"
#include "temp_directory.h"
#ifdef _WIN32
#include <windows.h>
#endif

namespace scenario {
namespace {

namespace fs = std::filesystem;

#ifdef _WIN32
constexpr const char* kTestProgram = "unit_tests.exe";
#else
constexpr const char* kTestProgram = "unit_tests";
#endif

TEST(Platform, ApplicationDirectoryHoldsTheRunningProgram) {
    EXPECT_TRUE(fs::is_regular_file(applicationDirectory() / kTestProgram));
}

// The names come as UTF-8 text: each must reach the disk as the characters it spells, and come
// back from a directory listing as the same text.
TEST(Platform, NamesBeyondAsciiReachTheDiskAsTheirCharacters) {
    testing::TempDirectory temp;
    const std::string folder = "citt\xC3\xA0 \xE2\x82\xAC";  // "città €"
    const std::string name = "Citt\xC3\xA0_linea.dat";       // "Città_linea.dat"
    const fs::path directory = temp.path / pathFromText(folder);
    fs::create_directory(directory);
    EXPECT_EQ(textFromPath(directory.filename()), folder);

    DirectoryStore store(directory);
    store.write(name, "bytes");
    EXPECT_TRUE(store.exists(name));
    EXPECT_EQ(store.read(name).value(), "bytes");
    std::set<std::string> listed;
    for (const auto& entry : fs::directory_iterator(directory))
        listed.insert(textFromPath(entry.path().filename()));
    EXPECT_EQ(listed, std::set<std::string>{name});
#ifdef _WIN32
    EXPECT_TRUE(fs::exists(directory / L"Citt\u00E0_linea.dat"));
#endif
    store.remove(name);
    EXPECT_FALSE(store.exists(name));
}

#ifdef _WIN32
TEST(Platform, HiddenAndSystemFilesCountAsMissing) {
    testing::TempDirectory temp;
    DirectoryStore store(temp.path);
    for (const DWORD attribute : {FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_SYSTEM}) {
        store.write("f.txt", "x");
        ASSERT_TRUE(store.exists("f.txt"));
        ASSERT_TRUE(::SetFileAttributesW(store.pathOf("f.txt").c_str(), attribute));
        EXPECT_FALSE(store.exists("f.txt")) << attribute;
        ::SetFileAttributesW(store.pathOf("f.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_TRUE(store.exists("f.txt"));
        store.remove("f.txt");
    }
}
#endif

}  // namespace
}  // namespace scenario
