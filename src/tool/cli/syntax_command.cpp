// scenario syntax: each generated highlighting file written whole under the output folder.
#include "tool/cli/syntax_command.h"

#include <exception>
#include <filesystem>

#include "base/file_store.h"
#include "base/platform.h"
#include "report/exit_status.h"
#include "tool/reference/editor_syntax.h"

namespace scenario {

void declareSyntaxOptions(CLI::App& command, SyntaxOptions& options) {
    command.description(
        "Writes a TextMate grammar and a Vim syntax file for *_linea.txt and *-.txt, and the\n"
        "Vim rule that detects them, generated from the record tables.");
    command.add_option("--out", options.outDirectory, "Folder to write into (default editors)");
    command.footer("Exit status: 0 written, 2 a file could not be written.");
}

int runSyntaxCommand(const SyntaxOptions& options, std::ostream& out, std::ostream& err) {
    namespace fs = std::filesystem;
    try {
        for (const GeneratedFile& file : editorSyntaxFiles()) {
            const fs::path path = pathFromText(options.outDirectory) / file.path;
            createDirectories(path.parent_path());
            writeWholeFile(path, file.text);
            out << textFromPath(path) << '\n';
        }
    } catch (const std::exception& failure) {
        err << "scenario syntax: " << failure.what() << '\n';
        return kExitFileFailure;
    }
    return kExitClean;
}

}  // namespace scenario
