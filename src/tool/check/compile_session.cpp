// The compile of an author's files: read both sources, compile them under the names the compile
// step expects, report every diagnostic, summarise. The author's files are only read: the compile
// step's deletions apply to the copies in memory.
#include "tool/check/compile_session.h"

#include <fmt/format.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <memory>
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
#include "output/compile_driver.h"
#include "report/diagnostic.h"
#include "report/error_meanings.h"
#include "report/exit_status.h"
#include "tool/check/checker.h"
#include "tool/check/diagnostics.h"
#include "tool/check/error_places.h"
#include "tool/check/timetable_warnings.h"
#include "tool/route/cell_origins.h"
#include "tool/timing/stock_file.h"

namespace scenario {
namespace fs = std::filesystem;

CompileStore::CompileStore(const std::optional<std::string>& directory) {
    if (!directory) return;
    directoryPath_ = pathFromText(*directory);
    directory_.emplace(directoryPath_);
}

void CompileStore::makeDirectory() {
    if (directoryMade_) return;
    createDirectories(directoryPath_);
    directoryMade_ = true;
}

void CompileStore::write(const std::string& name, std::string_view bytes) {
    writeInPieces(name, [bytes](ByteSink& sink) { sink.append(bytes); });
}

void CompileStore::writeInPieces(const std::string& name, const FileContent& content) {
    if (!directory_ || !mayWrite()) return;
    makeDirectory();
    const fs::path path = directory_->pathOf(fileNameOf(name));
    bool replaced = true;
    if (alwaysWrite)
        writeFileInPieces(path, content);
    else
        replaced = writeFileInPiecesIfChanged(path, content);
    written.push_back(textFromPath(path));
    if (!replaced) unchanged.push_back(written.back());
}

namespace {

// How a run of the compile driver, or of its halves, ended.
CompileOutcome outcomeOf(const ScenarioBuild& build,
                         const std::function<std::optional<StampingFailure>()>& run) {
    try {
        if (const std::optional<StampingFailure> stop = run())
            return {kExitStamping, stampingErrorText(std::to_string(stop->number)), stop->number};
    } catch (const std::exception& failure) {
        return {kExitFileFailure, failure.what()};
    }
    return {buildEndStatus(build.hasTrackCellTable(), build.errorCode), {}};
}

}  // namespace

CompileOutcome compileBuild(ScenarioBuild& build, FileStore& files, bool buildPlan) {
    return outcomeOf(build, [&] { return memorizza_percorso(build, files, buildPlan ? 1 : 0); });
}

KeptLineModel::KeptLineModel() = default;
KeptLineModel::~KeptLineModel() = default;

bool KeptLineModel::holds(const ScenarioIdentity& names, std::string_view lineBytes) const {
    return held_ && names.scenarioName == names_.scenarioName &&
           names.trainNumber == names_.trainNumber && lineBytes.size() == lineBytes_.size() &&
           lineBytes == lineBytes_;
}

void KeptLineModel::keep(const ScenarioIdentity& names, std::string_view lineBytes,
                         const ScenarioBuild& build, bool trainPassRuns,
                         const CellOrigins& origins) {
    forget();
    model_.build = build;
    model_.build.cellWatcher = nullptr;
    model_.trainPassRuns = trainPassRuns;
    origins_ = std::make_unique<CellOrigins>(origins, model_.build);
    names_ = names;
    lineBytes_.assign(lineBytes);
    held_ = true;
}

void KeptLineModel::forget() {
    held_ = false;
    origins_.reset();
    check_.reset();
    model_ = LineModel();
}

namespace {

// A compile whose cells are watched, so that its errors can be placed; `place` places the first
// `count` of them, those of this compile.
class WatchedCompile {
  public:
    // Watches through `given` when the caller keeps the origins for more than placing errors.
    // With `kept` (and no `given`), runs on a copy of its line model when it holds the line text,
    // and keeps the line model when it does not.
    WatchedCompile(ScenarioBuild& build, FileStore& files, bool buildPlan, const SourceTexts& texts,
                   CellOrigins* given = nullptr, KeptLineModel* kept = nullptr)
        : texts_(texts) {
        if (given != nullptr || kept == nullptr) {
            if (given == nullptr) own_.emplace(build);
            origins_ = given != nullptr ? given : &*own_;
            outcome = compileBuild(build, files, buildPlan);
        } else if (kept->holds(texts.names, texts.line)) {
            own_.emplace(kept->origins(), build);
            origins_ = &*own_;
            resumeFrom(build, kept->model());
            const bool trainPassRuns = kept->model().trainPassRuns;
            outcome =
                outcomeOf(build, [&] { return finishAfterLinePass(build, trainPassRuns, files); });
        } else {
            own_.emplace(build);
            origins_ = &*own_;
            outcome = outcomeOf(build, [&] {
                const bool trainPassRuns = startWithLinePass(build, files, buildPlan ? 1 : 0);
                kept->keep(texts.names, texts.line, build, trainPassRuns, *origins_);
                return finishAfterLinePass(build, trainPassRuns, files);
            });
        }
        origins_->finish();
        if (outcome.status == kExitStamping)
            outcome.stampingPlace =
                placedStampingError(outcome.stampingError, *origins_, texts).location;
    }
    void place(std::vector<Diagnostic>& errors, std::size_t count) const {
        placeErrors(std::span(errors.data(), std::min(count, errors.size())), *origins_, texts_);
    }

