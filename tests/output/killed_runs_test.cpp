// The real programs killed (SIGKILL) at points spread over their run, placed by system call: at
// the N-th write or rename. Every file is then absent, its previous version or its new version,
// and only a kill between naming a finished file and renaming it may leave a temporary file.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "generated_sources.h"
#include "output/child_process.h"
#include "output/file_versions.h"

namespace scenario {
namespace {

using namespace scenario::testing;

const std::string kProgramName = fs::path(SCENARIO_PROGRAM).filename().string();
constexpr int kKills = 20;

std::vector<std::string> traced(const std::vector<std::string>& argv,
                                const std::vector<std::string>& options) {
    // Without --seccomp-bpf: with it this strace does not inject. The leak checker of a sanitizer
    // build cannot run under ptrace, so it is turned off for the traced run.
    std::vector<std::string> all = {"strace",
                                    "-f",
                                    "-qq",
                                    "-s",
                                    "0",
                                    "-e",
                                    "trace=write,rename",
                                    "-E",
                                    "ASAN_OPTIONS=detect_leaks=0"};
    all.insert(all.end(), options.begin(), options.end());
    all.insert(all.end(), argv.begin(), argv.end());
    return all;
}

struct Calls {
    int writes = 0;
    int renames = 0;
};

// How many writes and renames one whole run makes on the thread that makes the most. The
// injections count a call on each thread apart, and the tool's checker thread may make a few
// writes of its own in a sanitizer build (its probes of memory), not always as many.
Calls countCalls(const std::vector<std::string>& argv, const std::function<void()>& prepare) {
    prepare();
    TempDir logs;
    const fs::path log = logs.path / "calls";
    EXPECT_EQ(runChild(traced(argv, {"-o", log.string()})), 0);
    std::map<std::string, Calls> byThread;
    std::ifstream in(log);
    for (std::string line; std::getline(in, line);) {
        Calls& calls = byThread[line.substr(0, line.find(' '))];
        calls.writes += line.find("write(") != std::string::npos;
        calls.renames += line.find("rename(") != std::string::npos;
    }
    Calls most;
    for (const auto& [thread, calls] : byThread)
        if (calls.writes + calls.renames > most.writes + most.renames) most = calls;
    return most;
}

struct KillPoint {
    std::string call;
    int when;
};

// Every rename, and writes spread evenly over the run from the first to the last (each of them
// when there are fewer).
std::vector<KillPoint> killPoints(const Calls& calls) {
    std::vector<KillPoint> points;
    for (int r = 1; r <= calls.renames; ++r) points.push_back({"rename", r});
    if (calls.writes < kKills - static_cast<int>(points.size())) {
        for (int w = 1; w <= calls.writes; ++w) points.push_back({"write", w});
        return points;
    }
    const int writes = kKills - static_cast<int>(points.size());
    for (int i = 0; i < writes; ++i)
        points.push_back({"write", 1 + static_cast<int>(static_cast<long>(calls.writes - 1) * i /
                                                        (writes - 1))});
    return points;
}

// Kills the run at each point, from `previous` each time, and checks what is left.
void killAtEachPoint(const std::vector<std::string>& argv, const fs::path& dir,
                     const std::map<std::string, std::string>& previous,
                     const std::map<std::string, std::string>& next,
                     const std::set<std::string>& kept, int leastWrites = kKills + 1) {
    const auto restore = [&] {
        for (const auto& entry : fs::directory_iterator(dir))
            if (!kept.count(entry.path().filename().string())) fs::remove(entry.path());
        putFiles(dir, previous);
    };
    const Calls calls = countCalls(argv, restore);
    ASSERT_GE(calls.writes, leastWrites);
    for (const KillPoint& point : killPoints(calls)) {
        const std::string context = "killed at " + point.call + " " + std::to_string(point.when);
        SCOPED_TRACE(context);
        restore();
        const std::string inject =
            "inject=" + point.call + ":signal=KILL:when=" + std::to_string(point.when);
        EXPECT_NE(runChild(traced(argv, {"-o", "/dev/null", "-e", inject})), 0);
        std::map<std::string, std::string> found = filesIn(dir, kept);
        const std::set<std::string> stray = expectPreviousOrNew(found, previous, next, context);
        if (point.call == "write") {
            EXPECT_EQ(stray, std::set<std::string>{});
            continue;
        }
        // Killed before its rename: the named temporary file beside the target, whole and new.
        EXPECT_LE(stray.size(), 1u);
        for (const std::string& name : stray) {
            const std::string target = name.substr(0, name.rfind('.'));
            ASSERT_TRUE(next.count(target)) << name;
            EXPECT_EQ(found.at(name), next.at(target)) << name;
        }
    }
}

bool haveStrace() {
    return runChild({"strace", "-V"}) == 0;
}

TEST(KilledRuns, TheScenarioProgramLeavesEachFileOldOrNew) {
    if (!haveStrace()) GTEST_SKIP() << "strace is not installed (scripts/setup installs it)";
    const BuiltinFiles builtin = builtinFiles();
    TempDir dir;
    fs::copy_file(SCENARIO_PROGRAM, dir.path / kProgramName);
    killAtEachPoint({(dir.path / kProgramName).string()}, dir.path,
                    previousVersions(builtin.outputs), builtin.outputsOrSources(), {kProgramName});
}

// A 1000 km route over the files of a 995 km one.
TEST(KilledRuns, TheToolCompilingALongRouteLeavesEachFileOldOrNew) {
    if (!haveStrace()) GTEST_SKIP() << "strace is not installed (scripts/setup installs it)";
    TempDir sources, out;
    const auto compile = [&](int kilometres) {
        const std::int32_t route = kilometres * 1000;
        const std::string stem = std::to_string(kilometres);
        writeFile(sources.path / (stem + "-line.txt"), bench::generatedLineSource(route));
        writeFile(sources.path / (stem + "-train.txt"),
                  bench::generatedTrainSource(78, (route - 2000) / 200));
        return std::vector<std::string>{SCENARIO_TOOL,
                                        "compile",
                                        (sources.path / (stem + "-line.txt")).string(),
                                        (sources.path / (stem + "-train.txt")).string(),
                                        "--name",
                                        "R",
                                        "--train",
                                        "1",
                                        "--out",
                                        out.path.string()};
    };
    ASSERT_EQ(runChild(compile(995)), 0);
    const auto previous = filesIn(out.path);
    const std::vector<std::string> longer = compile(1000);
    ASSERT_EQ(runChild(longer), 0);
    const auto next = filesIn(out.path);
    ASSERT_EQ(previous.size(), 3u);
    killAtEachPoint(longer, out.path, previous, next, {});
}

// A train-file edit: the line data file stays as it was, untouched, and the other two are replaced;
// a kill between two of them leaves each old or new.
TEST(KilledRuns, ACompileThatLeavesAnOutputUnchangedLeavesEachFileOldOrNew) {
    if (!haveStrace()) GTEST_SKIP() << "strace is not installed (scripts/setup installs it)";
    TempDir sources, out;
    const std::int32_t route = 200000;
    writeFile(sources.path / "line.txt", bench::generatedLineSource(route));
    const auto compile = [&](int signals) {
        const fs::path train = sources.path / ("train" + std::to_string(signals) + ".txt");
        writeFile(train, bench::generatedTrainSource(40, signals));
        return std::vector<std::string>{
            SCENARIO_TOOL,    "compile", (sources.path / "line.txt").string(),
            train.string(),   "--name",  "R",
            "--train",        "1",       "--out",
            out.path.string()};
    };
    ASSERT_EQ(runChild(compile(900)), 0);
    const auto previous = filesIn(out.path);
    const std::vector<std::string> edited = compile(950);
    ASSERT_EQ(runChild(edited), 0);
    const auto next = filesIn(out.path);
    ASSERT_EQ(previous.size(), 3u);
    ASSERT_EQ(previous.at("R_linea.dat"), next.at("R_linea.dat"));
    ASSERT_NE(previous.at("R_1.dat"), next.at("R_1.dat"));
    killAtEachPoint(edited, out.path, previous, next, {}, 1);
}

}  // namespace
}  // namespace scenario
