// memorizza_dati: the line pass, then the train pass, under the one error trap of the compile step.
#include "compiler/compile_step.h"

#include <utility>

#include "base/failures.h"
#include "compiler/line_pass.h"
#include "compiler/source_input.h"
#include "compiler/train_pass.h"

namespace scenario {

void startBuild(ScenarioBuild& build, std::int32_t j) {
    ScenarioBuild fresh;
    fresh.scenarioName = std::move(build.scenarioName);
    fresh.trainNumber = std::move(build.trainNumber);
    fresh.buildLinePlan = j;
    // Where the driver's loop that clears the station table leaves the shared cursor.
    fresh.cursor = kStationTableSize;
    // The watcher is the caller's, not part of the build's state.
    fresh.cellWatcher = build.cellWatcher;
    build = std::move(fresh);
}

void memorizza_dati(ScenarioBuild& build, FileStore& files) {
    if (readLineSource(build, files)) readTrainSource(build, files);
}

bool readLineSource(ScenarioBuild& build, FileStore& files) {
    build.signSlot = kFirstSignSlot;
    build.gradientCursor = 0;
    build.currentGradient = 0;
    build.planCursor = 2;
    build.stationCounter = 1;
    build.speedCursor = 0;
    build.adhesionCursor = 0;
    build.currentSpeed = 0;
    build.currentAdhesion = 0;
    SourceInput in(build, files);
    bool trainPassRuns = false;
    underErrorTrap(build, in, [&] {
        build.scenarioEntry().name = build.scenarioName;
        build.trainEntry().name = build.trainNumber;
        build.lowStepMetre = 0;
        trainPassRuns = linePass(build, in);
        in.close();
    });
    return trainPassRuns;
}

// A reader of its own: the line pass closed its file, and opening the next one forgets the
// record read before.
void readTrainSource(ScenarioBuild& build, FileStore& files) {
    SourceInput in(build, files);
    underErrorTrap(build, in, [&] {
        trainPass(build, in);
        in.close();
    });
}

void resumeFrom(ScenarioBuild& build, const LineModel& model) {
    CellWatcher* const watcher = build.cellWatcher;
    build = model.build;
    build.cellWatcher = watcher;
}

void underErrorTrap(ScenarioBuild& build, SourceInput& in, const std::function<void()>& read) {
    try {
        read();
    } catch (const RunTimeFailure& failure) {
        in.recordFailure(failure.what());
        in.close();
        const ScenarioIdentity names = build.identity();
        FileStore& files = in.files();
        if (files.exists(names.lineSourceFile())) files.remove(names.lineSourceFile());
        if (files.exists(names.trainSourceFile())) files.remove(names.trainSourceFile());
    }
}

}  // namespace scenario
