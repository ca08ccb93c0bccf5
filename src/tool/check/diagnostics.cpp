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

// The record with its Windows-1252 texts made UTF-8 for a terminal's line.
Diagnostic printable(Diagnostic d) {
    d.message = printableFromWindows1252(d.message);
    d.detail = printableFromWindows1252(d.detail);
    return d;
}

// "FILE:LINE[:COL]: ", or nothing without a file.
std::string placeText(const std::string& fileShown, const Location& at) {
    if (fileShown.empty()) return {};
    std::string place = fileShown + ":" + std::to_string(at.line) + ":";
    if (at.firstColumn > 0) place += std::to_string(at.firstColumn) + ":";
    return place + " ";
}

}  // namespace

std::string toolDiagnosticText(const Diagnostic& d, const std::string& fileShown,
                               const std::string& relatedShown) {
    Diagnostic bare = printable(d);
    bare.location.line = 0;
    const std::string place = d.location.line > 0 ? placeText(fileShown, d.location) : "";
    std::string text = place + diagnosticText(bare, {});
    if (d.severity == Severity::Warning) text += " [" + d.name + "]";
    const bool carried = d.relatedMessage.empty();
    if (carried && !relatedShown.empty() && d.related.hasLine())
        text += "; raised by " + relatedShown + ":" + std::to_string(d.related.line) +
                " and carried into this file, which stops here";
    if (d.afterFirst) text += " (found after the first error)";
    if (!carried && !relatedShown.empty() && d.related.hasLine())
        text.append("\n")
            .append(placeText(relatedShown, d.related))
            .append("note: ")
            .append(printableFromWindows1252(d.relatedMessage));
    return text;
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
    return toolDiagnosticText(d, file, related);
}

std::vector<std::string> diagnosticLines(const ScenarioBuild& build,
                                         const std::vector<Diagnostic>& warnings,
                                         const FileShown& shown) {
    std::vector<std::string> lines;
    for (const Diagnostic* d : diagnosticsInOrder(build, warnings))
        lines.push_back(diagnosticLine(build, *d, shown));
    return lines;
}

nlohmann::json errorsJson(const ScenarioBuild& build, const FileShown& shown) {
    nlohmann::json errors = nlohmann::json::array();
    for (const Diagnostic& recorded : build.errors) {
        const Diagnostic e = describedError(recorded);
        const bool hasLine = e.location.hasLine();
        nlohmann::json j;
        j["code"] = e.code;
        j["meaning"] = errorMeaning(e.code);
        j["position"] = e.position ? nlohmann::json(*e.position) : nlohmann::json();
        j["file"] = hasLine ? shown(e.location.file) : "";
        j["line"] = hasLine ? e.location.line : 0;
        j["column"] = hasLine ? e.location.firstColumn : 0;
        j["afterFirst"] = e.afterFirst;
        j["detail"] = utf8FromWindows1252(e.detail);
        if (e.related.hasLine())
            j["related"] = {{"file", shown(e.related.file)},
                            {"line", e.related.line},
                            {"column", e.related.firstColumn},
                            {"message", utf8FromWindows1252(relatedMessage(e))}};
        errors.push_back(std::move(j));
    }
    return errors;
}

nlohmann::json warningsJson(const std::vector<Diagnostic>& list, const FileShown& shown) {
    nlohmann::json warnings = nlohmann::json::array();
    for (const Diagnostic& w : list) {
        nlohmann::json j = {{"file", shown(w.location.file)},
                            {"line", w.location.line},
                            {"column", w.location.firstColumn},
                            {"name", w.name},
                            {"message", utf8FromWindows1252(w.message)}};
        if (!w.suggestion.empty()) j["suggestion"] = utf8FromWindows1252(w.suggestion);
        warnings.push_back(std::move(j));
    }
    return warnings;
}

}  // namespace scenario
