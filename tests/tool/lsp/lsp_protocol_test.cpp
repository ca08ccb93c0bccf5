// The protocol layer: framing, JSON-RPC dispatch and the text edges, as tables of cases.
#include <gtest/gtest.h>

#include <sstream>

#include "tool/lsp/conversions.h"
#include "tool/lsp/framing.h"
#include "tool/lsp/json_rpc.h"

namespace scenario {
namespace {

using nlohmann::json;

std::string statusName(FrameStatus s) {
    switch (s) {
        case FrameStatus::Message:
            return "message";
        case FrameStatus::Malformed:
            return "malformed";
        case FrameStatus::TooLarge:
            return "too large";
        case FrameStatus::End:
            return "end";
    }
    return "?";
}

// Every frame the reader gives, up to the end: "message:BODY", "malformed", ...
std::vector<std::string> framesOf(const std::string& bytes) {
    std::istringstream in(bytes);
    FrameReader reader(in);
    std::vector<std::string> seen;
    for (int guard = 0; guard < 20; ++guard) {
        const Frame f = reader.next();
        seen.push_back(statusName(f.status) +
                       (f.status == FrameStatus::Message ? ":" + f.body : ""));
        if (f.status == FrameStatus::End) break;
    }
    return seen;
}

TEST(LspFraming, ReadsMessagesAndRecoversFromBrokenHeaders) {
    using V = std::vector<std::string>;
    const struct {
        std::string bytes;
        V frames;
    } cases[] = {
        {"Content-Length: 2\r\n\r\n{}", {"message:{}", "end"}},
        {"content-length:3\r\nContent-Type: application/vscode-jsonrpc; charset=utf-8\r\n\r\n[1]",
         {"message:[1]", "end"}},
        {"Content-Length: 1\r\n\r\n1Content-Length: 1\r\n\r\n2", {"message:1", "message:2", "end"}},
        {"Content-Length: 1\n\n7", {"message:7", "end"}},
        {"Content-Type: x\r\n\r\n", {"malformed", "end"}},
        {"Content-Length: 2x\r\n\r\n", {"malformed", "end"}},
        {"Content-Length: -2\r\n\r\n", {"malformed", "end"}},
        {"Content-Length: 99999999999999999999999\r\n\r\n", {"malformed", "end"}},
        {"garbage without a colon\r\n\r\n", {"malformed", "end"}},
        {"Content-Length: 10\r\n\r\n{}", {"end"}},
        {"Content-Length: 9999999999\r\n\r\n{}", {"too large", "end"}},
        {"Content-Length: 2", {"malformed", "end"}},
        {"", {"end"}},
    };
    for (const auto& c : cases) EXPECT_EQ(framesOf(c.bytes), c.frames) << c.bytes;
}

TEST(LspFraming, FramedBodyReadsBack) {
    EXPECT_EQ(framed("{\"a\":1}"), "Content-Length: 7\r\n\r\n{\"a\":1}");
}

TEST(LspJsonRpc, EveryRequestGetsOneAnswerAndNotificationsNone) {
    RpcDispatcher rpc;
    rpc.onRequest("echo", [](const json& p) { return p.at("x"); });
    rpc.onRequest("fail", [](const json&) -> json { throw std::runtime_error("boom"); });
    rpc.onNotification("note", [](const json& p) { (void)p.at("x").get<int>(); });
    const std::optional<int> none;
    const struct {
        std::string body;
        std::optional<int> errorCode;  // none: a result
        json id;
        bool answered;
    } cases[] = {
        {"not json", -32700, nullptr, true},
        {"[]", -32600, nullptr, true},
        {R"({"jsonrpc":"2.0","id":{"a":1},"method":"echo"})", -32600, nullptr, true},
        {R"({"jsonrpc":"2.0","id":1,"method":"nope"})", -32601, 1, true},
        {R"({"jsonrpc":"2.0","id":"a","method":"echo","params":{"x":5}})", none, "a", true},
        {R"({"jsonrpc":"2.0","id":3,"method":"echo","params":{}})", -32602, 3, true},
        {R"({"jsonrpc":"2.0","id":4,"method":"echo","params":3})", -32600, 4, true},
        {R"({"jsonrpc":"2.0","id":5,"method":"fail"})", -32603, 5, true},
        {R"({"jsonrpc":"2.0","id":6})", none, nullptr, false},
        {R"({"jsonrpc":"2.0","method":"nope"})", none, nullptr, false},
        {R"({"jsonrpc":"2.0","method":"note","params":{"x":"text"}})", none, nullptr, false},
        {R"({"jsonrpc":"2.0","method":7})", none, nullptr, false},
    };
    for (const auto& c : cases) {
        const std::optional<json> answer = rpc.handle(c.body);
        ASSERT_EQ(answer.has_value(), c.answered) << c.body;
        if (!answer) continue;
        EXPECT_EQ(answer->at("id"), c.id) << c.body;
        if (c.errorCode)
            EXPECT_EQ(answer->at("error").at("code"), *c.errorCode) << c.body;
        else
            EXPECT_EQ(answer->at("result"), 5) << c.body;
    }
}

TEST(LspText, FileUrisAndPaths) {
    EXPECT_EQ(pathFromUri("file:///tmp/a%20b/X_linea.txt"), "/tmp/a b/X_linea.txt");
    EXPECT_EQ(pathFromUri("file://localhost/x"), "/x");
    EXPECT_EQ(pathFromUri("file:///100%"), "/100%");
    EXPECT_EQ(pathFromUri("untitled:1"), std::nullopt);
    EXPECT_EQ(pathFromUri("file://elsewhere/x"), std::nullopt);
    EXPECT_EQ(uriFromPath("/tmp/a b/Citt\xC3\xA0_linea.txt"),
              "file:///tmp/a%20b/Citt%C3%A0_linea.txt");
    EXPECT_EQ(pathFromUri(uriFromPath("/a/[x]#1 %.txt")), "/a/[x]#1 %.txt");
}

// Windows editors send drive letters with or without an encoded colon, and UNC shares as hosts;
// each path comes back as Windows writes it, and goes out as a URI that reads back the same.
TEST(LspText, FileUrisAndWindowsPaths) {
    struct Case {
        const char* uri;
        std::optional<std::string> path;
    };
    const Case cases[] = {
        {"file:///C:/a%20b/X_linea.txt", "C:\\a b\\X_linea.txt"},
        {"file:///c%3A/a/X-.txt", "c:\\a\\X-.txt"},
        {"file:///c%3a/a/X-.txt", "c:\\a\\X-.txt"},
        {"file:///Z:/tmp/S_1-.txt", "Z:\\tmp\\S_1-.txt"},
        {"file:///D:", "D:"},
        {"file://localhost/C:/x.txt", "C:\\x.txt"},
        {"file://server/share/S_linea.txt", "\\\\server\\share\\S_linea.txt"},
        {"file:///relative/x.txt", "\\relative\\x.txt"},
        {"untitled:1", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(pathFromUri(c.uri, PathStyle::Windows), c.path) << c.uri;
    for (const char* path :
         {"C:\\a b\\Citt\xC3\xA0_linea.txt", "z:\\[x]#1 %.txt", "\\\\server\\share\\S_1-.txt"})
        EXPECT_EQ(pathFromUri(uriFromPath(path, PathStyle::Windows), PathStyle::Windows), path)
            << path;
    EXPECT_EQ(uriFromPath("C:\\a b\\X_linea.txt", PathStyle::Windows),
              "file:///C:/a%20b/X_linea.txt");
    // A POSIX system reads a drive letter as a plain folder name.
    EXPECT_EQ(pathFromUri("file:///C:/a.txt", PathStyle::Posix), "/C:/a.txt");
}

}  // namespace
}  // namespace scenario
