// Compiles the pair of buffers in memory as `view` compiles the files, and stands in with an empty
// route while there is no pair to show.
#include "tool/lsp/buffer_view.h"

#include <fmt/format.h>

#include <vector>

#include "tool/view/source_view.h"
#include "tool/view/view_data.h"

namespace scenario {
namespace {

nlohmann::json emptyView(const std::string& note) {
    const std::vector<TrackCell> cells;
    const StationTable stations{};
    ViewInput input;
    input.title = "scenario lsp: no route yet";
    input.origin = "sources";
    input.cells = &cells;
    input.stations = &stations;
    input.diagnostics = nlohmann::json::array({viewNote(note)});
    return viewData(input);
}

}  // namespace

nlohmann::json viewBeforeSources() {
    return emptyView(
        "Open a line or a train source file in the editor: its route is drawn here as it is "
        "edited.");
}

nlohmann::json viewOfBuffers(const SourceWorkspace& workspace, const std::string& path,
                             const std::optional<std::string>& stockFile) {
    const SourceKind kind = sourceKindOf(path);
    const std::optional<std::string> partner = workspace.partnerOf(path);
    const std::optional<std::string> own = workspace.text(path);
    const std::optional<std::string> other = partner ? workspace.text(*partner) : std::nullopt;
    if (!own || !other)
        return emptyView(
            fmt::format("{} has no {} file beside it: open or save one to see the route.", path,
                        kind == SourceKind::Line ? "train" : "line"));
    const bool line = kind == SourceKind::Line;
    SourceView view =
        viewOfSources(line ? path : *partner, line ? *partner : path, line ? *own : *other,
                      line ? *other : *own, {}, {}, "lsp", stockFile);
    if (!view.stockError.empty())
        view.data["diagnostics"].push_back(
            viewNote(fmt::format("{}: the route is shown untimed", view.stockError)));
    return std::move(view.data);
}

}  // namespace scenario
