// What the live preview shows: the sources compiled in memory as they are on the disk, again on
// every change, on a thread of its own.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <thread>

namespace scenario {

class FileWatch;

struct WatchedSources {
    std::string lineFile;
    std::string trainFile;
    std::string stockFile;  // empty when none
};

struct CurrentView {
    std::optional<nlohmann::json> data;
    bool compiled = false;  // false: a file is missing, and `data` is the last compile's
};

// The view's data for the files as they are now. A file that cannot be read (deleted, renamed
// away) gives `last` with that said in its diagnostics, or nothing when there is no `last`.
CurrentView currentViewData(const WatchedSources& sources, const nlohmann::json* last);

class SourceWatch {
  public:
    using Publish =
        std::function<void(const nlohmann::json&, std::chrono::steady_clock::time_point seen)>;
    // Calls `publish` with the new data, and when the change was seen, after every change, until
    // destroyed.
    SourceWatch(WatchedSources sources, nlohmann::json first, Publish publish);
    ~SourceWatch();
    SourceWatch(const SourceWatch&) = delete;
    SourceWatch& operator=(const SourceWatch&) = delete;

  private:
    void watch();

    WatchedSources sources_;
    std::unique_ptr<FileWatch> files_;
    nlohmann::json compiled_;  // the last data compiled from both files
    Publish publish_;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

}  // namespace scenario
