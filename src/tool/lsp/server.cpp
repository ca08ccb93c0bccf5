// The LSP methods the server answers, each a short translation between JSON and a feature, and
// the loop that reads the client's messages on one thread and answers them on another.
#include "tool/lsp/server.h"

#include <condition_variable>
#include <deque>
#include <filesystem>
#include <iostream>
#include <memory>
#include <mutex>
#include <thread>

#include "base/text_encoding.h"
#include "tool/check/diagnostics.h"
#include "tool/check/source_lines.h"
#include "tool/editor/assist.h"
#include "tool/lsp/buffer_view.h"
#include "tool/lsp/conversions.h"

namespace scenario {
namespace {

using nlohmann::json;

constexpr int kFullSync = 1;
constexpr int kSeverityError = 1;
constexpr int kSeverityWarning = 2;
constexpr int kKeywordItem = 14;
constexpr int kModuleItem = 9;
constexpr int kSnippetFormat = 2;
constexpr int kPlainFormat = 1;
constexpr int kMessageError = 1;
constexpr int kMessageInfo = 3;
constexpr const char* kPreviewCommand = "scenario.preview";

std::string pathOfUri(const std::string& uri) {
    return pathFromUri(uri).value_or(uri);
}

std::string uriParam(const json& params) {
    return params.at("textDocument").at("uri").get<std::string>();
}

json positionJson(std::int32_t line, std::int32_t character) {
    return {{"line", line}, {"character", character}};
}

json rangeJson(const TextSpot& start, const TextSpot& end) {
    return {{"start", positionJson(start.line, start.first)},
            {"end", positionJson(end.line, end.last)}};
}

json rangeJson(const TextSpot& spot) {
    return rangeJson(spot, spot);
}

int symbolKind(OutlineKind kind) {
    switch (kind) {
        case OutlineKind::Section:
            return 3;  // Namespace
        case OutlineKind::Station:
            return 14;  // Constant
        case OutlineKind::Signal:
            return 24;  // Event
        case OutlineKind::Tunnel:
            return 19;  // Object
    }
    return 3;
}

json symbolJson(const OutlineEntry& entry) {
    json children = json::array();
    for (const OutlineEntry& child : entry.children) children.push_back(symbolJson(child));
    const std::string name = utf8FromWindows1252(entry.name);
    return {
        {"name", name.empty() ? "?" : name},        {"detail", utf8FromWindows1252(entry.detail)},
        {"kind", symbolKind(entry.kind)},           {"range", rangeJson(entry.start, entry.end)},
        {"selectionRange", rangeJson(entry.start)}, {"children", std::move(children)}};
}

// The client's trace setting ("off", "messages" or "verbose") under `key`; absent is off.
bool traceIsOn(const json& params, const char* key) {
    if (!params.is_object()) return false;
    const auto it = params.find(key);
    return it != params.end() && it->is_string() && it->get_ref<const std::string&>() != "off";
}

// Where a diagnostic stands: its field's columns, or its whole line when they are not known.
TextSpot spotOf(const Location& at, const std::string* text) {
    if (at.line < 1) return {};
    const std::int32_t line = at.line - 1;
    if (at.firstColumn > 0)
        return {line, at.firstColumn - 1, std::max(at.lastColumn, at.firstColumn)};
    std::int32_t length = 0;
    if (text != nullptr) {
        const std::vector<std::string_view> lines = textLines(*text);
        if (static_cast<std::size_t>(line) < lines.size())
            length = static_cast<std::int32_t>(lines[static_cast<std::size_t>(line)].size());
    }
    return {line, 0, length};
}

// The value at a path of keys in the client's capabilities, if it is there.
const json* capability(const json& params, std::initializer_list<const char*> keys) {
    const json* at = &params;
    for (const char* key : keys) {
        if (!at->is_object() || !at->contains(key)) return nullptr;
        at = &(*at)[key];
    }
    return at;
}

json fixAction(const std::string& uri, json diagnostic, const TextFix& fix) {
    return {{"title", utf8FromWindows1252(fix.title)},
            {"kind", "quickfix"},
            {"diagnostics", json::array({std::move(diagnostic)})},
            {"isPreferred", true},
            {"edit",
             {{"changes",
               {{uri, json::array({{{"range", rangeJson(fix.spot)},
                                    {"newText", utf8FromWindows1252(fix.replacement)}}})}}}}}};
}

}  // namespace

LanguageServer::LanguageServer(const SourceDisk& disk, Send send, std::chrono::milliseconds pause,
                               EditorTiming timing, LivePreview* preview)
    : workspace_(disk),
      send_(std::move(send)),
      pause_(pause),
      timing_(std::move(timing)),
      preview_(preview) {
    registerHandlers();
}

void LanguageServer::receive(const Frame& frame) {
    if (frame.status == FrameStatus::End) return;
    if (frame.status == FrameStatus::Malformed) {
        send_(errorResponse(nullptr, rpc_error::kParseError, "malformed message header"));
        return;
    }
    if (frame.status == FrameStatus::TooLarge) {
        send_(errorResponse(nullptr, rpc_error::kInvalidRequest, "message too large"));
        return;
    }
    if (std::optional<json> response = dispatcher_.handle(frame.body)) send_(*response);
}

std::optional<ServerClock::time_point> LanguageServer::nextCheck() const {
    std::optional<ServerClock::time_point> first;
    for (const auto& [path, due] : due_)
        if (!first || due < *first) first = due;
    return first;
}

void LanguageServer::schedule(const std::string& path, ServerClock::time_point due) {
    due_[path] = due;
}

void LanguageServer::runChecksDue(ServerClock::time_point now) {
    std::vector<std::string> ready;
    for (const auto& [path, due] : due_)
        if (due <= now) ready.push_back(path);
    for (const std::string& path : ready) {
        due_.erase(path);
        const ServerClock::time_point start = ServerClock::now();
        for (FileDiagnostics& file : checkTimed(path)) {
            // A file without diagnostics needs no text: most checks find none in the partner.
            const std::optional<std::string> text =
                file.diagnostics.empty() ? std::nullopt : workspace_.text(file.path);
            json list = json::array();
            for (const Diagnostic& d : file.diagnostics) {
                json item = diagnosticJson(d);
                item["range"] = rangeJson(spotOf(d.location, text ? &*text : nullptr));
                list.push_back(std::move(item));
            }
            send_({{"jsonrpc", "2.0"},
                   {"method", "textDocument/publishDiagnostics"},
                   {"params", {{"uri", uriOf(file.path)}, {"diagnostics", std::move(list)}}}});
            published_[file.path] = std::move(file.diagnostics);
        }
        // The server's own part of a change's latency, for a client that traces.
        if (!traced_) continue;
        const std::chrono::duration<double, std::milli> took = ServerClock::now() - start;
        send_({{"jsonrpc", "2.0"},
               {"method", "$/logTrace"},
               {"params",
                {{"message", "diagnostics of " + uriOf(path) + " in " +
                                 std::to_string(took.count()) + " ms"}}}});
    }
    // The page follows the file last edited once the pause after its edit is over, after the
    // diagnostics, which the author waits for in the editor.
    if (preview_ && !previewed_.empty() && !ready.empty())
        preview_->show(viewOfBuffers(workspace_, previewed_, timing_.stockFile));
}

std::vector<FileDiagnostics> LanguageServer::checkTimed(const std::string& path) {
    if (!timing_.on) return workspace_.check(path);
    TimingWatch watch(timing_, std::filesystem::path(path).parent_path().string());
    std::vector<FileDiagnostics> files = workspace_.check(path, &watch);
    // A refused stock file is said once, not after every change.
    if (!watch.stockError.empty() && watch.stockError != stockError_)
        send_({{"jsonrpc", "2.0"},
               {"method", "window/showMessage"},
               {"params",
                {{"type", kMessageError}, {"message", "scenario lsp: " + watch.stockError}}}});
    stockError_ = watch.stockError;
    for (const FileDiagnostics& file : files) {
        if (sourceKindOf(file.path) != SourceKind::Train) continue;
        if (watch.timed)
            timed_[file.path] = *watch.timed;
        else
            timed_.erase(file.path);
    }
    if (inlayHints_ && hintRefresh_)
        send_({{"jsonrpc", "2.0"},
               {"id", "scenario-" + std::to_string(++requests_)},
               {"method", "workspace/inlayHint/refresh"}});
    return files;
}

void LanguageServer::announcePreview() {
    if (!preview_) return;
    const std::string url = preview_->url();
    send_({{"jsonrpc", "2.0"},
           {"method", "window/showMessage"},
           {"params",
            {{"type", kMessageInfo},
             {"message", "scenario lsp: the route's live page is at " + url}}}});
    if (opensDocuments_)
        send_({{"jsonrpc", "2.0"},
               {"id", "scenario-" + std::to_string(++requests_)},
               {"method", "window/showDocument"},
               {"params", {{"uri", url}, {"external", true}}}});
}

std::string LanguageServer::uriOf(const std::string& path) const {
    const auto it = uris_.find(path);
    return it != uris_.end() ? it->second : uriFromPath(path);
}

json LanguageServer::diagnosticJson(const Diagnostic& d) const {
    json item;
    const bool error = d.severity == Severity::Error;
    item["severity"] = error ? kSeverityError : kSeverityWarning;
    if (error && d.code != 0) item["code"] = d.code;
    if (!error && !d.name.empty()) item["code"] = d.name;
    item["source"] = "scenario";
    // The editor shows the kind and the code beside the message.
    item["message"] = utf8FromWindows1252(diagnosticMessage(d));
    // The shape that check --json and the page carry, for a client that wants all of it.
    item["data"] = scenario::diagnosticJson(d, [](const std::string& path) { return path; });
    if (d.related.hasLine()) {
        const std::optional<std::string> text = workspace_.text(d.related.file);
        item["relatedInformation"] =
            json::array({{{"location",
                           {{"uri", uriOf(d.related.file)},
                            {"range", rangeJson(spotOf(d.related, text ? &*text : nullptr))}}},
                          {"message", utf8FromWindows1252(relatedMessage(d))}}});
    }
    return item;
}

std::string LanguageServer::openPath(const json& params, std::string text) {
    const std::string uri = uriParam(params);
    const std::string path = pathOfUri(uri);
    uris_[path] = uri;
    workspace_.change(path, windows1252FromUtf8OrQuestionMarks(text));
    if (sourceKindOf(path) != SourceKind::Other) previewed_ = path;
    return path;
}

void LanguageServer::registerHandlers() {
    dispatcher_.setGate([this](const std::string& method) {
        if (shutDown_ && method != "exit")
            throw RpcFailure(rpc_error::kInvalidRequest, "the server is shut down");
        if (!initialized_ && method != "initialize" && method != "exit")
            throw RpcFailure(rpc_error::kServerNotInitialized, "not initialized");
    });
    dispatcher_.onRequest("initialize", [this](const json& params) {
        const json* snippet = &params;
        for (const char* key :
             {"capabilities", "textDocument", "completion", "completionItem", "snippetSupport"}) {
            if (!snippet->is_object() || !snippet->contains(key)) break;
            snippet = &(*snippet)[key];
        }
        snippets_ = snippet->is_boolean() && snippet->get<bool>();
        inlayHints_ = timing_.on &&
                      capability(params, {"capabilities", "textDocument", "inlayHint"}) != nullptr;
        const json* refresh =
            capability(params, {"capabilities", "workspace", "inlayHint", "refreshSupport"});
        hintRefresh_ = refresh != nullptr && refresh->is_boolean() && refresh->get<bool>();
        traced_ = traceIsOn(params, "trace");
        const json* opens =
            capability(params, {"capabilities", "window", "showDocument", "support"});
        opensDocuments_ = opens != nullptr && opens->is_boolean() && opens->get<bool>();
        initialized_ = true;
        json answer{
            {"capabilities",
             {{"positionEncoding", "utf-16"},
              {"textDocumentSync",
               {{"openClose", true}, {"change", kFullSync}, {"save", {{"includeText", true}}}}},
              {"hoverProvider", true},
              {"completionProvider", json::object()},
              {"documentSymbolProvider", true},
              {"codeActionProvider", {{"codeActionKinds", {"quickfix"}}}}}},
            {"serverInfo", {{"name", "scenario"}, {"version", SCENARIO_VERSION}}}};
        if (inlayHints_) answer["capabilities"]["inlayHintProvider"] = true;
        if (preview_)
            answer["capabilities"]["executeCommandProvider"] = {
                {"commands", json::array({kPreviewCommand})}};
        return answer;
    });
    dispatcher_.onNotification("initialized", [this](const json&) { announcePreview(); });
    dispatcher_.onRequest("workspace/executeCommand", [this](const json& params) -> json {
        if (params.value("command", "") != kPreviewCommand)
            throw RpcFailure(rpc_error::kInvalidParams, "unknown command");
        if (!preview_)
            throw RpcFailure(rpc_error::kInvalidRequest,
                             "no live page: start the server with `scenario lsp --preview`");
        return preview_->url();
    });
    dispatcher_.onNotification(
        "$/setTrace", [this](const json& params) { traced_ = traceIsOn(params, "value"); });
    dispatcher_.onRequest("shutdown", [this](const json&) {
        shutDown_ = true;
        if (preview_) preview_->stop();
        return json();
    });
    dispatcher_.onNotification("exit", [this](const json&) { exited_ = true; });
    dispatcher_.onNotification("textDocument/didOpen", [this](const json& params) {
        const std::string& text =
            params.at("textDocument").at("text").get_ref<const std::string&>();
        schedule(openPath(params, text), ServerClock::now());
    });
    dispatcher_.onNotification("textDocument/didChange", [this](const json& params) {
        const json& changes = params.at("contentChanges");
        if (!changes.is_array() || changes.empty()) return;
        // Full sync: the last change holds the whole text.
        const std::string& text = changes.back().at("text").get_ref<const std::string&>();
        schedule(openPath(params, text), ServerClock::now() + pause_);
    });
    dispatcher_.onNotification("textDocument/didSave", [this](const json& params) {
        const std::string path = pathOfUri(uriParam(params));
        if (params.contains("text")) openPath(params, params.at("text").get<std::string>());
        schedule(path, ServerClock::now());
    });
    dispatcher_.onNotification("textDocument/didClose", [this](const json& params) {
        const std::string uri = uriParam(params);
        const std::string path = pathOfUri(uri);
        workspace_.close(path);
        due_.erase(path);
        published_.erase(path);
        timed_.erase(path);
        send_({{"jsonrpc", "2.0"},
               {"method", "textDocument/publishDiagnostics"},
               {"params", {{"uri", uri}, {"diagnostics", json::array()}}}});
    });
    dispatcher_.onRequest("textDocument/hover", [this](const json& p) { return hover(p); });
    dispatcher_.onRequest("textDocument/completion",
                          [this](const json& p) { return completion(p); });
    dispatcher_.onRequest("textDocument/documentSymbol",
                          [this](const json& p) { return documentSymbols(p); });
    dispatcher_.onRequest("textDocument/codeAction",
                          [this](const json& p) { return codeActions(p); });
    dispatcher_.onRequest("textDocument/inlayHint",
                          [this](const json& p) { return inlayHints(p); });
}

json LanguageServer::hover(const json& params) const {
    const std::string path = pathOfUri(uriParam(params));
    const json& position = params.at("position");
    const std::optional<std::string> text = workspace_.text(path);
    if (!text) return nullptr;
    const auto line = position.at("line").get<std::int32_t>();
    const auto character = position.at("character").get<std::int32_t>();
    std::optional<HoverText> found = hoverAt(*text, sourceKindOf(path), line, character);
    if (!found) return nullptr;
    const auto timed = timed_.find(path);
    if (timed != timed_.end())
        if (const std::optional<std::string> figures =
                timingHover(timed->second, *text, line, character))
            found->markdown += "\n\n---\n\n" + *figures;
    return {{"contents", {{"kind", "markdown"}, {"value", utf8FromWindows1252(found->markdown)}}},
            {"range", rangeJson(found->spot)}};
}

json LanguageServer::completion(const json& params) const {
    const std::string path = pathOfUri(uriParam(params));
    const std::int32_t line = params.at("position").at("line").get<std::int32_t>();
    const std::optional<std::string> text = workspace_.text(path);
    json items = json::array();
    for (const CompletionItem& c : completionsAt(text.value_or(""), sourceKindOf(path), line)) {
        const bool header = c.label.front() == '[';
        items.push_back({{"label", utf8FromWindows1252(c.label)},
                         {"kind", header ? kModuleItem : kKeywordItem},
                         {"detail", c.detail},
                         {"sortText", c.sortKey},
                         {"filterText", utf8FromWindows1252(c.label)},
                         {"insertText", utf8FromWindows1252(snippets_ ? c.snippet : c.plain)},
                         {"insertTextFormat", snippets_ ? kSnippetFormat : kPlainFormat}});
    }
    return {{"isIncomplete", false}, {"items", std::move(items)}};
}

json LanguageServer::documentSymbols(const json& params) const {
    const std::string path = pathOfUri(uriParam(params));
    const std::optional<std::string> text = workspace_.text(path);
    json symbols = json::array();
    if (!text) return symbols;
    for (const OutlineEntry& entry : outlineOf(*text, sourceKindOf(path)))
        symbols.push_back(symbolJson(entry));
    return symbols;
}

json LanguageServer::codeActions(const json& params) const {
    const std::string uri = uriParam(params);
    const std::int32_t first = params.at("range").at("start").at("line").get<std::int32_t>();
    const std::int32_t last = params.at("range").at("end").at("line").get<std::int32_t>();
    json actions = json::array();
    const auto found = published_.find(pathOfUri(uri));
    if (found == published_.end()) return actions;
    for (const Diagnostic& d : found->second) {
        const std::optional<TextFix> fix = fixFor(d);
        if (!fix || fix->spot.line < first || fix->spot.line > last) continue;
        json diagnostic = diagnosticJson(d);
        diagnostic["range"] = rangeJson(fix->spot);
        actions.push_back(fixAction(uri, std::move(diagnostic), *fix));
    }
    const auto timed = timed_.find(found->first);
    const std::optional<std::string> text = workspace_.text(found->first);
    if (timed == timed_.end() || !text) return actions;
    for (const Diagnostic& d : found->second) {
        const std::optional<TextFix> fix = timetableFix(timed->second, *text, d);
        if (!fix || fix->spot.line < first || fix->spot.line > last) continue;
        json diagnostic = diagnosticJson(d);
        diagnostic["range"] = rangeJson(spotOf(d.location, &*text));
        actions.push_back(fixAction(uri, std::move(diagnostic), *fix));
    }
    return actions;
}

json LanguageServer::inlayHints(const json& params) const {
    const std::string path = pathOfUri(uriParam(params));
    json hints = json::array();
    const auto timed = timed_.find(path);
    const std::optional<std::string> text = workspace_.text(path);
    if (timed == timed_.end() || !text) return hints;
    const json& range = params.at("range");
    for (const InlayHint& hint :
         timingHints(timed->second, *text, range.at("start").at("line").get<std::int32_t>(),
                     range.at("end").at("line").get<std::int32_t>()))
        hints.push_back({{"position", positionJson(hint.spot.line, hint.spot.last)},
                         {"label", utf8FromWindows1252(hint.label)},
                         {"paddingLeft", true}});
    return hints;
}

int runLanguageServer(std::istream& in, std::ostream& out, const SourceDisk& disk,
                      std::chrono::milliseconds pause, const EditorTiming& timing,
                      LivePreview* preview) {
    // The reader thread blocks on the input; the frames wait here for the serving thread.
    struct Inbox {
        std::mutex lock;
        std::condition_variable arrived;
        std::deque<Frame> frames;
    };
    const auto inbox = std::make_shared<Inbox>();
    std::thread reader([inbox, &in] {
        FrameReader frames(in);
        for (bool more = true; more;) {
            Frame frame = frames.next();
            more = frame.status != FrameStatus::End;
            const std::lock_guard<std::mutex> hold(inbox->lock);
            inbox->frames.push_back(std::move(frame));
            inbox->arrived.notify_one();
        }
    });
    LanguageServer server(
        disk,
        [&out](const json& message) {
            out << framed(message.dump(-1, ' ', false, json::error_handler_t::replace));
            out.flush();
        },
        pause, timing, preview);
    bool inputEnded = false;
    while (!server.exited() && !inputEnded) {
        std::optional<Frame> frame;
        {
            std::unique_lock<std::mutex> hold(inbox->lock);
            const auto waiting = [&] { return !inbox->frames.empty(); };
            if (const std::optional<ServerClock::time_point> due = server.nextCheck())
                inbox->arrived.wait_until(hold, *due, waiting);
            else
                inbox->arrived.wait(hold, waiting);
            if (!inbox->frames.empty()) {
                frame = std::move(inbox->frames.front());
                inbox->frames.pop_front();
            }
        }
        if (frame && frame->status == FrameStatus::End) inputEnded = true;
        if (frame) server.receive(*frame);
        server.runChecksDue(inputEnded ? ServerClock::time_point::max() : ServerClock::now());
    }
    // Standard input may never end after the exit notification: the reader is left to the
    // process's end. Any other stream ends, and may not outlive the reader.
    if (inputEnded || &in != &std::cin)
        reader.join();
    else
        reader.detach();
    return server.exitStatus();
}

}  // namespace scenario
