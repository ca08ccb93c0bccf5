// The real programs under a file size limit and on a full file system: they end with status 2 and
// a message naming the file and the reason, every file is its previous or its new version, and
// no temporary file is left.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <regex>
#include <set>
#include <string>
#include <vector>

#include "output/child_process.h"
#include "output/file_versions.h"

namespace scenario {
namespace {

using namespace scenario::testing;

const std::string kProgramName = fs::path(SCENARIO_PROGRAM).filename().string();
const fs::path kFixtures = fs::path(SCENARIO_TEST_DATA) / "compile";

std::vector<std::string> toolCompile(const fs::path& out, const std::string& extra = "") {
    std::vector<std::string> argv = {SCENARIO_TOOL,
                                     "compile",
                                     (kFixtures / "E_linea.txt").string(),
                                     (kFixtures / "E_7-.txt").string(),
                                     "--name",
                                     "E",
                                     "--train",
                                     "7",
                                     "--out",
                                     out.string()};
    if (!extra.empty()) argv.push_back(extra);
    return argv;
}

// What the tool writes for the fixture.
std::map<std::string, std::string> toolOutputs(const std::string& extra = "") {
    TempDir dir;
    EXPECT_EQ(runChild(toolCompile(dir.path, extra)), 0);
    return filesIn(dir.path);
}

// One run that is to fail at `failing`: status 2, the message, the files.
void expectFailedRun(const fs::path& dir, const std::string& errors, const std::string& failing,
                     const std::string& reason, const std::map<std::string, std::string>& previous,
                     const std::map<std::string, std::string>& next, int status) {
    EXPECT_EQ(status, 2) << errors;
    EXPECT_NE(errors.find("cannot write " + (dir / failing).string() + ": " + reason),
              std::string::npos)
        << errors;
    const std::map<std::string, std::string> found = filesIn(dir, {kProgramName});
    EXPECT_EQ(versionOf(found, failing), versionOf(previous, failing));
    EXPECT_EQ(expectPreviousOrNew(found, previous, next, failing), std::set<std::string>{});
}

// For each file in turn a limit just below its size: the first file written that is larger fails.
std::vector<std::pair<std::string, rlim_t>> limitsFailingEach(
    const std::vector<std::string>& order, const std::map<std::string, std::string>& sizes) {
    std::vector<std::pair<std::string, rlim_t>> cases;
    std::set<std::string> seen;
    for (const std::string& name : order) {
        const rlim_t limit = sizes.at(name).size() - 1;
        for (const std::string& first : order) {
            if (sizes.at(first).size() <= limit) continue;
            if (seen.insert(first).second) cases.emplace_back(first, limit);
            break;
        }
    }
    return cases;
}

TEST(FileSizeLimit, TheProgramStopsAtTheFirstFileOverTheLimit) {
    const BuiltinFiles builtin = builtinFiles();
    const auto next = builtin.outputsOrSources();
    const auto previous = previousVersions(builtin.outputs);
    // The first source file is the largest before the line data file: only these two can fail.
    const auto cases = limitsFailingEach(builtinWriteOrder(), next);
    ASSERT_EQ(cases.size(), 2u);
    for (const auto& [failing, limit] : cases) {
        SCOPED_TRACE(failing + " over a limit of " + std::to_string(limit) + " bytes");
        TempDir dir, logs;
        putFiles(dir.path, previous);
        fs::copy_file(SCENARIO_PROGRAM, dir.path / kProgramName);
        const int status =
            runChild({(dir.path / kProgramName).string()}, {"/", logs.path / "err", limit});
        expectFailedRun(dir.path, readFile(logs.path / "err"), failing, "File too large", previous,
                        next, status);
    }
}

// Without the plan the two smaller files come first, so that each of the three can fail.
TEST(FileSizeLimit, TheToolStopsAtTheFirstFileOverTheLimit) {
    const auto previous = previousVersions(toolOutputs());
    const struct {
        std::string option;
        std::vector<std::string> order;
    } runs[] = {{"", {"E_linea.dat", "E_7.sim", "E_7.dat"}}, {"--no-plan", {"E_7.sim", "E_7.dat"}}};
    std::set<std::string> failed;
    for (const auto& run : runs) {
        const auto next = toolOutputs(run.option);
        for (const auto& [failing, limit] : limitsFailingEach(run.order, next)) {
            SCOPED_TRACE(failing + " over a limit of " + std::to_string(limit) + " bytes " +
                         run.option);
            TempDir dir, logs;
            putFiles(dir.path, previous);
            const int status =
                runChild(toolCompile(dir.path, run.option), {"/", logs.path / "err", limit});
            expectFailedRun(dir.path, readFile(logs.path / "err"), failing, "File too large",
                            previous, next, status);
            failed.insert(failing);
        }
    }
    EXPECT_EQ(failed, (std::set<std::string>{"E_linea.dat", "E_7.sim", "E_7.dat"}));
}

// A tmpfs of a given size over a fresh directory, unmounted at the end.
struct SmallFileSystem {
    TempDir dir;
    bool mounted = false;
    explicit SmallFileSystem(std::size_t bytes) {
        const std::string options = "size=" + std::to_string(bytes);
        mounted = ::mount("tmpfs", dir.path.c_str(), "tmpfs", 0, options.c_str()) == 0;
    }
    ~SmallFileSystem() {
        if (mounted) ::umount2(dir.path.c_str(), MNT_DETACH);
    }
};

// The file the message names, with the reason the file system gave.
std::string failingFileIn(const std::string& errors) {
    static const std::regex failure("cannot write .*/([^/]+): No space left on device");
    std::smatch match;
    return std::regex_search(errors, match, failure) ? match[1].str() : std::string();
}

TEST(FullFileSystem, TheProgramAndTheToolStopWithNoSpaceLeft) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to mount a small tmpfs";
    const std::size_t programSize = fs::file_size(SCENARIO_PROGRAM);
    {
        // Room for the program and the small files, not for the line data file.
        SmallFileSystem disk(programSize + 256 * 1024);
        if (!disk.mounted) GTEST_SKIP() << "cannot mount a tmpfs here";
        const BuiltinFiles builtin = builtinFiles();
        const auto next = builtin.outputsOrSources();
        const auto previous = previousVersions(builtin.outputs);
        putFiles(disk.dir.path, previous);
        fs::copy_file(SCENARIO_PROGRAM, disk.dir.path / kProgramName);
        TempDir logs;
        const int status = runChild({(disk.dir.path / kProgramName).string()},
                                    {"/", logs.path / "err", std::nullopt});
        const std::string errors = readFile(logs.path / "err");
        const std::string lineData =
            ScenarioIdentity{kBuiltinScenarioName, kBuiltinTrainNumber}.lineDataFile();
        EXPECT_EQ(failingFileIn(errors), lineData);
        expectFailedRun(disk.dir.path, errors, lineData, "No space left on device", previous, next,
                        status);
    }
    {
        const auto next = toolOutputs();
        const auto previous = previousVersions(next);
        SmallFileSystem disk(64 * 1024);
        putFiles(disk.dir.path, previous);
        TempDir logs;
        const int status =
            runChild(toolCompile(disk.dir.path), {"/", logs.path / "err", std::nullopt});
        const std::string errors = readFile(logs.path / "err");
        EXPECT_EQ(failingFileIn(errors), "E_linea.dat");
        expectFailedRun(disk.dir.path, errors, "E_linea.dat", "No space left on device", previous,
                        next, status);
    }
}

}  // namespace
}  // namespace scenario
