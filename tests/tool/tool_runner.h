// Runs the scenario tool, in-process or as its executable, in a scratch directory, and collects
// what it printed and returned.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "tool/cli/scenario_tool.h"

namespace scenario::testing {

namespace fs = std::filesystem;

struct TempDir {
    fs::path path;
    TempDir() {
        std::string pattern = (fs::temp_directory_path() / "compile-XXXXXX").string();
        path = ::mkdtemp(pattern.data());
    }
    ~TempDir() { fs::remove_all(path); }
};

inline std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// A command line without quoting, cut at its blanks.
inline std::vector<std::string> words(const std::string& line) {
    std::vector<std::string> out;
    std::istringstream in(line);
    for (std::string word; in >> word;) out.push_back(word);
    return out;
}

struct ToolRun {
    int status;
    std::string out;
    std::string err;
};

// Runs the tool's library with these arguments, in `dir` as the working directory, as a user
// runs the tool there; the directory is restored afterwards.
inline ToolRun runTool(const fs::path& dir, const std::vector<std::string>& arguments) {
    const fs::path before = fs::current_path();
    fs::current_path(dir);
    std::ostringstream out, err;
    const int status = runScenarioTool(arguments, out, err);
    fs::current_path(before);
    return {status, out.str(), err.str()};
}

// The same through the built executable, for the runs that must show what a shell sees.
inline ToolRun runToolExecutable(const fs::path& dir, const std::vector<std::string>& arguments) {
    const fs::path out = dir / "stdout.txt", err = dir / "stderr.txt";
    std::string command = "cd " + quoted(dir.string()) + " && " + quoted(SCENARIO_TOOL);
    for (const std::string& argument : arguments) command.append(" ").append(quoted(argument));
    command.append(" >").append(quoted(out.string())).append(" 2>").append(quoted(err.string()));
    const int raw = std::system(command.c_str());
    ToolRun run{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readFile(out), readFile(err)};
    fs::remove(out);
    fs::remove(err);
    return run;
}

// Runs a copy of the scenario program in `dir`, as a user starts it there, and removes the copy;
// returns its exit status.
inline int runScenarioProgram(const fs::path& dir) {
    const fs::path program = dir / fs::path(SCENARIO_PROGRAM).filename();
    fs::copy_file(SCENARIO_PROGRAM, program, fs::copy_options::overwrite_existing);
    const int raw = std::system((quoted(program.string()) + " 2>/dev/null").c_str());
    fs::remove(program);
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

inline std::size_t fileCount(const fs::path& dir) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

}  // namespace scenario::testing
