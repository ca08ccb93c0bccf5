// Open buffers over the disk, the pairing of line and train files by name, and the check of a
// pair in memory.
#include "tool/editor/workspace.h"

#include <filesystem>
#include <string_view>
#include <system_error>

#include "base/file_store.h"
#include "source/file_names.h"
#include "source/record_tables.h"
#include "tool/check/compile_session.h"
#include "tool/check/file_name_part.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;

// The partner of a file checked alone holds no record beyond what lets the passes read the
// file: the reader never examines a file's last field, so a header follows [generale]; and the
// train pass runs only after a line pass that read a route length, the longest the table allows.
std::string minimalPartnerOf(SourceKind kind) {
    if (kind == SourceKind::Line) return "[generale]\r\n[fine]\r\n";
    std::string line = "[generale]\r\n";
    for (const RecordSpec& r : lineRecords()) {
        if (r.id != RecordId::RouteLength) continue;
        line += std::string(r.keyword) + " " + std::string(r.alsoNeeded) + ", " +
                std::to_string(r.fields.front().highest) + "\r\n";
    }
    return line + "[fine]\r\n";
}

std::string folderOf(const std::string& path) {
    return fs::path(path).parent_path().string();
}

std::string pathIn(const std::string& folder, const std::string& name) {
    return (fs::path(folder) / name).string();
}

// NAME of a line file, "NAME_NUMBER" of a train file: only such files are paired.
std::string lineScenarioName(const std::string& path) {
    return lineFileStem(fileNameOf(path)).value_or("");
}

std::string trainStem(const std::string& path) {
    return trainFileStem(fileNameOf(path)).value_or("");
}

// A name part the build can use; file names that hold no such part check under a stand-in.
std::string usableName(const std::string& text, const char* standIn) {
    return text.empty() || !namePartProblem(text).empty() ? standIn : text;
}

}  // namespace

std::optional<std::string> RealDisk::read(const std::string& path) const {
    return readWholeFile(path);
}

