// Waits for files to change: written, replaced by a rename (an editor's atomic save), deleted or
// made again. On Linux the kernel tells (inotify on the files' directories, so that a file that
// takes another's name is seen); elsewhere, or when that fails, the files' times and sizes are
// compared at each wait.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

namespace scenario {

class FileWatch {
  public:
    explicit FileWatch(std::vector<std::filesystem::path> files);
    ~FileWatch();
    FileWatch(const FileWatch&) = delete;
    FileWatch& operator=(const FileWatch&) = delete;

    // Blocks up to `wait`; true when one of the files may have changed since the last call. A
    // false alarm costs the caller one needless read, never a missed change.
    bool waitForChange(std::chrono::milliseconds wait);

  private:
    struct Stamp {
        bool exists = false;
        std::int64_t time = 0;
        std::uintmax_t size = 0;
        bool operator==(const Stamp&) const = default;
    };
    std::vector<Stamp> stamps() const;
    bool polled(std::chrono::milliseconds wait);

    std::vector<std::filesystem::path> files_;
    std::vector<Stamp> last_;
    int notify_ = -1;  // the inotify descriptor; -1 while polling
};

}  // namespace scenario
