// One compile of an author's line and train source texts: the checker beside it, the compile,
// the errors after the first, and what the author is told. A value: it prints nothing.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/compile_step.h"
#include "compiler/track_model.h"
#include "report/diagnostic.h"
#include "source/file_names.h"
#include "tool/check/compile_store.h"

namespace scenario {

class CellOrigins;
class KeptLineModel;

struct SessionOptions {
    bool buildPlan = true;
    // Where the outputs go, with the sources already held; none: the texts are compiled in
    // memory and nothing is written.
    CompileStore* store = nullptr;
    // The watcher the compile goes through, made on the build beforehand; it comes back
    // finished, with every cell's record. None: the session watches on its own.
    CellOrigins* origins = nullptr;
    // Which warnings the author keeps; all when empty.
    std::function<bool(const Diagnostic&)> wanted;
    // A kept warning then stops the writes and ends a clean compile as a data error.
    bool warningsAsErrors = false;
    bool writeOnError = false;  // write the files even after a data error
    // Warnings that need the finished build (the timetable's), asked for after a clean compile.
    std::function<std::vector<Diagnostic>()> afterCleanCompile;
    // The line model a long-lived process keeps between compiles in memory: used when it holds
    // the line text, refilled when it does not. Not with `store` or `origins`.
    KeptLineModel* kept = nullptr;
};

struct CompileSession {
    CompileOutcome outcome;
    // The kept warnings: the checker's, then the compile's, then those after a clean compile.
    std::vector<Diagnostic> warnings;
    // The first this many of the build's errors are the compile's own; the errors found after
    // them, and the record that holds a stamp's place, follow.
    std::size_t compiledErrors = 0;
};

// Compiles `line` and `train` (Windows-1252) into `build`, which holds the scenario's names and
// which the caller may watch; the errors are added to the build's, placed on their records, and
// say what to do.
CompileSession compileSession(ScenarioBuild& build, const std::string& line,
                              const std::string& train, const SessionOptions& options = {});

// The line `check` ends with after its diagnostics when the compile stopped short (a stamping
// error, a file failure, no track cell table), or empty; `command` names the subcommand.
std::string outcomeNote(const CompileOutcome& outcome, const std::string& command);

struct LineTextCheck;

// What a long-lived process (an editor's server, a live preview) keeps of the last line text it
// compiled: the build after the line pass, the records of its cells and the checker's reading of
// it. While the line text stays the same, a compile runs only the passes after the line pass, on
// a copy, and the checker reads only the train text.
class KeptLineModel {
  public:
    KeptLineModel();
    ~KeptLineModel();
    KeptLineModel(const KeptLineModel&) = delete;
    KeptLineModel& operator=(const KeptLineModel&) = delete;

    bool holds(const ScenarioIdentity& names, std::string_view lineBytes) const;
    // Keeps `build` just after its line pass, with its watcher's records and the checker's part.
    void keep(const ScenarioIdentity& names, std::string_view lineBytes, const ScenarioBuild& build,
              bool trainPassRuns, const CellOrigins& origins);
    void keepCheck(std::shared_ptr<const LineTextCheck> check) { check_ = std::move(check); }
    void forget();

    const LineModel& model() const { return model_; }
    const CellOrigins& origins() const { return *origins_; }
    const std::shared_ptr<const LineTextCheck>& check() const { return check_; }

  private:
    ScenarioIdentity names_;
    std::string lineBytes_;
    bool held_ = false;
    LineModel model_;
    std::unique_ptr<CellOrigins> origins_;  // watches model_.build: declared after it
    std::shared_ptr<const LineTextCheck> check_;
};

// What checking two source texts in memory found, writing nothing: the checker's warnings, the
// compile's, every error as `check` lists them, then a stamping failure; with the build's file
// names (`names`).
struct SourceCheck {
    ScenarioIdentity names;
    std::vector<Diagnostic> diagnostics;
};
// Told of a check's build around its compile, to watch it and add warnings of its own.
class BuildWatch {
  public:
    virtual ~BuildWatch() = default;
    virtual void starts(ScenarioBuild& build) = 0;
    virtual void ends(const ScenarioBuild& build, const CompileOutcome& outcome,
                      std::vector<Diagnostic>& warnings) = 0;
};
SourceCheck checkSources(const std::string& lineBytes, const std::string& trainBytes,
                         const ScenarioIdentity& names, BuildWatch* watch = nullptr,
                         KeptLineModel* kept = nullptr);

}  // namespace scenario
