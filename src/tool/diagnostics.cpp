// Turns the build's recorded errors and source warnings into diagnostics, sorted as an author
// reads the files.
#include "tool/diagnostics.h"

#include <algorithm>

#include "report/diagnostic.h"
#include "report/error_meanings.h"
#include "tool/text_encoding.h"

namespace scenario {
namespace {

struct Line {
    int fileRank;  // 0 line source, 1 train source, 2 no source line
    std::int32_t line;
    std::string text;
};

int fileRank(const ScenarioBuild& build, const Location& at) {
    if (!at.hasLine()) return 2;
    return at.file == build.identity().lineSourceFile() ? 0 : 1;
}

// The record with its Windows-1252 texts made UTF-8, for the terminal and JSON.
Diagnostic inUtf8(Diagnostic d) {
    d.message = utf8FromWindows1252(d.message);
    d.detail = utf8FromWindows1252(d.detail);
    return d;
}

}  // namespace

std::vector<std::string> diagnosticLines(const ScenarioBuild& build, const FileShown& shown) {
    std::vector<Line> all;
    for (const std::vector<Diagnostic>* list : {&build.warnings, &build.errors}) {
        for (const Diagnostic& d : *list) {
            const int rank = fileRank(build, d.location);
            const std::string file = rank == 2 ? std::string() : shown(d.location.file);
            all.push_back({rank, d.location.line, diagnosticText(inUtf8(d), file)});
        }
    }
    // Stable: the errors of no line keep the order in which the passes found them.
    std::stable_sort(all.begin(), all.end(), [](const Line& a, const Line& b) {
        if (a.fileRank != b.fileRank) return a.fileRank < b.fileRank;
        return a.fileRank < 2 && a.line < b.line;
    });
    std::vector<std::string> lines;
    for (Line& l : all) lines.push_back(std::move(l.text));
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
        j["detail"] = utf8FromWindows1252(e.detail);
        errors.push_back(std::move(j));
    }
    return errors;
}

nlohmann::json warningsJson(const ScenarioBuild& build, const FileShown& shown) {
    nlohmann::json warnings = nlohmann::json::array();
    for (const Diagnostic& w : build.warnings)
        warnings.push_back({{"file", shown(w.location.file)},
                            {"line", w.location.line},
                            {"message", utf8FromWindows1252(w.message)}});
    return warnings;
}

}  // namespace scenario
