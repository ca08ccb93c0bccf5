// memorizza_dati: the line pass, then the train pass, under the one error trap of the compile step.
#include "compiler/failures.h"
#include "compiler/track_model.h"
#include "output/file_store.h"

namespace scenario {

void ScenarioBuild::memorizza_dati() {
    signSlot = kFirstSignSlot;
    gradientCursor = 0;
    currentGradient = 0;
    planCursor = 2;
    stationCounter = 1;
    speedCursor = 0;
    adhesionCursor = 0;
    currentSpeed = 0;
    currentAdhesion = 0;
    try {
        stationTable[85].name = scenarioName;
        stationTable[86].name = trainNumber;
        lowStepMetre = 0;
        if (!linePass()) {
            closeSource();
            return;
        }
        trainPass();
        closeSource();
    } catch (const RunTimeFailure& failure) {
        // The trap: close, delete both sources where they still exist, error 25, position kept.
        recordFailure(failure.what());
        closeSource();
        const ScenarioIdentity names = identity();
        if (files().exists(names.lineSourceFile())) files().remove(names.lineSourceFile());
        if (files().exists(names.trainSourceFile())) files().remove(names.trainSourceFile());
    }
}

}  // namespace scenario
