// memorizza_percorso: starts the build from a value, compiles both sources, completes, stamps and
// writes.
#include "output/compile_driver.h"

#include "compiler/compile_step.h"
#include "compiler/signal_spacing.h"
#include "output/binary_files.h"

namespace scenario {

std::optional<StampingFailure> memorizza_percorso(ScenarioBuild& build, FileStore& files,
                                                  std::int32_t j) {
    return finishAfterLinePass(build, startWithLinePass(build, files, j), files);
}

bool startWithLinePass(ScenarioBuild& build, FileStore& files, std::int32_t j) {
    startBuild(build, j);
    return readLineSource(build, files);
}

std::optional<StampingFailure> finishAfterLinePass(ScenarioBuild& build, bool trainPassRuns,
                                                   FileStore& files) {
    if (trainPassRuns) readTrainSource(build, files);
    if (!build.hasTrackCellTable()) return std::nullopt;
    signalSpacingPass(build);
    if (std::optional<StampingFailure> failure = stampScenario(build)) return failure;
    writeScenarioFiles(build, files);
    return std::nullopt;
}

}  // namespace scenario
