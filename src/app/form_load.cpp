// Form_Load: the whole build of the built-in scenario, step by step, in its fixed order.
#include <iostream>

#include "compiler/track_model.h"
#include "source/builtin_tables.h"

namespace scenario {

void ScenarioBuild::Form_Load() {
    scenarioName = kBuiltinScenarioName;
    trainNumber = kBuiltinTrainNumber;
    // The wait window, as a console notice drawn before the first file is written.
    std::cerr << "Attendere" << std::endl;
    dati_linea();
    dati_treno();
    dati_note();
    dati_rallentamenti();
    dati_scheda();
    std::int32_t j = 1;
    memorizza_percorso(j);
}

}  // namespace scenario
