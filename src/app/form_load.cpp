// Form_Load: the whole build of the built-in scenario, step by step, in its fixed order.
#include "app/form_load.h"

#include <iostream>
#include <optional>

#include "output/compile_driver.h"
#include "source/builtin_tables.h"
#include "source/source_writers.h"

namespace scenario {

void Form_Load(ScenarioBuild& build, FileStore& files) {
    build.scenarioName = kBuiltinScenarioName;
    build.trainNumber = kBuiltinTrainNumber;
    // The wait window, as a console notice drawn before the first file is written.
    std::cerr << "Attendere" << std::endl;
    const ScenarioIdentity names = build.identity();
    dati_linea(files, names);
    dati_treno(files, names);
    dati_note(files, names);
    dati_rallentamenti(files, names);
    dati_scheda(files, names);
    const std::optional<StampingFailure> failure = memorizza_percorso(build, files, 1);
    if (failure) errore(build, std::to_string(failure->number));
}

}  // namespace scenario
