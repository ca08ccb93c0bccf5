// Compiles an author's line and train source files through the compile driver, over copies in
// memory, and reports what the build recorded: shared by compile and check.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/file_store.h"
#include "compiler/compile_step.h"
#include "compiler/track_model.h"
#include "report/diagnostic.h"
#include "source/file_names.h"

namespace scenario {

struct SourceCompile {
    std::string command;  // names the subcommand in messages
    std::string lineFile;
    std::string trainFile;
    std::string scenarioName;
    std::string trainNumber;
    bool buildPlan = true;
    std::optional<std::string> outDirectory;  // without one nothing is written
    bool json = false;
    std::vector<std::string> warningOptions;  // the values of -W: "error" or "no-NAME"
    bool writeOnError = false;                // write the files even after a data error
    bool alwaysWrite = false;  // replace an output even when its bytes would stay the same
    std::string inputEncoding = "windows-1252";
    // The timetable against the fastest runs (check --timing).
    bool timing = false;
    std::optional<std::string> stockFile;
    double margin = 0;  // per cent of the minimum
};

inline SourceCompile commandNamed(std::string command) {
    SourceCompile request;
    request.command = std::move(command);
    return request;
}

// Sources in memory, outputs in a directory or nowhere; the directory and its parents are made
// at the first write, so a build that writes nothing leaves no empty directory behind. Nothing the
// compile step reads, tests or deletes ever reaches the directory, so a file there with a source's
// name is never touched.
class CompileStore : public FileStore {
  public:
    explicit CompileStore(const std::optional<std::string>& directory);

    bool exists(const std::string& name) const override { return sources.exists(name); }
    std::optional<std::string> read(const std::string& name) const override {
        return sources.read(name);
    }
    void remove(const std::string& name) override { sources.remove(name); }
    void write(const std::string& name, std::string_view bytes) override;
    void writeInPieces(const std::string& name, const FileContent& content) override;

    // Asked before each write: a build that recorded an error writes nothing.
    std::function<bool()> mayWrite = [] { return true; };
    // The model stores the names as Windows-1252; the files keep them as the author gave them.
    std::function<std::string(const std::string&)> fileNameOf = [](const std::string& name) {
        return name;
    };

    // Left false, an output whose bytes would stay the same is left untouched, time included,
    // so that whatever watches the files redoes nothing.
    bool alwaysWrite = false;

    MemoryStore sources;
    std::vector<std::string> written;    // every output, written or left as it was
    std::vector<std::string> unchanged;  // those left as they were

  private:
    void makeDirectory();

    std::optional<DirectoryStore> directory_;
    std::filesystem::path directoryPath_;
    bool directoryMade_ = false;
};

struct CompileOutcome {
    int status;
    std::string failure;  // the message of a stamping error or a file failure
    std::int32_t stampingError = 0;
    Location stampingPlace = {};  // the record whose object stands where the stamp goes
};

// Runs the compile driver over the sources in `files` and says how it ended.
CompileOutcome compileBuild(ScenarioBuild& build, FileStore& files, bool buildPlan);

// The line `check` ends with after its diagnostics when the compile stopped short (a stamping
// error, a file failure, no track cell table), or empty; `command` names the subcommand.
std::string outcomeNote(const CompileOutcome& outcome, const std::string& command);

// Compiles two source texts in memory into `build`, which holds the scenario's names and which
// the caller may watch, and finds what `check` finds beside it: the errors after the first (added
// to the build's) and, in `warnings`, the checker's warnings and then the compile's.
struct CheckedBuild {
    CompileOutcome outcome;
    std::vector<Diagnostic> warnings;
};
class CellOrigins;
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

// `origins`, when given, is the watcher the compile goes through (made on `build` beforehand); it
// comes back finished, with every cell's record. `kept`, when given, is used when it holds the
// line text and refilled when it does not.
CheckedBuild compileChecked(ScenarioBuild& build, const std::string& lineBytes,
                            const std::string& trainBytes, CellOrigins* origins = nullptr,
                            KeptLineModel* kept = nullptr);

// Runs the compile and returns its exit status. Diagnostics go to `err`, the JSON summary (when
// asked for) to `out`.
int runSourceCompile(const SourceCompile& request, std::ostream& out, std::ostream& err);

// What checking two source texts in memory found, writing nothing: the checker's warnings, the
// compile's, every error as `check` lists them, then a stamping failure; with the build's file
// names (`names`).
struct SourceCheck {
    ScenarioIdentity names;
    std::vector<Diagnostic> diagnostics;
};
SourceCheck checkSources(std::string lineBytes, std::string trainBytes,
                         const ScenarioIdentity& names, KeptLineModel* kept = nullptr);

}  // namespace scenario
