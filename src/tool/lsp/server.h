// The language server: LSP requests and notifications turned into calls of the editor features
// over a workspace of source files, their answers turned back into LSP, and diagnostics published
// after a pause in the typing.
#pragma once

#include <chrono>
#include <functional>
#include <istream>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "report/diagnostic.h"
#include "tool/editor/timing_hints.h"
#include "tool/editor/workspace.h"
#include "tool/lsp/framing.h"
#include "tool/lsp/json_rpc.h"

namespace scenario {

using ServerClock = std::chrono::steady_clock;

inline constexpr std::chrono::milliseconds kDiagnosticsPause{200};

// The live page a language server may host: it is told the data of the buffers as they change.
class LivePreview {
  public:
    virtual ~LivePreview() = default;
    virtual std::string url() const = 0;
    // The data the page shows from now on.
    virtual void show(const nlohmann::json& data) = 0;
    // Closes the page's connections; called on the client's shutdown.
    virtual void stop() = 0;
};

class LanguageServer {
  public:
    using Send = std::function<void(const nlohmann::json& message)>;

    LanguageServer(const SourceDisk& disk, Send send, std::chrono::milliseconds pause,
                   EditorTiming timing = {}, LivePreview* preview = nullptr);

    // Handles one frame from the client; what it answers goes to `send`.
    void receive(const Frame& frame);
    // When the next check is due, if one waits.
    std::optional<ServerClock::time_point> nextCheck() const;
    // Runs the checks due by `now` and publishes their diagnostics.
    void runChecksDue(ServerClock::time_point now);

    bool exited() const { return exited_; }
    // 0 after a shutdown request, 1 when the client left without one.
    int exitStatus() const { return shutDown_ ? 0 : 1; }

  private:
    void registerHandlers();
    void schedule(const std::string& path, ServerClock::time_point due);
    std::string uriOf(const std::string& path) const;
    std::string openPath(const nlohmann::json& params, std::string text);
    nlohmann::json diagnosticJson(const Diagnostic& d) const;
    nlohmann::json hover(const nlohmann::json& params) const;
    nlohmann::json completion(const nlohmann::json& params) const;
    nlohmann::json documentSymbols(const nlohmann::json& params) const;
    nlohmann::json codeActions(const nlohmann::json& params) const;
    nlohmann::json inlayHints(const nlohmann::json& params) const;
    std::vector<FileDiagnostics> checkTimed(const std::string& path);
    void announcePreview();

    SourceWorkspace workspace_;
    Send send_;
    std::chrono::milliseconds pause_;
    RpcDispatcher dispatcher_;
    std::map<std::string, std::string> uris_;                   // path to the client's URI
    std::map<std::string, ServerClock::time_point> due_;        // paths waiting for a check
    std::map<std::string, std::vector<Diagnostic>> published_;  // by path, for the code actions
    bool initialized_ = false;
    bool shutDown_ = false;
    bool exited_ = false;
    bool snippets_ = false;
    EditorTiming timing_;
    std::map<std::string, TimedStops> timed_;  // by train file, from its last check
    bool inlayHints_ = false;                  // the client shows them, and timing is on
    bool hintRefresh_ = false;                 // the client takes a refresh request
    int requests_ = 0;                         // the server's own requests
    std::string stockError_;                   // the last one shown
    bool traced_ = false;  // the client's trace is on: each check's time goes to it
    LivePreview* preview_ = nullptr;
    bool opensDocuments_ = false;  // the client takes window/showDocument
    std::string previewed_;        // the line or train file last edited, shown on the page
};

// Serves a client over a byte stream until it exits or the input ends; returns the exit status.
int runLanguageServer(std::istream& in, std::ostream& out, const SourceDisk& disk,
                      std::chrono::milliseconds pause = kDiagnosticsPause,
                      const EditorTiming& timing = {}, LivePreview* preview = nullptr);

}  // namespace scenario
