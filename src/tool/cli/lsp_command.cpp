// scenario lsp: serves one editor over standard input and output until it exits, with the live
// page of its buffers beside it when asked.
#include "tool/cli/lsp_command.h"

#include <fmt/format.h>

#include <iostream>
#include <memory>
#include <thread>

#include "base/platform.h"
#include "report/exit_status.h"
#include "tool/cli/input_options.h"
#include "tool/lsp/buffer_view.h"
#include "tool/lsp/server.h"
#include "tool/serve/preview_server.h"

namespace scenario {
namespace {

// The page's server on one thread of its own: the language server's loop waits on the editor's
// input, this one on the sockets. New data crosses over by the server's own queue.
class HostedPreview final : public LivePreview {
  public:
    explicit HostedPreview(std::uint16_t port)
        : server_(port, viewBeforeSources()), thread_([this] { server_.run(false); }) {}
    ~HostedPreview() override {
        server_.stop();
        thread_.join();
    }
    HostedPreview(const HostedPreview&) = delete;
    HostedPreview& operator=(const HostedPreview&) = delete;

    std::string url() const override { return server_.url(); }
    void show(const nlohmann::json& data) override { server_.publish(data); }
    void stop() override { server_.stop(); }

  private:
    PreviewServer server_;
    std::thread thread_;
};

}  // namespace

void declareLspOptions(CLI::App& command, LspOptions& options) {
    command.description(
        "Speaks the Language Server Protocol on standard input and output: diagnostics of\n"
        "NAME_linea.txt and NAME_NUMBER-.txt as they are edited, hover, completion, outline\n"
        "and quick fixes; with --timing, the timetable against the fastest runs. An editor\n"
        "starts it; see README for the set-up.");
    command
        .add_option("--pause", options.pauseMilliseconds,
                    "Milliseconds of quiet after a change before its diagnostics")
        ->check(CLI::Range(0, 10000));
    EditorTiming& timing = options.timing;
    command.add_flag("--timing", timing.on,
                     "Warn where the timetable is shorter than the fastest run (timetable), "
                     "with a fix, and show each stop's running time");
    addTimingFlagOptions(command, timing.stockFile, timing.margin);
    command.add_flag("--preview", options.preview,
                     "Serve the route of the file being edited as a live page on this machine, "
                     "redrawn as the buffers change, saved or not; its address is shown in the "
                     "editor");
    command
        .add_option("--port", options.previewPort,
                    "The live page's port; 0, the default, picks a free one")
        ->check(CLI::Range(0, 65535))
        ->needs("--preview");
    command.footer(
        "Exit status: 0 after the client's shutdown, 1 when it left without one, 2 when the\n"
        "live page's port is in use or cannot be had.");
}

int runLspCommand(const LspOptions& options, std::ostream& out, std::ostream& err) {
    useBinaryStandardStreams();
    std::unique_ptr<HostedPreview> preview;
    try {
        if (options.preview)
            preview =
                std::make_unique<HostedPreview>(static_cast<std::uint16_t>(options.previewPort));
    } catch (const ServeFailure& failure) {
        err << fmt::format("scenario lsp: {}\n", failure.what());
        return kExitFileFailure;
    }
    const RealDisk disk;
    return runLanguageServer(std::cin, out, disk,
                             std::chrono::milliseconds(options.pauseMilliseconds), options.timing,
                             preview.get());
}

}  // namespace scenario
