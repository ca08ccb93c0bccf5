// scenario serve: compile, start the server, say its address, then follow the files until Ctrl-C.
#include "tool/cli/serve_command.h"

#include <fmt/format.h>

#include <chrono>

#include "base/file_store.h"
#include "base/platform.h"
#include "report/exit_status.h"
#include "tool/cli/input_options.h"
#include "tool/serve/preview_server.h"
#include "tool/serve/source_watch.h"

namespace scenario {

void declareServeOptions(CLI::App& command, ServeOptions& options) {
    command.description(
        "Compiles the line and the train source file in memory, as view does, and serves the\n"
        "route's page on this machine only (127.0.0.1 and ::1), at an address with a random\n"
        "token, printed as the first line. Every change to the files is compiled again and\n"
        "sent to the open pages, which keep their stretch, hover, search and scroll. Stop it\n"
        "with Ctrl-C.");
    command.add_option("INPUT", options.inputs, "LINE_FILE TRAIN_FILE")->required()->expected(2);
    addStockOption(command, options.stockFile, "A stock file to watch with the sources");
    command.add_option("--port", options.port, "The port to listen on; 0 picks a free one")
        ->capture_default_str();
    command.add_flag("--open", options.open, "Open the page in the default browser");
    command.footer(
        "Exit status: 0 stopped by Ctrl-C; 2 a file cannot be read at the start, the port is\n"
        "in use or cannot be had, or a usage error.");
}

int runServeCommand(const ServeOptions& options, std::ostream& out, std::ostream& err) {
    const WatchedSources sources{options.inputs[0], options.inputs[1], options.stockFile};
    for (const std::string& file : {sources.lineFile, sources.trainFile, sources.stockFile}) {
        if (file.empty() || readWholeFile(pathFromText(file))) continue;
        err << fmt::format("scenario serve: cannot read {}\n", file);
        return kExitFileFailure;
    }
    const CurrentView first = currentViewData(sources, nullptr);
    if (!first.data) {
        err << "scenario serve: the sources went away as they were read\n";
        return kExitFileFailure;
    }
    std::unique_ptr<PreviewServer> server;
    try {
        server = std::make_unique<PreviewServer>(options.port, *first.data);
    } catch (const ServeFailure& failure) {
        err << fmt::format("scenario serve: {}\n", failure.what());
        return kExitFileFailure;
    }
    // The first line, at once: scripts and editors wait for it.
    out << server->url() << std::endl;
    if (options.open) openInBrowser(server->url());
    {
        SourceWatch watch(
            sources, *first.data,
            [&](const nlohmann::json& data, std::chrono::steady_clock::time_point seen) {
                server->publish(data);
                const std::chrono::duration<double, std::milli> took =
                    std::chrono::steady_clock::now() - seen;
                err << fmt::format(
                           "scenario serve: sent the new data, {} ms after "
                           "the change\n",
                           static_cast<long>(took.count() + 0.5))
                    << std::flush;
            });
        server->run(true);
    }
    return kExitClean;
}

}  // namespace scenario
