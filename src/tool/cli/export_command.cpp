// scenario export: the scenario program's own writers over the chosen directory, under the
// built-in identity, so the files are byte for byte the program's.
#include "tool/cli/export_command.h"

#include <fmt/format.h>

#include <exception>
#include <filesystem>
#include <vector>

#include "base/file_store.h"
#include "base/platform.h"
#include "report/exit_status.h"
#include "source/builtin_tables.h"
#include "source/source_writers.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> exportedFiles(const ScenarioIdentity& names) {
    return {names.lineSourceFile(), names.trainSourceFile(), names.notesFile(),
            names.slowOrderNoticeFile(), names.trainCardFile()};
}

// An author's edited copy must not be lost to a second export by mistake.
std::string firstExisting(const DirectoryStore& directory, const std::vector<std::string>& files) {
    std::error_code ec;
    for (const std::string& file : files)
        if (fs::exists(directory.pathOf(file), ec)) return file;
    return {};
}

// In the order of the build: sources, then notes, slow-order notice and train card.
void writeAll(FileStore& files, const ScenarioIdentity& names) {
    dati_linea(files, names);
    dati_treno(files, names);
    dati_note(files, names);
    dati_rallentamenti(files, names);
    dati_scheda(files, names);
}

}  // namespace

void declareExportOptions(CLI::App& command, ExportOptions& options) {
    command.description(
        "Writes the built-in scenario's line source file, train source file and three crew\n"
        "documents into DIR (created if missing), byte for byte as the scenario program writes\n"
        "them: a working example to edit and compile. Existing files are kept unless --force.");
    command.add_option("--out", options.outDirectory, "Directory for the files")
        ->capture_default_str();
    command.add_flag("--force", options.force, "Replace files that already exist");
    command.footer("Exit status: 0 written, 2 a file exists or cannot be written.");
}

int runExportCommand(const ExportOptions& options, std::ostream& out, std::ostream& err) {
    const fs::path directory = pathFromText(options.outDirectory);
    DirectoryStore store(directory);
    const ScenarioIdentity names{kBuiltinScenarioName, kBuiltinTrainNumber};
    const std::vector<std::string> files = exportedFiles(names);
    const std::string existing = options.force ? std::string() : firstExisting(store, files);
    if (!existing.empty()) {
        err << fmt::format("scenario export: {} exists; use --force to replace it\n",
                           textFromPath(store.pathOf(existing)));
        return kExitFileFailure;
    }
    try {
        createDirectories(directory);
        writeAll(store, names);
    } catch (const std::exception& failure) {
        err << fmt::format("scenario export: {}\n", failure.what());
        return kExitFileFailure;
    }
    for (const std::string& file : files) out << textFromPath(store.pathOf(file)) << '\n';
    return kExitClean;
}

}  // namespace scenario
