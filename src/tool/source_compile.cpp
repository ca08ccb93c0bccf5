// The compile of an author's files: read both sources, compile them under the names the compile
// step expects, report every diagnostic, summarise. The author's files are only read: the compile
// step's deletions apply to the copies in memory.
#include "tool/source_compile.h"

#include <fmt/format.h>

#include <exception>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <vector>

#include "base/file_store.h"
#include "compiler/track_model.h"
#include "output/compile_driver.h"
#include "report/diagnostic.h"
#include "report/error_meanings.h"
#include "report/exit_status.h"
#include "tool/diagnostics.h"
#include "tool/text_encoding.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;

// Sources in memory, outputs in a directory or nowhere. Nothing the compile step reads, tests or
// deletes ever reaches the directory, so a file there with a source's name is never touched.
class CompileStore : public FileStore {
  public:
    explicit CompileStore(const std::optional<std::string>& directory) {
        if (directory) directory_.emplace(*directory);
    }

    bool exists(const std::string& name) const override { return sources.exists(name); }
    std::optional<std::string> read(const std::string& name) const override {
        return sources.read(name);
    }
    void remove(const std::string& name) override { sources.remove(name); }
    void write(const std::string& name, std::string_view bytes) override {
        if (!directory_) return;
        directory_->write(name, bytes);
        written.push_back(directory_->pathOf(name).string());
    }
    void writeInPieces(const std::string& name, const FileContent& content) override {
        if (!directory_) return;
        directory_->writeInPieces(name, content);
        written.push_back(directory_->pathOf(name).string());
    }

    MemoryStore sources;
    std::vector<std::string> written;

  private:
    std::optional<DirectoryStore> directory_;
};

struct Outcome {
    int status = kExitClean;
    std::string failure;  // the message of a stamping error or a file failure
    std::int32_t stampingError = 0;
};

Outcome compile(ScenarioBuild& build, FileStore& files, const SourceCompile& request) {
    try {
        const std::optional<StampingFailure> stop =
            memorizza_percorso(build, files, request.buildPlan ? 1 : 0);
        if (stop)
            return {kExitStamping, stampingErrorText(std::to_string(stop->number)), stop->number};
    } catch (const std::exception& failure) {
        return {kExitFileFailure, failure.what()};
    }
    return {buildEndStatus(build.hasTrackCellTable(), build.errorCode), {}};
}

void report(const ScenarioBuild& build, const SourceCompile& request, const Outcome& outcome,
            const FileShown& shown, std::ostream& err) {
    for (const std::string& line : diagnosticLines(build, shown)) err << line << '\n';
    if (outcome.status == kExitStamping) err << outcome.failure << '\n';
    if (outcome.status == kExitFileFailure)
        err << fmt::format("scenario {}: {}\n", request.command, outcome.failure);
    if (outcome.status == kExitNoTrackCells) err << kNoTrackCellsNote << '\n';
}

nlohmann::json summary(const ScenarioBuild& build, const Outcome& outcome,
                       const CompileStore& store, const FileShown& shown) {
    nlohmann::json j;
    j["exitStatus"] = outcome.status;
    j["errorCode"] = build.errorCode;
    j["errorPosition"] = build.errorPosition;
    j["errorMeaning"] = build.errorCode == 0 ? "" : errorMeaning(build.errorCode);
    const Diagnostic* last = build.errors.empty() ? nullptr : &build.errors.back();
    const bool hasLine = last != nullptr && last->location.line > 0;
    j["errorFile"] = hasLine ? shown(last->location.file) : "";
    j["errorLine"] = hasLine ? last->location.line : 0;
    j["errorDetail"] = last != nullptr ? utf8FromWindows1252(last->detail) : "";
    j["failure"] = outcome.failure;
    j["files"] = store.written;
    j["errors"] = errorsJson(build, shown);
    j["warnings"] = warningsJson(build, shown);
    return j;
}

}  // namespace

int runSourceCompile(const SourceCompile& request, std::ostream& out, std::ostream& err) {
    std::error_code ec;
    if (request.outDirectory && !fs::is_directory(*request.outDirectory, ec)) {
        err << fmt::format("scenario {}: no such directory: {}\n", request.command,
                           *request.outDirectory);
        return kExitFileFailure;
    }
    const std::optional<std::string> line = readWholeFile(request.lineFile);
    const std::optional<std::string> train = readWholeFile(request.trainFile);
    for (const auto& [bytes, path] :
         {std::pair{&line, &request.lineFile}, std::pair{&train, &request.trainFile}}) {
        if (*bytes) continue;
        err << fmt::format("scenario {}: cannot read {}\n", request.command, *path);
        return kExitFileFailure;
    }

    CompileStore store(request.outDirectory);
    ScenarioBuild build;
    build.scenarioName = request.scenarioName;
    build.trainNumber = request.trainNumber;
    const ScenarioIdentity names = build.identity();
    store.sources.files[names.lineSourceFile()] = *line;
    store.sources.files[names.trainSourceFile()] = *train;
    const FileShown shown = [&](const std::string& file) {
        if (file == names.lineSourceFile()) return request.lineFile;
        if (file == names.trainSourceFile()) return request.trainFile;
        return file;
    };

    const Outcome outcome = compile(build, store, request);
    report(build, request, outcome, shown, err);
    if (request.json)
        out << summary(build, outcome, store, shown)
                   .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace)
            << '\n';
    return outcome.status;
}

SourceCheck checkSources(std::string lineBytes, std::string trainBytes,
                         const ScenarioIdentity& names) {
    CompileStore store(std::nullopt);
    ScenarioBuild build;
    build.scenarioName = names.scenarioName;
    build.trainNumber = names.trainNumber;
    store.sources.files[names.lineSourceFile()] = std::move(lineBytes);
    store.sources.files[names.trainSourceFile()] = std::move(trainBytes);
    SourceCompile request;
    const Outcome outcome = compile(build, store, request);
    SourceCheck check{names, std::move(build.warnings)};
    for (Diagnostic& e : build.errors) check.diagnostics.push_back(std::move(e));
    if (outcome.status == kExitStamping)
        check.diagnostics.push_back(makeError(outcome.stampingError, 0, {}));
    return check;
}

}  // namespace scenario
