// Turns the build's recorded errors and source warnings into diagnostics, sorted as an author
// reads the files.
#include "tool/diagnostics.h"

#include <fmt/format.h>

#include <algorithm>

#include "app/error_messages.h"
#include "app/error_report.h"
#include "tool/text_encoding.h"

namespace scenario {
namespace {

struct Diagnostic {
    int fileRank;  // 0 line source, 1 train source, 2 no source line
    std::int32_t line;
    std::string text;
};

int fileRank(const ScenarioBuild& build, const std::string& file, std::int32_t line) {
    if (line <= 0 || file.empty()) return 2;
    return file == build.identity().lineSourceFile() ? 0 : 1;
}

std::string detailOf(const ScenarioBuild& build, const RecordedError& e) {
    return e.code == 25 ? utf8FromWindows1252(build.failureReason) : std::string();
}

}  // namespace

std::vector<std::string> diagnosticLines(const ScenarioBuild& build, const FileShown& shown) {
    std::vector<Diagnostic> all;
    for (const SourceWarning& w : build.sourceWarnings)
        all.push_back({fileRank(build, w.file, w.line), w.line,
                       fmt::format("{}:{}: warning: {}", shown(w.file), w.line,
                                   utf8FromWindows1252(w.message))});
    for (const RecordedError& e : build.recordedErrors) {
        const int rank = fileRank(build, e.file, e.line);
        const std::string file = rank == 2 ? std::string() : shown(e.file);
        all.push_back({rank, e.line, errorDiagnostic(e, file, detailOf(build, e))});
    }
    // Stable: the errors of no line keep the order in which the passes found them.
    std::stable_sort(all.begin(), all.end(), [](const Diagnostic& a, const Diagnostic& b) {
        if (a.fileRank != b.fileRank) return a.fileRank < b.fileRank;
        return a.fileRank < 2 && a.line < b.line;
    });
    std::vector<std::string> lines;
    for (Diagnostic& d : all) lines.push_back(std::move(d.text));
    return lines;
}

nlohmann::json errorsJson(const ScenarioBuild& build, const FileShown& shown) {
    nlohmann::json errors = nlohmann::json::array();
    for (const RecordedError& e : build.recordedErrors) {
        const bool hasLine = fileRank(build, e.file, e.line) < 2;
        nlohmann::json j;
        j["code"] = e.code;
        j["meaning"] = errorMeaning(e.code);
        j["position"] = errorHasPosition(e.code) ? nlohmann::json(e.position) : nlohmann::json();
        j["file"] = hasLine ? shown(e.file) : "";
        j["line"] = hasLine ? e.line : 0;
        j["detail"] = detailOf(build, e);
        errors.push_back(std::move(j));
    }
    return errors;
}

nlohmann::json warningsJson(const ScenarioBuild& build, const FileShown& shown) {
    nlohmann::json warnings = nlohmann::json::array();
    for (const SourceWarning& w : build.sourceWarnings)
        warnings.push_back({{"file", shown(w.file)},
                            {"line", w.line},
                            {"message", utf8FromWindows1252(w.message)}});
    return warnings;
}

}  // namespace scenario
