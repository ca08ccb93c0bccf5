// The compile and check commands' pipeline: read both sources, compile them under the names the
// compile step expects, print every diagnostic and the summary. The author's files are only
// read: the compile step's deletions apply to the copies in memory.
#include "tool/cli/source_compile.h"

#include <fmt/format.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <system_error>
#include <utility>
#include <vector>

#include "base/file_store.h"
#include "base/platform.h"
#include "base/text_encoding.h"
#include "compiler/track_model.h"
#include "report/diagnostic.h"
#include "report/error_meanings.h"
#include "report/exit_status.h"
#include "tool/check/checker.h"
#include "tool/check/compile_session.h"
#include "tool/check/diagnostics.h"
#include "tool/check/timetable_warnings.h"
#include "tool/cli/run_inputs.h"
#include "tool/route/cell_origins.h"
#include "tool/timing/stock_file.h"

namespace scenario {
namespace fs = std::filesystem;
namespace {

// Why a file cannot be read, as the system says it.
std::string readFailureReason(const fs::path& path) {
    std::error_code ec;
    if (fs::is_directory(path, ec)) return std::strerror(EISDIR);
    errno = 0;
    std::ifstream probe(path, std::ios::binary);
    return errno != 0 ? std::strerror(errno) : "read failed";
}

// Which warnings the author wants, from the -W options.
struct WarningChoice {
    std::set<std::string, std::less<>> off;
    bool asErrors = false;

