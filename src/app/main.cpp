// The scenario program: builds its one built-in scenario in its own directory.
#include <exception>
#include <iostream>

#include "app/error_report.h"
#include "app/form_load.h"
#include "base/file_store.h"
#include "base/platform.h"
#include "report/exit_status.h"

int main() {
    using namespace scenario;
    startConsoleProgram();
    try {
        DirectoryStore directory(applicationDirectory());
        ScenarioBuild build;
        Form_Load(build, directory);
        return reportBuildEnd(build, std::cerr);
    } catch (const ProgramEnd& end) {
        std::cerr << end.message << '\n';
        return kExitStamping;
    } catch (const std::exception& failure) {
        std::cerr << "Alderi_Moncasta_30752: " << failure.what() << '\n';
        return kExitFileFailure;
    }
}
