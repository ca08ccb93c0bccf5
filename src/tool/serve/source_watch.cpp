// The watch over the author's files: a change (an editor's save, half-written or whole) is
// compiled as it stands; the next change mends what a half-written file broke.
#include "tool/serve/source_watch.h"

#include <fmt/format.h>

#include <chrono>
#include <vector>

#include "base/file_store.h"
#include "base/file_watch.h"
#include "base/platform.h"
#include "tool/view/source_view.h"
#include "tool/view/view_data.h"

namespace scenario {
namespace {

using Clock = std::chrono::steady_clock;

// A save comes as a burst of events: the file compiled once the burst ends, or at the latest
// after this long.
constexpr auto kQuiet = std::chrono::milliseconds(15);
constexpr auto kLongestBurst = std::chrono::milliseconds(150);
// How often the thread looks whether it is to stop.
constexpr auto kStopCheck = std::chrono::milliseconds(100);

}  // namespace

CurrentView currentViewData(const WatchedSources& sources, const nlohmann::json* last) {
    const std::optional<std::string> line = readWholeFile(pathFromText(sources.lineFile));
    const std::optional<std::string> train = readWholeFile(pathFromText(sources.trainFile));
    std::vector<std::string> missing;
    if (!line) missing.push_back(sources.lineFile);
    if (!train) missing.push_back(sources.trainFile);
    if (!sources.stockFile.empty() && !readWholeFile(pathFromText(sources.stockFile)))
        missing.push_back(sources.stockFile);
    if (missing.empty()) {
        const std::optional<std::string> stock =
            sources.stockFile.empty() ? std::nullopt : std::optional(sources.stockFile);
        SourceView view = viewOfSources(sources.lineFile, sources.trainFile, *line, *train, {}, {},
                                        "serve", stock);
        // A stock file being saved may be refused for a moment: the route is shown untimed.
        if (!view.stockError.empty())
            view.data["diagnostics"].push_back(
                viewNote(fmt::format("{}: the route is shown untimed", view.stockError)));
        return {std::move(view.data), true};
    }
    if (!last) return {};
    nlohmann::json data = *last;
    data["diagnostics"] = nlohmann::json::array();
    for (const std::string& file : missing)
        data["diagnostics"].push_back(viewNote(
            fmt::format("cannot read {}: deleted or renamed? The page shows the last compile "
                        "until the file is back.",
                        file)));
    return {std::move(data), false};
}

SourceWatch::SourceWatch(WatchedSources sources, nlohmann::json first, Publish publish)
    : sources_(std::move(sources)), compiled_(std::move(first)), publish_(std::move(publish)) {
    std::vector<std::filesystem::path> files{pathFromText(sources_.lineFile),
                                             pathFromText(sources_.trainFile)};
    if (!sources_.stockFile.empty()) files.push_back(pathFromText(sources_.stockFile));
    files_ = std::make_unique<FileWatch>(std::move(files));
    thread_ = std::thread([this] { watch(); });
}

SourceWatch::~SourceWatch() {
    stopping_ = true;
    thread_.join();
}

void SourceWatch::watch() {
    FileWatch& watch = *files_;
    while (!stopping_) {
        if (!watch.waitForChange(kStopCheck)) continue;
        const auto seen = Clock::now();
        while (Clock::now() - seen < kLongestBurst && watch.waitForChange(kQuiet)) {
        }
        CurrentView now = currentViewData(sources_, &compiled_);
        if (!now.data) continue;
        if (now.compiled) compiled_ = *now.data;
        publish_(*now.data, seen);
    }
}

}  // namespace scenario
