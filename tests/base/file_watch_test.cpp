// The file watch tells of every way an editor changes a file, and of no other file beside it.
#include "base/file_watch.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

#include "temp_directory.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

void write(const fs::path& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
}

TEST(FileWatch, SeesEachWayAFileChangesAndNothingElse) {
    testing::TempDirectory dir;
    const fs::path watched = dir.path / "line.txt";
    write(watched, "first");
    FileWatch watch({watched});
    EXPECT_FALSE(watch.waitForChange(50ms));

    struct Case {
        const char* what;
        std::function<void()> change;
        bool seen;
    };
    const Case cases[] = {
#ifdef _WIN32
        // Polling compares times and sizes: a same-size write inside one tick of the file
        // system's clock is the one change it can miss.
        {"written in place", [&] { write(watched, "written again"); }, true},
#else
        {"written in place, same size", [&] { write(watched, "other"); }, true},
#endif
        {"saved by a rename over it",
         [&] {
             write(dir.path / "line.txt.tmp", "renamed");
             fs::rename(dir.path / "line.txt.tmp", watched);
         },
         true},
        {"another file in the directory", [&] { write(dir.path / "notes.txt", "x"); }, false},
        {"deleted", [&] { fs::remove(watched); }, true},
        {"made again", [&] { write(watched, "back"); }, true},
        {"renamed away", [&] { fs::rename(watched, dir.path / "old.txt"); }, true},
    };
    for (const Case& c : cases) {
        c.change();
        EXPECT_EQ(watch.waitForChange(2s), c.seen) << c.what;
        // Once told, a change is not told again.
        EXPECT_FALSE(watch.waitForChange(50ms)) << c.what;
    }
}

}  // namespace
}  // namespace scenario