    CompileOutcome outcome{};

  private:
    std::optional<CellOrigins> own_;
    CellOrigins* origins_ = nullptr;
    const SourceTexts& texts_;
};

// Why a file cannot be read, as the system says it.
std::string readFailureReason(const std::string& path) {
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
                       std::size_t compiledErrors, const std::vector<Diagnostic>& warnings,
                       const CompileOutcome& outcome, const CompileStore& store,
                       const FileShown& shown) {
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
    j["warnings"] = warningsJson(warnings, shown);
    return j;
}

constexpr std::size_t kMostErrors = 50;
constexpr int kStationTableSlots = 80;
constexpr int kFirstReservedSlot = 78;

// The errors whose short meaning leaves out what the author needs: the table's capacity and the
// count, the allowed class digits, and that the files were given the wrong way round.
void sayWhatToDo(ScenarioBuild& build, const CheckResult& check) {
    for (Diagnostic& e : build.errors) {
        if (e.code == 10)
            e.detail = fmt::format(
                "the table holds {} stations beside the line file's {} sign texts; the train "
                "file has {} stations",
                std::max(0, kFirstReservedSlot - check.signRecords), check.signRecords,
                check.stationRecords);
        if (e.code == 14)
            e.detail = fmt::format("the table holds {} sign texts; the line file has {}",
                                   kStationTableSlots, check.signRecords);
        if (e.code == 103)
            e.detail =
                "a curve's first field needs a class digit 1 to 6 after its side letter "
                "(curvad5, curvas1), and the plan ends at 1000000 m";
        if (e.code == 25 && check.filesLookSwapped) e.detail += " (the files look swapped)";
    }
}

bool sameError(const Diagnostic& a, const Diagnostic& b) {
    return a.code == b.code && a.location.file == b.location.file &&
           a.location.line == b.location.line && a.position == b.position;
}

// Blanks a line of a text, keeping every other byte where it stands.
void blankLine(std::string& text, std::int32_t line) {
    std::size_t start = 0;
    for (std::int32_t l = 1; l < line && start != std::string::npos; ++l) {
        start = text.find('\n', start);
        if (start != std::string::npos) ++start;
    }
    if (start == std::string::npos) return;
    for (std::size_t i = start; i < text.size() && text[i] != '\n' && text[i] != '\r'; ++i)
        text[i] = ' ';
}

// The compile stops at a file's first error. To list the errors after it, compile again in
// memory with each record that raised one passed over, until no new error comes or the bound.
// The errors are compared as the compile records them, and kept placed.
void findLaterErrors(ScenarioBuild& build, const SourceTexts& texts, bool buildPlan) {
    const ScenarioIdentity& names = texts.names;
    std::string line(texts.line);
    std::string train(texts.train);
    std::vector<Diagnostic> blanked = build.errors;
    std::vector<Diagnostic> found = build.errors;
    while (build.errors.size() < kMostErrors) {
        for (const Diagnostic& e : blanked) {
            if (!e.location.hasLine()) continue;
            blankLine(e.location.file == names.lineSourceFile() ? line : train, e.location.line);
        }
        CompileStore store(std::nullopt);
        store.sources.files[names.lineSourceFile()] = line;
        store.sources.files[names.trainSourceFile()] = train;
        ScenarioBuild again;
        again.scenarioName = names.scenarioName;
        again.trainNumber = names.trainNumber;
        const WatchedCompile compiled(again, store, buildPlan, texts);
        if (compiled.outcome.status == kExitStamping || compiled.outcome.status == kExitFileFailure)
            return;
        std::vector<Diagnostic> placed = again.errors;
        compiled.place(placed, placed.size());
        blanked.clear();
        for (std::size_t n = 0; n < again.errors.size(); ++n) {
            Diagnostic& e = again.errors[n];
            const bool known = std::any_of(found.begin(), found.end(),
                                           [&](const Diagnostic& k) { return sameError(k, e); });
            if (known || !e.location.hasLine() || build.errors.size() >= kMostErrors) continue;
            e.afterFirst = placed[n].afterFirst = true;
            blanked.push_back(e);
            found.push_back(e);
            build.errors.push_back(std::move(placed[n]));
        }
        if (blanked.empty()) return;
    }
}

// The checker reads its own copies of the two texts on a thread of its own while the compile
// runs: they share nothing, and the compile first needs the checker's answer when it is about to
// write. Where no thread can be started, the check runs when first asked for.
class BackgroundCheck {
  public:
    // With `lineCheck`, the line text's part is not read again.
    BackgroundCheck(SourceText line, SourceText train,
                    std::shared_ptr<const LineTextCheck> lineCheck = nullptr) {
        // Each way of starting the check takes a copy of it: the texts are shared, not copied.
        const auto texts = std::make_shared<const std::pair<SourceText, SourceText>>(
            std::move(line), std::move(train));
        const auto check = [texts, lineCheck]() -> Found {
            std::shared_ptr<const LineTextCheck> linePart =
                lineCheck ? lineCheck
                          : std::make_shared<const LineTextCheck>(checkLineText(texts->first));
            CheckResult result = checkSourceTexts(*linePart, texts->second);
            return {std::move(linePart), std::move(result)};
        };
        try {
            pending_ = std::async(std::launch::async, check);
        } catch (const std::system_error&) {
            pending_ = std::async(std::launch::deferred, check);
        }
    }
    const CheckResult& result() {
        if (!found_) found_ = pending_.get();
        return found_->result;
    }
    const std::shared_ptr<const LineTextCheck>& linePart() {
        result();
        return found_->linePart;
    }

