// The live page hosted by the language server, in-process: what the client is told of it, and
// the data it is handed as the buffers change.
#include <gtest/gtest.h>

#include <sstream>

#include "tool/lsp/framing.h"
#include "tool/lsp/server.h"
#include "tool/source_fixture.h"

namespace scenario {
namespace {

using nlohmann::json;
using testing::builtinTexts;
using testing::MemoryDisk;
using testing::replaced;

std::string message(const json& m) {
    return framed(m.dump());
}

std::string initialize(bool opensDocuments) {
    return message({{"jsonrpc", "2.0"},
                    {"id", 1},
                    {"method", "initialize"},
                    {"params",
                     {{"capabilities",
                       {{"window", {{"showDocument", {{"support", opensDocuments}}}}}}}}}}) +
           message({{"jsonrpc", "2.0"}, {"method", "initialized"}, {"params", json::object()}});
}

std::string textChange(const char* method, const std::string& uri, const std::string& text) {
    json params;
    params["textDocument"]["uri"] = uri;
    if (std::string(method) == "textDocument/didOpen")
        params["textDocument"]["text"] = text;
    else
        params["contentChanges"] = json::array({json::object({{"text", text}})});
    return message({{"jsonrpc", "2.0"}, {"method", method}, {"params", params}});
}

std::string previewRequest(int id) {
    return message({{"jsonrpc", "2.0"},
                    {"id", id},
                    {"method", "workspace/executeCommand"},
                    {"params", {{"command", "scenario.preview"}}}});
}

struct RecordedPreview final : LivePreview {
    std::string url() const override { return "http://127.0.0.1:1/t/"; }
    void show(const json& data) override { shown.push_back(data); }
    void stop() override { ++stops; }
    std::vector<json> shown;
    int stops = 0;
};

std::vector<json> run(const std::string& input, const SourceDisk& disk, LivePreview* preview) {
    std::istringstream in(input);
    std::ostringstream out;
    runLanguageServer(in, out, disk, std::chrono::milliseconds(0), {}, preview);
    std::istringstream back(out.str());
    FrameReader frames(back);
    std::vector<json> messages;
    for (Frame f = frames.next(); f.status == FrameStatus::Message; f = frames.next())
        messages.push_back(json::parse(f.body));
    return messages;
}

std::vector<json> withMethod(const std::vector<json>& messages, const std::string& method) {
    std::vector<json> found;
    for (const json& m : messages)
        if (m.value("method", "") == method) found.push_back(m);
    return found;
}

json answerTo(const std::vector<json>& messages, int id) {
    for (const json& m : messages)
        if (m.contains("id") && m["id"] == id && !m.contains("method")) return m;
    return nullptr;
}

TEST(LspPreview, TheClientIsToldTheAddressAndOpensItOnlyWhereItCan) {
    const MemoryDisk disk;
    for (const bool opens : {false, true}) {
        RecordedPreview preview;
        const std::vector<json> messages =
            run(initialize(opens) + previewRequest(2), disk, &preview);
        EXPECT_EQ(answerTo(messages, 1)["result"]["capabilities"]["executeCommandProvider"],
                  json({{"commands", {"scenario.preview"}}}));
        const std::vector<json> told = withMethod(messages, "window/showMessage");
        ASSERT_EQ(told.size(), 1u);
        EXPECT_EQ(told[0]["params"]["message"],
                  "scenario lsp: the route's live page is at http://127.0.0.1:1/t/");
        const std::vector<json> opened = withMethod(messages, "window/showDocument");
        ASSERT_EQ(opened.size(), opens ? 1u : 0u);
        if (opens) {
            EXPECT_EQ(opened[0]["params"]["uri"], "http://127.0.0.1:1/t/");
        }
        EXPECT_EQ(answerTo(messages, 2)["result"], "http://127.0.0.1:1/t/");
    }
    // Without a page, nothing is said of one and the command is refused.
    const std::vector<json> messages = run(initialize(true) + previewRequest(2), disk, nullptr);
    EXPECT_FALSE(
        answerTo(messages, 1)["result"]["capabilities"].contains("executeCommandProvider"));
    EXPECT_TRUE(withMethod(messages, "window/showMessage").empty());
    EXPECT_TRUE(withMethod(messages, "window/showDocument").empty());
    EXPECT_EQ(answerTo(messages, 2)["error"]["code"], -32600);
}

TEST(LspPreview, ThePageFollowsTheUnsavedBufferAndStopsOnShutdown) {
    const testing::BuiltinTexts builtin = builtinTexts();
    MemoryDisk disk;
    disk.put("/s/Alderi_Moncasta_linea.txt", builtin.line);
    disk.put("/s/Alderi_Moncasta_30752-.txt", builtin.train);
    const std::string uri = "file:///s/Alderi_Moncasta_30752-.txt";
    const std::string moved = replaced(builtin.train, "stazione,    1750", "stazione,    1800");
    const std::string broken = replaced(builtin.train, "stazione,    1750", "stazione,    1760");
    RecordedPreview preview;
    run(initialize(false) + textChange("textDocument/didOpen", uri, builtin.train) +
            textChange("textDocument/didChange", uri, moved) +
            textChange("textDocument/didChange", uri, broken) +
            message({{"jsonrpc", "2.0"}, {"id", 9}, {"method", "shutdown"}}),
        disk, &preview);
    // With no pause, each change is a check of its own, and a page of its own.
    ASSERT_EQ(preview.shown.size(), 3u);
    const auto positions = [](const json& data) {
        std::vector<int> found;
        for (const json& station : data["stations"]) found.push_back(station["position"]);
        return found;
    };
    const auto has = [](const std::vector<int>& list, int value) {
        return std::find(list.begin(), list.end(), value) != list.end();
    };
    EXPECT_TRUE(has(positions(preview.shown[0]), 1750));
    EXPECT_TRUE(has(positions(preview.shown[1]), 1800));
    EXPECT_FALSE(has(positions(preview.shown[1]), 1750));
    bool errorShown = false;
    for (const json& d : preview.shown[2]["diagnostics"])
        errorShown |= d.value("code", json()) == 8;
    EXPECT_TRUE(errorShown) << preview.shown[2]["diagnostics"].dump();
    EXPECT_EQ(preview.stops, 1);
}

TEST(LspPreview, AFileWithoutItsPartnerGivesAnEmptyRouteThatSaysSo) {
    const testing::BuiltinTexts builtin = builtinTexts();
    const MemoryDisk disk;
    RecordedPreview preview;
    run(initialize(false) +
            textChange("textDocument/didOpen", "file:///s/Alone_linea.txt", builtin.line),
        disk, &preview);
    ASSERT_EQ(preview.shown.size(), 1u);
    EXPECT_TRUE(preview.shown[0]["stations"].empty());
    ASSERT_EQ(preview.shown[0]["diagnostics"].size(), 1u);
    EXPECT_NE(preview.shown[0]["diagnostics"][0].dump().find("has no train file beside it"),
              std::string::npos);
}

}  // namespace
}  // namespace scenario
