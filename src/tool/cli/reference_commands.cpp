// scenario explain N|NAME prints one explanation; scenario doc writes docs/format.md and
// docs/errors.md.
#include "tool/cli/reference_commands.h"

#include <fmt/format.h>

#include <exception>
#include <filesystem>

#include "base/file_store.h"
#include "base/platform.h"
#include "report/exit_status.h"
#include "tool/reference/reference_docs.h"
#include "tool/timing/timing_document.h"

namespace scenario {

void declareExplainOptions(CLI::App& command, ExplainOptions& options) {
    command.add_option("WHAT", options.what, "An error number (25) or a warning's name")
        ->required();
    command.footer("Exit status: 0, or 2 when no error or warning has that number or name.");
}

int runExplainCommand(const ExplainOptions& options, std::ostream& out, std::ostream& err) {
    const Explanation* e = findExplanation(options.what);
    if (e == nullptr) {
        err << fmt::format("scenario explain: no error or warning is named {}\n", options.what);
        return kExitFileFailure;
    }
    out << explanationText(*e);
    return kExitClean;
}

void declareDocOptions(CLI::App& command, DocOptions& options) {
    command
        .add_option("--out", options.outDirectory, "Directory for the documents, made if missing")
        ->capture_default_str();
    command.footer("Exit status: 0, or 2 when a document cannot be written.");
}

int runDocCommand(const DocOptions& options, std::ostream& out, std::ostream& err) {
    const std::filesystem::path folder = pathFromText(options.outDirectory);
    try {
        createDirectories(folder);
        DirectoryStore docs(folder);
        docs.write("format.md", formatDocument());
        docs.write("errors.md", errorsDocument());
        docs.write("timing.md", timing::timingDocument());
        out << textFromPath(docs.pathOf("format.md")) << '\n'
            << textFromPath(docs.pathOf("errors.md")) << '\n'
            << textFromPath(docs.pathOf("timing.md")) << '\n';
    } catch (const std::exception& failure) {
        err << "scenario doc: " << failure.what() << '\n';
        return kExitFileFailure;
    }
    return kExitClean;
}

}  // namespace scenario
