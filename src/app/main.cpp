// The scenario program: builds its one built-in scenario in its own directory.
#include <exception>
#include <iostream>

#include "app/error_report.h"
#include "app/exit_status.h"
#include "compiler/failures.h"
#include "compiler/track_model.h"
#include "output/file_store.h"
#include "output/platform.h"

int main() {
    using namespace scenario;
    startConsoleProgram();
    try {
        DirectoryStore directory(applicationDirectory());
        ScenarioBuild build(directory);
        build.Form_Load();
        return reportBuildEnd(build, build.errorFile, std::cerr);
    } catch (const BuildStopped& stop) {
        std::cerr << stop.what() << '\n';
        return kExitStamping;
    } catch (const std::exception& failure) {
        std::cerr << "Alderi_Moncasta_30752: " << failure.what() << '\n';
        return kExitFileFailure;
    }
}
