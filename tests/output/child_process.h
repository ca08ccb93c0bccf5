// Starts the real programs as child processes, optionally under a file size limit, and waits for
// them; standard error goes to a file of the caller's choice.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace scenario::testing {

struct ChildSetting {
    std::filesystem::path directory = "/";
    std::filesystem::path errors = "/dev/null";
    std::optional<rlim_t> fileSizeLimit;  // with SIGXFSZ ignored, so that writes fail instead
};

inline pid_t startChild(const std::vector<std::string>& argv, const ChildSetting& setting) {
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid != 0) return pid;
    // Only async-signal-safe calls from here on; any failure ends the child with 127.
    if (::chdir(setting.directory.c_str()) != 0) ::_exit(127);
    const int err = ::open(setting.errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int out = ::open("/dev/null", O_WRONLY);
    if (err < 0 || out < 0 || ::dup2(err, 2) < 0 || ::dup2(out, 1) < 0) ::_exit(127);
    if (setting.fileSizeLimit) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{*setting.fileSizeLimit, *setting.fileSizeLimit};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(127);
    }
    ::execvp(args[0], args.data());
    ::_exit(127);
}

// The exit status, or 128 + the signal that ended the child.
inline int waitChild(pid_t pid) {
    int raw = 0;
    if (::waitpid(pid, &raw, 0) != pid) return -1;
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
}

inline int runChild(const std::vector<std::string>& argv, const ChildSetting& setting = {}) {
    return waitChild(startChild(argv, setting));
}

}  // namespace scenario::testing
