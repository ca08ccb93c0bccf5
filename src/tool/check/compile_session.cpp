// One compile of an author's sources with the checker beside it, and the errors after the first
// found by compiling again with the records that raised them passed over.
#include "tool/check/compile_session.h"

#include <fmt/format.h>

#include <algorithm>
#include <future>
#include <memory>
#include <optional>
#include <span>
#include <system_error>
#include <utility>
#include <vector>

#include "output/compile_driver.h"
#include "report/diagnostic.h"
#include "report/error_meanings.h"
#include "report/exit_status.h"
#include "tool/check/checker.h"
#include "tool/check/error_places.h"
#include "tool/route/cell_origins.h"

namespace scenario {

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
    WatchedCompile(ScenarioBuild& build, CompileStore& files, bool buildPlan,
                   const SourceTexts& texts, CellOrigins* given = nullptr,
                   KeptLineModel* kept = nullptr)
        : texts_(texts) {
        if (given != nullptr || kept == nullptr) {
            if (given == nullptr) own_.emplace(build);
            origins_ = given != nullptr ? given : &*own_;
            outcome = compileBuild(build, files, buildPlan);
        } else if (kept->holds(texts.names, texts.line)) {
            const bool trainPassRuns = kept->model().trainPassRuns;
            const auto finish = [&] {
                resumeFrom(build, kept->model());
                return outcomeOf(build,
                                 [&] { return finishAfterLinePass(build, trainPassRuns, files); });
            };
            // The cells' records serve only to place errors: a clean compile runs unwatched, and
            // one that is not runs again, watched, on the sources its reading deleted.
            outcome = finish();
            if (outcome.status == kExitClean && build.errors.empty()) return;
            files.holdSources(texts.names, texts.line, texts.train);
            own_.emplace(kept->origins(), build);
            origins_ = &*own_;
            outcome = finish();
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
        if (origins_ == nullptr) return;  // a clean compile has no error to place
        placeErrors(std::span(errors.data(), std::min(count, errors.size())), *origins_, texts_);
    }

    CompileOutcome outcome{};

  private:
    std::optional<CellOrigins> own_;
    CellOrigins* origins_ = nullptr;
    const SourceTexts& texts_;
};

constexpr std::size_t kMostErrors = 50;
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
        store.holdSources(names, line, train);
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

}  // namespace

CompileSession compileSession(ScenarioBuild& build, const std::string& line,
                              const std::string& train, const SessionOptions& options) {
    const ScenarioIdentity names = build.identity();
    // A caller's own watcher, or outputs to write, follow the whole compile.
    KeptLineModel* const kept =
        options.origins == nullptr && options.store == nullptr ? options.kept : nullptr;
    const bool lineKept = kept != nullptr && kept->holds(names, line) && kept->check();
    // With the line text's part kept, the checker needs no copy of the line text.
    BackgroundCheck checking({names.lineSourceFile(), lineKept ? std::string() : line},
                             {names.trainSourceFile(), train}, lineKept ? kept->check() : nullptr);
    std::optional<CompileStore> ownStore;
    CompileStore* store = options.store;
    if (store == nullptr) {
        store = &ownStore.emplace(std::nullopt);
        store->holdSources(names, line, train);
    }
    const auto wanted = [&](const Diagnostic& w) { return !options.wanted || options.wanted(w); };
    const auto stops = [&](const std::vector<Diagnostic>& list) {
        return options.warningsAsErrors && std::any_of(list.begin(), list.end(), wanted);
    };
    store->mayWrite = [&] {
        if (options.writeOnError) return true;
        return build.errorCode == 0 && !stops(checking.result().warnings) && !stops(build.warnings);
    };

    const SourceTexts texts{names, line, train};
    WatchedCompile compiled(build, *store, options.buildPlan, texts, options.origins, kept);
    store->mayWrite = [] { return true; };
    CompileSession session{compiled.outcome, {}, build.errors.size()};
    const CheckResult& check = checking.result();
    if (kept != nullptr && !lineKept) kept->keepCheck(checking.linePart());
    const auto keepWanted = [&](const std::vector<Diagnostic>& list) {
        for (const Diagnostic& w : list)
            if (wanted(w)) session.warnings.push_back(w);
    };
    keepWanted(check.warnings);
    keepWanted(build.warnings);
    if (options.afterCleanCompile && session.outcome.status == kExitClean)
        keepWanted(options.afterCleanCompile());
    compiled.place(build.errors, session.compiledErrors);
    if (session.outcome.status == kExitDataError) findLaterErrors(build, texts, options.buildPlan);
    // The program's own message follows; this line says which record is the cause.
    if (session.outcome.stampingPlace.hasLine())
        build.errors.push_back(
            makeError(session.outcome.stampingError, 0, session.outcome.stampingPlace));
    for (Diagnostic& e : build.errors)
        sayWhatToDo(e, {check.signRecords, check.stationRecords, check.filesLookSwapped});
    if (session.outcome.status == kExitClean && options.warningsAsErrors &&
        !session.warnings.empty())
        session.outcome.status = kExitDataError;
    return session;
}

std::string outcomeNote(const CompileOutcome& outcome, const std::string& command) {
    if (outcome.status == kExitStamping) return outcome.failure;
    if (outcome.status == kExitFileFailure)
        return fmt::format("scenario {}: {}", command, outcome.failure);
    if (outcome.status == kExitNoTrackCells) return std::string(kNoTrackCellsNote);
    return {};
}

SourceCheck checkSources(const std::string& lineBytes, const std::string& trainBytes,
                         const ScenarioIdentity& names, BuildWatch* watch, KeptLineModel* kept) {
    ScenarioBuild build;
    build.scenarioName = names.scenarioName;
    build.trainNumber = names.trainNumber;
    // A watch stands in front of the origins, which tell no watcher behind them.
    std::optional<CellOrigins> origins;
    SessionOptions options;
    if (watch != nullptr) {
        origins.emplace(build);
        watch->starts(build);
        options.origins = &*origins;
    }
    options.kept = kept;
    CompileSession session = compileSession(build, lineBytes, trainBytes, options);
    if (watch != nullptr) watch->ends(build, session.outcome, session.warnings);
    SourceCheck check{names, std::move(session.warnings)};
    for (Diagnostic& e : build.errors) check.diagnostics.push_back(std::move(e));
    if (session.outcome.status == kExitStamping && !session.outcome.stampingPlace.hasLine())
        check.diagnostics.push_back(makeError(session.outcome.stampingError, 0, {}));
    return check;
}

}  // namespace scenario
