// errore: the build's own numbered message, which ends the build.
#include "compiler/failures.h"
#include "compiler/track_model.h"

namespace scenario {

void ScenarioBuild::errore(const std::string& a) {
    throw BuildStopped(std::stoi(a), " Errore n. " + a);
}

}  // namespace scenario