std::map<std::string, std::int64_t> RealDisk::filesIn(const std::string& folder) const {
    std::map<std::string, std::int64_t> files;
    std::error_code ec;
    for (fs::directory_iterator it(folder.empty() ? "." : folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        if (!it->is_regular_file(ec)) continue;
        const auto time = it->last_write_time(ec);
        if (ec) continue;
        files[it->path().filename().string()] = time.time_since_epoch().count();
    }
    return files;
}

void SourceWorkspace::open(const std::string& path, std::string text) {
    buffers_[path] = {std::move(text), ++openings_};
}

void SourceWorkspace::change(const std::string& path, std::string text) {
    const auto it = buffers_.find(path);
    if (it == buffers_.end()) return open(path, std::move(text));
    it->second.text = std::move(text);
}

void SourceWorkspace::close(const std::string& path) {
    buffers_.erase(path);
}

const std::string* SourceWorkspace::openText(const std::string& path) const {
    const auto it = buffers_.find(path);
    return it == buffers_.end() ? nullptr : &it->second.text;
}

std::optional<std::string> SourceWorkspace::text(const std::string& path) const {
    if (const std::string* open = openText(path)) return *open;
    return disk_.read(path);
}

std::optional<std::string> SourceWorkspace::trainPartnerOf(const std::string& linePath) const {
    const std::string folder = folderOf(linePath);
    const std::string scenarioName = lineScenarioName(linePath);
    const auto isPartner = [&](const std::string& name) {
        const std::optional<std::string> number = trainNumberIn(name, scenarioName);
        return number && number->find('_') == std::string::npos;
    };
    // The train file last opened...
    const Buffer* latest = nullptr;
    std::string latestPath;
    for (const auto& [path, buffer] : buffers_) {
        if (folderOf(path) != folder || !isPartner(fileNameOf(path))) continue;
        if (latest != nullptr && latest->opened > buffer.opened) continue;
        latest = &buffer;
        latestPath = path;
    }
    if (latest != nullptr) return latestPath;
    // ...else the newest on disk.
    std::optional<std::string> newest;
    std::int64_t newestTime = 0;
    for (const auto& [name, time] : disk_.filesIn(folder)) {
        if (!isPartner(name) || (newest && time <= newestTime)) continue;
        newest = pathIn(folder, name);
        newestTime = time;
    }
    return newest;
}

std::optional<std::string> SourceWorkspace::linePartnerOf(const std::string& trainPath) const {
    const std::string folder = folderOf(trainPath);
    const std::string stem = trainStem(trainPath);
    std::map<std::string, std::int64_t> onDisk;
    bool listed = false;
    // The scenario name may hold "_" itself: try each cut, the last first.
    for (std::size_t cut = stem.rfind('_'); cut != std::string::npos && cut > 0;
         cut = stem.rfind('_', cut - 1)) {
        const std::string name = stem.substr(0, cut) + std::string(kLineSourceEnding);
        const std::string path = pathIn(folder, name);
        if (openText(path) != nullptr) return path;
        if (!listed) onDisk = disk_.filesIn(folder), listed = true;
        if (onDisk.count(name) != 0) return path;
    }
    return std::nullopt;
}

std::optional<std::string> SourceWorkspace::partnerOf(const std::string& path) const {
    switch (sourceKindOf(path)) {
        case SourceKind::Line:
            return trainPartnerOf(path);
        case SourceKind::Train:
            return linePartnerOf(path);
        default:
            return std::nullopt;
    }
}

std::vector<FileDiagnostics> SourceWorkspace::check(const std::string& path,
                                                    BuildWatch* watch) const {
    const SourceKind kind = sourceKindOf(path);
    if (kind == SourceKind::Other) return {};
    const std::optional<std::string> own = text(path);
    if (!own) return {};
    const std::optional<std::string> partner = partnerOf(path);
    std::optional<std::string> partnerText = partner ? text(*partner) : std::nullopt;
    const bool alone = !partnerText;
    if (alone) partnerText = minimalPartnerOf(kind);

    const std::string& linePath = kind == SourceKind::Line ? path : partner.value_or("");
    const std::string& trainPath = kind == SourceKind::Train ? path : partner.value_or("");
    std::string scenarioName;
    std::string trainNumber;
    if (kind == SourceKind::Line) {
        scenarioName = lineScenarioName(path);
        if (partner) trainNumber = trainStem(*partner).substr(scenarioName.size() + 1);
    } else {
        const std::string stem = trainStem(path);
        const std::size_t cut = partner ? lineScenarioName(*partner).size() : stem.rfind('_');
        scenarioName = stem.substr(0, cut);
        trainNumber = stem.substr(cut + 1);
    }
    const ScenarioIdentity names{usableName(scenarioName, "scenario"),
                                 usableName(trainNumber, "0")};
    if (alone) watch = nullptr;
    SourceCheck found = kind == SourceKind::Line
                            ? checkSources(*own, *partnerText, names, watch, &kept_)
                            : checkSources(*partnerText, *own, names, watch, &kept_);

    const auto pathOf = [&](const std::string& buildFile) -> std::string {
        if (buildFile == names.lineSourceFile()) return linePath;
        if (buildFile == names.trainSourceFile()) return trainPath;
        return {};
    };
    std::vector<FileDiagnostics> files{{path, {}}};
    if (!alone) files.push_back({*partner, {}});
    for (Diagnostic& d : found.diagnostics) {
        const std::string file = d.location.hasLine() ? pathOf(d.location.file) : path;
        // Alone, the minimal partner's problems, and those of the whole model, are not the
        // author's.
        if (file.empty() || (alone && (file != path || !d.location.hasLine()))) continue;
        d.location.file = file;
        d.related.file = d.related.hasLine() ? pathOf(d.related.file) : std::string();
        files[file == path ? 0 : 1].diagnostics.push_back(std::move(d));
    }
    return files;
}

}  // namespace scenario