    bool wanted(const Diagnostic& w) const { return off.count(w.name) == 0; }
};

std::optional<WarningChoice> warningChoice(const std::vector<std::string>& options,
                                           std::string& refused) {
    WarningChoice choice;
    const std::vector<std::string_view> names = warningNames();
    for (const std::string& option : options) {
        if (option == "error") {
            choice.asErrors = true;
            continue;
        }
        const std::string_view name =
            std::string_view(option).substr(option.rfind("no-", 0) == 0 ? 3 : option.size());
        if (name.empty() || std::find(names.begin(), names.end(), name) == names.end()) {
            refused = option;
            return std::nullopt;
        }
        choice.off.emplace(name);
    }
    return choice;
}

void report(const ScenarioBuild& build, const std::vector<Diagnostic>& warnings,
            const SourceCompile& request, const CompileOutcome& outcome, const FileShown& shown,
            std::ostream& err) {
    for (const std::string& line : diagnosticLines(build, warnings, shown)) err << line << '\n';
    const std::string note = outcomeNote(outcome, request.command);
    if (!note.empty()) err << note << '\n';
}

nlohmann::json summary(const SourceCompile& request, const ScenarioBuild& build,
                       const CompileSession& session, const CompileStore& store,
                       const FileShown& shown) {
    const CompileOutcome& outcome = session.outcome;
    const std::size_t compiledErrors = session.compiledErrors;
    nlohmann::json j;
    j["exitStatus"] = outcome.status;
    j["scenarioName"] = request.scenarioName;
    j["trainNumber"] = request.trainNumber;
    j["errorCode"] = build.errorCode;
    j["errorPosition"] = build.errorPosition;
    j["errorMeaning"] = build.errorCode == 0 ? "" : errorMeaning(build.errorCode);
    // The error the compile itself recorded last, not one the checker found after it.
    const Diagnostic* last = compiledErrors == 0 ? nullptr : &build.errors[compiledErrors - 1];
    const bool hasLine = last != nullptr && last->location.line > 0;
    j["errorFile"] = hasLine ? shown(last->location.file) : "";
    j["errorLine"] = hasLine ? last->location.line : 0;
    j["errorDetail"] = last != nullptr ? utf8FromWindows1252(last->detail) : "";
    j["failure"] = outcome.failure;
    j["files"] = store.written;
    j["outputs"] = nlohmann::json::array();
    for (const std::string& file : store.written) {
        const bool same = std::find(store.unchanged.begin(), store.unchanged.end(), file) !=
                          store.unchanged.end();
        j["outputs"].push_back({{"file", file}, {"state", same ? "unchanged" : "written"}});
    }
    j["errors"] = errorsJson(build, shown);
    j["warnings"] = warningsJson(session.warnings, shown);
    return j;
}

std::int32_t lineOf(std::string_view text, std::size_t offset) {
    return 1 + static_cast<std::int32_t>(std::count(text.begin(), text.begin() + offset, '\n'));
}

// Why a file given as UTF-8 could not be converted, with its line; `refused` is what the
// conversion stopped at.
std::string utf8InputProblem(std::string_view bytes, const std::string& refused) {
    const Utf8Scan scan = scanUtf8(bytes);
    if (!scan.valid) {
        const std::string_view at = bytes.substr(scan.firstMalformed, 1);
        return fmt::format(
            "{}: the file is not UTF-8: byte 0x{:02X} (\"{}\" in Windows-1252) cannot stand "
            "there; a Windows-1252 file needs no --input-encoding",
            lineOf(bytes, scan.firstMalformed), static_cast<unsigned char>(at[0]),
            printableFromWindows1252(at));
    }
    // The text is UTF-8, so the refused character's first occurrence is where conversion stopped.
    return fmt::format("{}: holds \"{}\", which Windows-1252 cannot hold",
                       lineOf(bytes, bytes.find(refused)), refused);
}

}  // namespace

int runSourceCompile(const SourceCompile& request, std::ostream& out, std::ostream& err) {
    // A missing directory is made when the first file is written; a file in its place can be
    // refused before any work.
    std::error_code ec;
    if (request.outDirectory && fs::exists(pathFromText(*request.outDirectory), ec) &&
        !fs::is_directory(pathFromText(*request.outDirectory), ec)) {
        err << fmt::format("scenario {}: {} is not a directory\n", request.command,
                           *request.outDirectory);
        return kExitFileFailure;
    }
    std::string refusedOption;
    const std::optional<WarningChoice> choice =
        warningChoice(request.warningOptions, refusedOption);
    if (!choice) {
        err << fmt::format("scenario {}: no warning is named by -W{}\n", request.command,
                           refusedOption);
        return kExitFileFailure;
    }
    std::optional<std::string> line = readWholeFile(pathFromText(request.lineFile));
    std::optional<std::string> train = readWholeFile(pathFromText(request.trainFile));
    for (auto [bytes, path] :
         {std::pair{&line, &request.lineFile}, std::pair{&train, &request.trainFile}}) {
        if (!*bytes) {
            err << fmt::format("scenario {}: cannot read {}: {}\n", request.command, *path,
                               readFailureReason(pathFromText(*path)));
            return kExitFileFailure;
        }
        if (request.inputEncoding != "utf-8") continue;
        std::string refused;
        std::optional<std::string> converted = windows1252FromUtf8OrRefuse(**bytes, refused);
        if (!converted) {
            err << fmt::format("scenario {}: {}:{}\n", request.command, *path,
                               utf8InputProblem(**bytes, refused));
            return kExitFileFailure;
        }
        *bytes = std::move(*converted);
    }

    ScenarioBuild build;
    std::string refused;
    const std::optional<std::string> storedName =
        windows1252FromUtf8OrRefuse(request.scenarioName, refused);
    const std::optional<std::string> storedNumber =
        windows1252FromUtf8OrRefuse(request.trainNumber, refused);
    if (!storedName || !storedNumber) {
        err << fmt::format("scenario {}: the name holds \"{}\", which Windows-1252 cannot hold\n",
                           request.command, refused);
        return kExitFileFailure;
    }
    build.scenarioName = *storedName;
    build.trainNumber = *storedNumber;
    const ScenarioIdentity names = build.identity();
    CompileStore store(request.outDirectory);
    store.alwaysWrite = request.alwaysWrite;
    store.fileNameOf = [&](const std::string& name) {
        const std::string stored = names.scenarioName + "_";
        if (name.rfind(stored, 0) != 0) return name;
        std::string rest = name.substr(stored.size());
        if (rest.rfind(names.trainNumber, 0) == 0 && rest.rfind("linea", 0) != 0)
            rest = request.trainNumber + rest.substr(names.trainNumber.size());
        return request.scenarioName + "_" + rest;
    };
    store.holdSources(names, *line, *train);
    const FileShown shown = sourceFilesShown(names, request.lineFile, request.trainFile);

    SessionOptions options;
    options.buildPlan = request.buildPlan;
    options.store = &store;
    // The compile's cells are watched for placing errors, and its stations for timing them.
    CellOrigins origins(build);
    options.origins = &origins;
    options.wanted = [&](const Diagnostic& w) { return choice->wanted(w); };
    options.warningsAsErrors = choice->asErrors;
    options.writeOnError = request.writeOnError;
    std::optional<StockChoice> stock;
    std::optional<StationPlaces> places;
    if (request.timing) {
        if (!chooseCommandStock(request.command, request.stockFile,
                                textFromPath(pathFromText(request.lineFile).parent_path()),
                                request.scenarioName, request.trainNumber, stock.emplace(), err))
            return kExitFileFailure;
        places.emplace(build);
        options.afterCleanCompile = [&] {
            return timetableWarnings(timing::timeBuild(build, stock->stock), &*places,
                                     request.margin);
        };
    }
    const CompileSession session = compileSession(build, *line, *train, options);
    report(build, session.warnings, request, session.outcome, shown, err);
    if (request.json)
        out << summary(request, build, session, store, shown)
                   .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace)
            << '\n';
    return session.outcome.status;
}

}  // namespace scenario