  private:
    struct Found {
        std::shared_ptr<const LineTextCheck> linePart;
        CheckResult result;
    };
    std::future<Found> pending_;
    std::optional<Found> found_;
};

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
                               readFailureReason(*path));
            return kExitFileFailure;
        }
        if (request.inputEncoding != "utf-8") continue;
        std::string refused;
        std::optional<std::string> converted = windows1252FromUtf8(**bytes, refused);
        if (!converted) {
            err << fmt::format("scenario {}: {}:{}\n", request.command, *path,
                               utf8InputProblem(**bytes, refused));
            return kExitFileFailure;
        }
        *bytes = std::move(*converted);
    }

    CompileStore store(request.outDirectory);
    store.alwaysWrite = request.alwaysWrite;
    ScenarioBuild build;
    std::string refused;
    const std::optional<std::string> storedName =
        windows1252FromUtf8(request.scenarioName, refused);
    const std::optional<std::string> storedNumber =
        windows1252FromUtf8(request.trainNumber, refused);
    if (!storedName || !storedNumber) {
        err << fmt::format("scenario {}: the name holds \"{}\", which Windows-1252 cannot hold\n",
                           request.command, refused);
        return kExitFileFailure;
    }
    build.scenarioName = *storedName;
    build.trainNumber = *storedNumber;
    const ScenarioIdentity names = build.identity();
    store.fileNameOf = [&](const std::string& name) {
        const std::string stored = names.scenarioName + "_";
        if (name.rfind(stored, 0) != 0) return name;
        std::string rest = name.substr(stored.size());
        if (rest.rfind(names.trainNumber, 0) == 0 && rest.rfind("linea", 0) != 0)
            rest = request.trainNumber + rest.substr(names.trainNumber.size());
        return request.scenarioName + "_" + rest;
    };
    store.sources.files[names.lineSourceFile()] = *line;
    store.sources.files[names.trainSourceFile()] = *train;
    const FileShown shown = [&](const std::string& file) {
        if (file == names.lineSourceFile()) return request.lineFile;
        if (file == names.trainSourceFile()) return request.trainFile;
        return file;
    };

    BackgroundCheck checking({names.lineSourceFile(), *line}, {names.trainSourceFile(), *train});
    const auto warns = [&](const std::vector<Diagnostic>& list) {
        return choice->asErrors && std::any_of(list.begin(), list.end(), [&](const Diagnostic& w) {
                   return choice->wanted(w);
               });
    };
    store.mayWrite = [&] {
        if (request.writeOnError) return true;
        return build.errorCode == 0 && !warns(checking.result().warnings) && !warns(build.warnings);
    };

    // The compile's cells are watched for placing errors, and its stations for timing them.
    CellOrigins origins(build);
    std::optional<StockChoice> stock;
    std::optional<StationPlaces> places;
    if (request.timing) {
        stock = chooseStock(request.stockFile,
                            textFromPath(pathFromText(request.lineFile).parent_path()),
                            request.scenarioName, request.trainNumber);
        if (!stock->error.empty()) {
            err << fmt::format("scenario {}: {}\n", request.command, stock->error);
            return kExitFileFailure;
        }
        places.emplace(build);
    }
    const SourceTexts texts{names, *line, *train};
    WatchedCompile compiled(build, store, request.buildPlan, texts, &origins);
    CompileOutcome& outcome = compiled.outcome;
    const CheckResult& check = checking.result();
    std::vector<Diagnostic> warnings;
    const auto keepWanted = [&](const std::vector<Diagnostic>& list) {
        for (const Diagnostic& w : list)
            if (choice->wanted(w)) warnings.push_back(w);
    };
    keepWanted(check.warnings);
    keepWanted(build.warnings);
    if (places && outcome.status == kExitClean)
        keepWanted(
            timetableWarnings(timing::timeBuild(build, stock->stock), &*places, request.margin));
    const std::size_t compiledErrors = build.errors.size();
    compiled.place(build.errors, compiledErrors);
    if (outcome.status == kExitDataError) findLaterErrors(build, texts, request.buildPlan);
    // The program's own message follows; this line says which record is the cause.
    if (outcome.stampingPlace.hasLine())
        build.errors.push_back(makeError(outcome.stampingError, 0, outcome.stampingPlace));
    sayWhatToDo(build, check);
    if (outcome.status == kExitClean && choice->asErrors && !warnings.empty())
        outcome.status = kExitDataError;
    report(build, warnings, request, outcome, shown, err);
    if (request.json)
        out << summary(request, build, compiledErrors, warnings, outcome, store, shown)
                   .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace)
            << '\n';
    return outcome.status;
}

