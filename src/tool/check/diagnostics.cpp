// Turns the build's recorded errors and source warnings into diagnostics, sorted as an author
// reads the files.
#include "tool/check/diagnostics.h"

#include <algorithm>
#include <utility>

#include "base/text_encoding.h"
#include "report/diagnostic.h"
#include "report/error_meanings.h"

namespace scenario {
namespace {

// 0 line source, 1 train source, 2 no source line.
int fileRank(const ScenarioBuild& build, const Location& at) {
    if (!at.hasLine()) return 2;
    return at.file == build.identity().lineSourceFile() ? 0 : 1;
}

}  // namespace

FileShown sourceFilesShown(const ScenarioIdentity& names, const std::string& lineFile,
                           const std::string& trainFile) {
    return [line = names.lineSourceFile(), train = names.trainSourceFile(), lineFile,
            trainFile](const std::string& file) {
        if (file == line) return lineFile;
        if (file == train) return trainFile;
        return file;
    };
}

std::vector<const Diagnostic*> diagnosticsInOrder(const ScenarioBuild& build,
                                                  const std::vector<Diagnostic>& warnings) {
    std::vector<std::pair<int, const Diagnostic*>> all;
    for (const std::vector<Diagnostic>* list : {&warnings, &build.errors})
        for (const Diagnostic& d : *list) all.emplace_back(fileRank(build, d.location), &d);
    // Stable: the errors of no line keep the order in which the passes found them.
    std::stable_sort(all.begin(), all.end(), [](const auto& a, const auto& b) {
        if (a.first != b.first) return a.first < b.first;
        return a.first < 2 && a.second->location.line < b.second->location.line;
    });
    std::vector<const Diagnostic*> ordered;
    for (const auto& [rank, d] : all) ordered.push_back(d);
    return ordered;
}

std::string diagnosticLine(const ScenarioBuild& build, const Diagnostic& d,
                           const FileShown& shown) {
    const std::string file =
        fileRank(build, d.location) == 2 ? std::string() : shown(d.location.file);
    const std::string related = d.related.hasLine() ? shown(d.related.file) : std::string();
    return diagnosticText(d, file, TextForm::Tool, related);
}

std::vector<std::string> diagnosticLines(const ScenarioBuild& build,
                                         const std::vector<Diagnostic>& warnings,
                                         const FileShown& shown) {
    std::vector<std::string> lines;
    for (const Diagnostic* d : diagnosticsInOrder(build, warnings))
        lines.push_back(diagnosticLine(build, *d, shown));
    return lines;
}

nlohmann::json diagnosticJson(const Diagnostic& recorded, const FileShown& shown) {
    const Diagnostic d = describedError(recorded);
    const bool hasLine = d.location.hasLine();
    const bool error = d.severity == Severity::Error;
    const std::string file = hasLine ? shown(d.location.file) : std::string();
    const std::string related = d.related.hasLine() ? shown(d.related.file) : std::string();
    nlohmann::json j = {{"severity", error ? "error" : "warning"},
                        {"text", diagnosticText(d, file, TextForm::Tool, related)},
                        {"message", utf8FromWindows1252(diagnosticMessage(d))},
                        {"file", file},
                        {"line", hasLine ? d.location.line : 0},
                        {"column", hasLine ? d.location.firstColumn : 0},
                        {"code", error ? nlohmann::json(d.code) : nlohmann::json()},
                        {"name", error ? nlohmann::json() : nlohmann::json(d.name)},
                        {"position", d.position ? nlohmann::json(*d.position) : nlohmann::json()}};
    if (error) {
        j["meaning"] = errorMeaning(d.code);
        j["detail"] = utf8FromWindows1252(d.detail);
        j["afterFirst"] = d.afterFirst;
    }
    if (!d.suggestion.empty()) j["suggestion"] = utf8FromWindows1252(d.suggestion);
    j["related"] = nullptr;
    if (d.related.hasLine())
        j["related"] = {{"file", related},
                        {"line", d.related.line},
                        {"column", d.related.firstColumn},
                        {"message", utf8FromWindows1252(relatedMessage(d))}};
    return j;
}

nlohmann::json errorsJson(const ScenarioBuild& build, const FileShown& shown) {
    nlohmann::json errors = nlohmann::json::array();
    for (const Diagnostic& e : build.errors) errors.push_back(diagnosticJson(e, shown));
    return errors;
}

nlohmann::json warningsJson(const std::vector<Diagnostic>& list, const FileShown& shown) {
    nlohmann::json warnings = nlohmann::json::array();
    for (const Diagnostic& w : list) warnings.push_back(diagnosticJson(w, shown));
    return warnings;
}

}  // namespace scenario
