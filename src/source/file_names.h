// The names of a build's files, made from the scenario name and the train number.
#pragma once

#include <string>

namespace scenario {

struct ScenarioIdentity {
    std::string scenarioName;
    std::string trainNumber;

    std::string lineSourceFile() const { return scenarioName + "_linea.txt"; }
    std::string trainSourceFile() const { return scenarioName + "_" + trainNumber + "-.txt"; }
    std::string trainCardFile() const { return trainStem() + "_scheda_treno.txt"; }
    std::string slowOrderNoticeFile() const { return trainStem() + "_rallentamenti.txt"; }
    std::string notesFile() const { return trainStem() + "_note.txt"; }
    std::string lineDataFile() const { return scenarioName + "_linea.dat"; }
    std::string stationTableFile() const { return trainStem() + ".sim"; }
    std::string trackCellFile() const { return trainStem() + ".dat"; }

  private:
    std::string trainStem() const { return scenarioName + "_" + trainNumber; }
};

}  // namespace scenario