std::string outcomeNote(const CompileOutcome& outcome, const std::string& command) {
    if (outcome.status == kExitStamping) return outcome.failure;
    if (outcome.status == kExitFileFailure)
        return fmt::format("scenario {}: {}", command, outcome.failure);
    if (outcome.status == kExitNoTrackCells) return std::string(kNoTrackCellsNote);
    return {};
}

CheckedBuild compileChecked(ScenarioBuild& build, const std::string& lineBytes,
                            const std::string& trainBytes, CellOrigins* origins,
                            KeptLineModel* kept) {
    const ScenarioIdentity names = build.identity();
    // A caller's own watcher follows the whole compile.
    if (origins != nullptr) kept = nullptr;
    const bool lineKept = kept != nullptr && kept->holds(names, lineBytes) && kept->check();
    BackgroundCheck checking({names.lineSourceFile(), lineBytes},
                             {names.trainSourceFile(), trainBytes},
                             lineKept ? kept->check() : nullptr);
    CompileStore store(std::nullopt);
    if (!lineKept) store.sources.files[names.lineSourceFile()] = lineBytes;
    store.sources.files[names.trainSourceFile()] = trainBytes;
    const SourceTexts texts{names, lineBytes, trainBytes};
    const WatchedCompile compiled(build, store, true, texts, origins, kept);
    CheckedBuild checked{compiled.outcome, {}};
    const CheckResult& found = checking.result();
    if (kept != nullptr && !lineKept) kept->keepCheck(checking.linePart());
    compiled.place(build.errors, build.errors.size());
    if (checked.outcome.status == kExitDataError) findLaterErrors(build, texts, true);
    // As compile and check say it: the record that is the cause, before the program's message.
    if (checked.outcome.stampingPlace.hasLine())
        build.errors.push_back(
            makeError(checked.outcome.stampingError, 0, checked.outcome.stampingPlace));
    sayWhatToDo(build, found);
    checked.warnings = found.warnings;
    checked.warnings.insert(checked.warnings.end(), build.warnings.begin(), build.warnings.end());
    return checked;
}

SourceCheck checkSources(std::string lineBytes, std::string trainBytes,
                         const ScenarioIdentity& names, KeptLineModel* kept) {
    ScenarioBuild build;
    build.scenarioName = names.scenarioName;
    build.trainNumber = names.trainNumber;
    CheckedBuild checked = compileChecked(build, lineBytes, trainBytes, nullptr, kept);
    SourceCheck check{names, std::move(checked.warnings)};
    for (Diagnostic& e : build.errors) check.diagnostics.push_back(std::move(e));
    if (checked.outcome.status == kExitStamping && !checked.outcome.stampingPlace.hasLine())
        check.diagnostics.push_back(makeError(checked.outcome.stampingError, 0, {}));
    return check;
}

}  // namespace scenario
