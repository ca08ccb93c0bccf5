// The file watch: inotify where there is one, with the polling that serves everywhere else.
#include "base/file_watch.h"

#include <algorithm>
#include <set>
#include <system_error>
#include <thread>

#ifdef __linux__
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>
#endif

namespace scenario {

FileWatch::FileWatch(std::vector<std::filesystem::path> files) : files_(std::move(files)) {
    last_ = stamps();
#ifdef __linux__
    notify_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (notify_ < 0) return;
    std::set<std::filesystem::path> directories;
    for (const auto& file : files_) {
        const std::filesystem::path parent = std::filesystem::absolute(file).parent_path();
        directories.insert(parent);
    }
    // The directory rather than the file: a save by rename leaves a watch on the file looking at
    // the old, unlinked inode.
    constexpr std::uint32_t kEvents = IN_CLOSE_WRITE | IN_MODIFY | IN_CREATE | IN_DELETE |
                                      IN_MOVED_FROM | IN_MOVED_TO | IN_ATTRIB;
    for (const auto& directory : directories) {
        if (inotify_add_watch(notify_, directory.c_str(), kEvents) < 0) {
            close(notify_);
            notify_ = -1;
            return;
        }
    }
#endif
}

FileWatch::~FileWatch() {
#ifdef __linux__
    if (notify_ >= 0) close(notify_);
#endif
}

std::vector<FileWatch::Stamp> FileWatch::stamps() const {
    std::vector<Stamp> all;
    for (const auto& file : files_) {
        Stamp stamp;
        std::error_code error;
        const auto time = std::filesystem::last_write_time(file, error);
        if (!error) {
            stamp.exists = true;
            stamp.time = time.time_since_epoch().count();
            stamp.size = std::filesystem::file_size(file, error);
        }
        all.push_back(stamp);
    }
    return all;
}

bool FileWatch::polled(std::chrono::milliseconds wait) {
    const auto until = std::chrono::steady_clock::now() + wait;
    for (;;) {
        std::vector<Stamp> now = stamps();
        if (now != last_) {
            last_ = std::move(now);
            return true;
        }
        const auto left = until - std::chrono::steady_clock::now();
        if (left <= std::chrono::steady_clock::duration::zero()) return false;
        std::this_thread::sleep_for(
            std::min<std::chrono::steady_clock::duration>(left, std::chrono::milliseconds(50)));
    }
}

bool FileWatch::waitForChange(std::chrono::milliseconds wait) {
#ifdef __linux__
    if (notify_ >= 0) {
        pollfd ready{notify_, POLLIN, 0};
        if (poll(&ready, 1, static_cast<int>(wait.count())) <= 0) return false;
        // The directories tell of every file in them; only the watched names count.
        alignas(inotify_event) char events[16384];
        bool ours = false;
        for (ssize_t got; (got = read(notify_, events, sizeof events)) > 0;) {
            for (ssize_t at = 0; at < got;) {
                const auto* event = reinterpret_cast<const inotify_event*>(events + at);
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
                if (event->len == 0) continue;
                const std::filesystem::path name(event->name);
                ours = ours || std::any_of(files_.begin(), files_.end(), [&](const auto& file) {
                           return file.filename() == name;
                       });
            }
        }
        return ours;
    }
#endif
    return polled(wait);
}

}  // namespace scenario
