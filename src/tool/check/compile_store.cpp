// The compile step's file store for an author's sources, and the compile over it.
#include "tool/check/compile_store.h"

#include <exception>

#include "base/platform.h"
#include "output/compile_driver.h"
#include "report/diagnostic.h"
#include "report/error_meanings.h"
#include "report/exit_status.h"

namespace scenario {

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
    const std::filesystem::path path = directory_->pathOf(fileNameOf(name));
    bool replaced = true;
    if (alwaysWrite)
        writeFileInPieces(path, content);
    else
        replaced = writeFileInPiecesIfChanged(path, content);
    written.push_back(textFromPath(path));
    if (!replaced) unchanged.push_back(written.back());
}

void CompileStore::holdSources(const ScenarioIdentity& names, std::string_view line,
                               std::string_view train) {
    sources.files[names.lineSourceFile()] = std::string(line);
    sources.files[names.trainSourceFile()] = std::string(train);
}

CompileOutcome compileBuild(ScenarioBuild& build, FileStore& files, bool buildPlan) {
    try {
        const std::optional<StampingFailure> stop =
            memorizza_percorso(build, files, buildPlan ? 1 : 0);
        if (stop)
            return {kExitStamping, stampingErrorText(std::to_string(stop->number)), stop->number};
    } catch (const std::exception& failure) {
        return {kExitFileFailure, failure.what()};
    }
    return {buildEndStatus(build.hasTrackCellTable(), build.errorCode), {}};
}

CompileOutcome compileInMemory(ScenarioBuild& build, std::string_view line, std::string_view train,
                               bool buildPlan) {
    CompileStore store(std::nullopt);
    store.holdSources(build.identity(), line, train);
    return compileBuild(build, store, buildPlan);
}

}  // namespace scenario
