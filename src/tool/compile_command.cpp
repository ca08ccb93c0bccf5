// scenario compile: reads the two source files into memory under the names the compile step
// expects, runs the compile driver over them and writes its files into the output directory.
// The author's files are only read: the compile step's deletions apply to the copies in memory.
#include "tool/compile_command.h"

#include <CLI/CLI.hpp>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <optional>
#include <vector>

#include "app/error_messages.h"
#include "app/error_report.h"
#include "app/exit_status.h"
#include "compiler/failures.h"
#include "compiler/track_model.h"
#include "output/file_store.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;

// Sources in memory, outputs in a directory. Nothing the compile step reads, tests or deletes
// ever reaches the directory, so a file there with a source's name is never touched.
class CompileStore : public FileStore {
  public:
    explicit CompileStore(fs::path directory) : directory_(std::move(directory)) {}

    bool exists(const std::string& name) const override { return sources.exists(name); }
    std::optional<std::string> read(const std::string& name) const override {
        return sources.read(name);
    }
    void remove(const std::string& name) override { sources.remove(name); }
    void write(const std::string& name, std::string_view bytes) override {
        directory_.write(name, bytes);
        written.push_back(directory_.pathOf(name).string());
    }
    void writeInPieces(const std::string& name, const FileContent& content) override {
        directory_.writeInPieces(name, content);
        written.push_back(directory_.pathOf(name).string());
    }

    MemoryStore sources;
    std::vector<std::string> written;

  private:
    DirectoryStore directory_;
};

std::optional<std::string> readWholeFile(const std::string& path) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return bytes;
}

int cannotRead(const std::string& path, std::ostream& err) {
    err << "scenario compile: cannot read " << path << '\n';
    return kExitFileFailure;
}

// A name goes into file names: it must not lead out of the output directory.
bool usableInFileName(const std::string& text) {
    return text.find('/') == std::string::npos && text.find('\0') == std::string::npos;
}

struct CompileResult {
    int status = kExitClean;
    std::string failure;  // the message of a stamping error or a file failure
};

// The author's path for the source file that the build names in its diagnostics.
std::string shownFile(const ScenarioBuild& build, const CompileOptions& options) {
    const ScenarioIdentity names = build.identity();
    if (build.errorFile == names.lineSourceFile()) return options.lineFile;
    if (build.errorFile == names.trainSourceFile()) return options.trainFile;
    return build.errorFile;
}

CompileResult compile(ScenarioBuild& build, const CompileOptions& options, std::ostream& err) {
    std::int32_t j = options.noPlan ? 0 : 1;
    try {
        build.memorizza_percorso(j);
    } catch (const BuildStopped& stop) {
        err << stop.what() << '\n';
        return {kExitStamping, stop.what()};
    } catch (const std::exception& failure) {
        err << "scenario compile: " << failure.what() << '\n';
        return {kExitFileFailure, failure.what()};
    }
    return {reportBuildEnd(build, shownFile(build, options), err), {}};
}

nlohmann::json summary(const ScenarioBuild& build, const CompileOptions& options,
                       const CompileStore& store, const CompileResult& result) {
    nlohmann::json j;
    j["exitStatus"] = result.status;
    j["errorCode"] = build.errorCode;
    j["errorPosition"] = build.errorPosition;
    j["errorMeaning"] = build.errorCode == 0 ? "" : errorMeaning(build.errorCode);
    j["errorFile"] = build.errorLine > 0 ? shownFile(build, options) : "";
    j["errorLine"] = build.errorLine;
    j["errorDetail"] = build.failureReason;
    j["failure"] = result.failure;
    j["files"] = store.written;
    j["warnings"] = nlohmann::json::array();
    for (const SourceWarning& w : build.sourceWarnings) {
        const std::string file =
            w.file == build.identity().lineSourceFile() ? options.lineFile : options.trainFile;
        j["warnings"].push_back({{"file", file}, {"line", w.line}, {"message", w.message}});
    }
    return j;
}

}  // namespace

CLI::App* addCompileCommand(CLI::App& app, CompileOptions& options) {
    CLI::App* command = app.add_subcommand(
        "compile", "Compile a line and a train source file into the simulator's files");
    command->add_option("LINE_FILE", options.lineFile, "Line source file")->required();
    command->add_option("TRAIN_FILE", options.trainFile, "Train source file")->required();
    command->add_option("--name", options.scenarioName, "Scenario name")->required();
    command->add_option("--train", options.trainNumber, "Train number")->required();
    command->add_option("--out", options.outDirectory, "Directory for the output files");
    command->add_flag("--no-plan", options.noPlan, "Do not write the line data file");
    command->add_flag("--json", options.json, "Print a JSON summary on standard output");
    return command;
}

int runCompileCommand(const CompileOptions& options, std::ostream& out, std::ostream& err) {
    if (!usableInFileName(options.scenarioName) || !usableInFileName(options.trainNumber)) {
        err << "scenario compile: --name and --train must not contain '/'\n";
        return kExitFileFailure;
    }
    std::error_code ec;
    if (!fs::is_directory(options.outDirectory, ec)) {
        err << "scenario compile: no such directory: " << options.outDirectory << '\n';
        return kExitFileFailure;
    }
    const std::optional<std::string> line = readWholeFile(options.lineFile);
    if (!line) return cannotRead(options.lineFile, err);
    const std::optional<std::string> train = readWholeFile(options.trainFile);
    if (!train) return cannotRead(options.trainFile, err);

    CompileStore store(options.outDirectory);
    ScenarioBuild build(store);
    build.scenarioName = options.scenarioName;
    build.trainNumber = options.trainNumber;
    store.sources.files[build.identity().lineSourceFile()] = *line;
    store.sources.files[build.identity().trainSourceFile()] = *train;

    const CompileResult result = compile(build, options, err);
    if (options.json)
        out << summary(build, options, store, result)
                   .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace)
            << '\n';
    return result.status;
}

}  // namespace scenario
