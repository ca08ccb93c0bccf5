// The server in-process: framed messages in, framed answers and diagnostics out.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "tool/lsp/conversions.h"
#include "tool/lsp/framing.h"
#include "tool/lsp/server.h"
#include "tool/source_fixture.h"

namespace scenario {
namespace {

using nlohmann::json;
using testing::builtinTexts;
using testing::MemoryDisk;
using testing::replaced;

std::string request(int id, const std::string& method, json params = json::object()) {
    return framed(
        json{{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", params}}.dump());
}

std::string notification(const std::string& method, json params) {
    return framed(json{{"jsonrpc", "2.0"}, {"method", method}, {"params", params}}.dump());
}

const std::string kInitialize = request(
    1, "initialize",
    {{"capabilities",
      {{"textDocument", {{"completion", {{"completionItem", {{"snippetSupport", true}}}}}}}}}});

struct Served {
    std::vector<json> messages;
    int status = -1;

    // The answer to request `id`.
    json answer(int id) const {
        for (const json& m : messages)
            if (m.contains("id") && m["id"] == id) return m;
        return nullptr;
    }
    std::vector<json> published(const std::string& uri) const {
        std::vector<json> lists;
        for (const json& m : messages)
            if (m.value("method", "") == "textDocument/publishDiagnostics" &&
                m["params"]["uri"] == uri)
                lists.push_back(m["params"]["diagnostics"]);
        return lists;
    }
};

Served serve(const std::string& input, const SourceDisk& disk,
             std::chrono::milliseconds pause = std::chrono::milliseconds(0),
             const EditorTiming& timing = {}) {
    std::istringstream in(input);
    std::ostringstream out;
    Served served;
    served.status = runLanguageServer(in, out, disk, pause, timing);
    std::istringstream back(out.str());
    FrameReader frames(back);
    for (Frame f = frames.next(); f.status == FrameStatus::Message; f = frames.next())
        served.messages.push_back(json::parse(f.body));
    return served;
}

json textDocument(const std::string& uri) {
    return {{"textDocument", {{"uri", uri}}}};
}

json at(const std::string& uri, int line, int character) {
    return {{"textDocument", {{"uri", uri}}},
            {"position", {{"line", line}, {"character", character}}}};
}

json opened(const std::string& uri, const std::string& utf8) {
    return {{"textDocument",
             {{"uri", uri}, {"languageId", "scenario"}, {"version", 1}, {"text", utf8}}}};
}

TEST(LspServer, AnswersEveryRequestAndSurvivesBadInput) {
    const MemoryDisk disk;
    const struct {
        std::string input;
        int id;
        std::optional<int> error;  // none: a result
    } cases[] = {
        {request(2, "textDocument/hover", at("file:///a_linea.txt", 0, 0)), 2, -32002},
        {kInitialize + request(2, "no/such"), 2, -32601},
        {kInitialize + request(2, "textDocument/hover", textDocument("file:///a_linea.txt")), 2,
         -32602},
        {kInitialize + request(2, "shutdown") +
             request(3, "textDocument/documentSymbol", textDocument("file:///a_linea.txt")),
         3, -32600},
        {kInitialize + notification("no/such", {}) + notification("textDocument/didOpen", {}) +
             "Content-Length: 5\r\n\r\n{]}{]" + request(2, "shutdown"),
         2, std::nullopt},
        {kInitialize + request(2, "textDocument/hover", at("file:///none_linea.txt", 0, 0)), 2,
         std::nullopt},
    };
    for (const auto& c : cases) {
        const Served served = serve(c.input, disk);
        const json answer = served.answer(c.id);
        ASSERT_FALSE(answer.is_null()) << c.input;
        if (c.error)
            EXPECT_EQ(answer["error"]["code"], *c.error) << c.input;
        else
            EXPECT_TRUE(answer.contains("result")) << c.input;
    }
    // The broken frame got a parse error with no id.
    const Served broken = serve(kInitialize + "Content-Length: 5\r\n\r\n{]}{]", disk);
    ASSERT_EQ(broken.messages.size(), 2u);
    EXPECT_EQ(broken.messages[1]["error"]["code"], -32700);
    EXPECT_TRUE(broken.messages[1]["id"].is_null());
}

TEST(LspServer, ExitStatusSaysWhetherTheClientShutDownFirst) {
    const MemoryDisk disk;
    EXPECT_EQ(serve(kInitialize + request(2, "shutdown") + notification("exit", {}), disk).status,
              0);
    EXPECT_EQ(serve(kInitialize + notification("exit", {}), disk).status, 1);
    EXPECT_EQ(serve(kInitialize, disk).status, 1);
    const Served served = serve(kInitialize, disk);
    EXPECT_EQ(served.answer(1)["result"]["capabilities"]["textDocumentSync"]["change"], 1);
}

TEST(LspServer, PublishesDiagnosticsOfBothFilesWithUtf16Columns) {
    const testing::BuiltinTexts builtin = builtinTexts();
    MemoryDisk disk;
    disk.put("/s/A_linea.txt", builtin.line);
    // "CITTÀ" as the editor sends it, and an extra field after it on the same line.
    const std::string train =
        replaced(builtin.train, "ALDERI S. ROCCO", "CITT\xC3\x80 \xE2\x82\xAC, 12");
    const std::string trainUri = "file:///s/A_1-.txt";
    const Served served =
        serve(kInitialize + notification("textDocument/didOpen", opened(trainUri, train)), disk);
    const std::vector<json> lists = served.published(trainUri);
    ASSERT_EQ(lists.size(), 1u);
    ASSERT_EQ(lists[0].size(), 1u);
    const json& d = lists[0][0];
    EXPECT_EQ(d["severity"], 2);
    EXPECT_EQ(d["code"], "extra-fields");
    EXPECT_EQ(d["message"],
              "line holds more fields than its record takes: \"12\" is read as a first field");
    EXPECT_EQ(d["range"]["start"]["line"], 24);
    // The shape check --json gives, in the data: lines and columns from 1, in bytes.
    EXPECT_EQ(d["data"]["severity"], "warning");
    EXPECT_EQ(d["data"]["name"], "extra-fields");
    EXPECT_TRUE(d["data"]["code"].is_null());
    EXPECT_EQ(d["data"]["file"], "/s/A_1-.txt");
    EXPECT_EQ(d["data"]["line"], 25);
    EXPECT_EQ(d["data"]["message"], d["message"]);
    // Counted in UTF-16 code units on the line as the editor holds it: À and € are one each.
    const std::string lineInEditor =
        "stazione,    1200, 27,  200,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, CITT\xC3\x80 "
        "\xE2\x82\xAC, ";
    const int units = static_cast<int>(lineInEditor.size()) - 1 - 2;
    EXPECT_EQ(d["range"]["start"]["character"], units);
    // The line file was checked with it and is clean.
    const std::vector<json> lineLists = served.published("file:///s/A_linea.txt");
    ASSERT_EQ(lineLists.size(), 1u);
    EXPECT_TRUE(lineLists[0].empty());
}

TEST(LspServer, ATracingClientIsToldHowLongEachCheckTook) {
    const testing::BuiltinTexts builtin = builtinTexts();
    MemoryDisk disk;
    disk.put("/s/A_linea.txt", builtin.line);
    const std::string trainUri = "file:///s/A_1-.txt";
    const std::string open = notification("textDocument/didOpen", opened(trainUri, builtin.train));
    const auto traces = [](const Served& served) {
        std::vector<std::string> found;
        for (const json& m : served.messages)
            if (m.value("method", "") == "$/logTrace") found.push_back(m["params"]["message"]);
        return found;
    };
    EXPECT_TRUE(traces(serve(kInitialize + open, disk)).empty());
    const std::string tracing =
        request(1, "initialize", {{"capabilities", json::object()}, {"trace", "messages"}});
    const std::vector<std::string> told = traces(serve(tracing + open, disk));
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0].rfind("diagnostics of " + trainUri + " in ", 0), 0u) << told[0];
    EXPECT_EQ(told[0].substr(told[0].size() - 3), " ms");
    // Turned off again by the client.
    const std::string off = notification("$/setTrace", {{"value", "off"}});
    EXPECT_TRUE(traces(serve(tracing + off + open, disk)).empty());
}

TEST(LspServer, AnErrorStandsAtItsFieldAndNamesTheRecordInTheTakenCell) {
    const testing::BuiltinTexts builtin = builtinTexts();
    MemoryDisk disk;
    disk.put("/s/A_linea.txt", builtin.line);
    const std::string signal = "segnale,    2600,   2, 4, 0,  0, 0,    2,  2,1,0, 0\r\n";
    const std::size_t at = builtin.train.find(signal);
    ASSERT_NE(at, std::string::npos);
    const int first = static_cast<int>(
        std::count(builtin.train.begin(), builtin.train.begin() + static_cast<long>(at), '\n'));
    std::string train = builtin.train;
    train.insert(at + signal.size(), signal);
    const std::string uri = "file:///s/A_1-.txt";
    const Served served =
        serve(kInitialize + notification("textDocument/didOpen", opened(uri, train)), disk);
    const std::vector<json> lists = served.published(uri);
    ASSERT_EQ(lists.size(), 1u);
    ASSERT_EQ(lists[0].size(), 1u);
    const json& d = lists[0][0];
    EXPECT_EQ(d["code"], 16);
    const json position = {{"line", first + 1}, {"character", 12}};
    EXPECT_EQ(d["range"]["start"], position);
    const json related = {{"location",
                           {{"uri", uri},
                            {"range",
                             {{"start", {{"line", first}, {"character", 12}}},
                              {"end", {{"line", first}, {"character", 16}}}}}}},
                          {"message", "this signal record already holds cell 53"}};
    EXPECT_EQ(d["relatedInformation"], json::array({related}));
    const json& data = d["data"];
    EXPECT_EQ(data["severity"], "error");
    EXPECT_EQ(data["code"], 16);
    EXPECT_EQ(data["file"], "/s/A_1-.txt");
    EXPECT_EQ(data["line"], first + 2);
    EXPECT_EQ(data["column"], 13);
    EXPECT_EQ(data["related"], (json{{"file", "/s/A_1-.txt"},
                                     {"line", first + 1},
                                     {"column", 13},
                                     {"message", "this signal record already holds cell 53"}}));
    EXPECT_FALSE(data["meaning"].get<std::string>().empty());
}

TEST(LspServer, ChangesArePausedAndCoalescedAndTheBufferWinsOverTheDisk) {
    const testing::BuiltinTexts builtin = builtinTexts();
    MemoryDisk disk;
    disk.put("/s/A_linea.txt", builtin.line);
    disk.put("/s/A_1-.txt", replaced(builtin.train, "ALDERI S. ROCCO", "ALDERI S. ROCCO, 12"));
    const std::string uri = "file:///s/A_1-.txt";
    const auto change = [&](const std::string& text) {
        return notification("textDocument/didChange",
                            {{"textDocument", {{"uri", uri}, {"version", 2}}},
                             {"contentChanges", json::array({{{"text", text}}})}});
    };
    const std::string typo = *disk.read("/s/A_1-.txt");
    const Served served =
        serve(kInitialize + notification("textDocument/didOpen", opened(uri, typo)) + change(typo) +
                  change(builtin.train),
              disk, std::chrono::milliseconds(50));
    const std::vector<json> lists = served.published(uri);
    ASSERT_EQ(lists.size(), 2u);  // on opening, then once for both changes
    ASSERT_EQ(lists[0].size(), 1u);
    EXPECT_EQ(lists[0][0]["range"]["start"]["line"], 24);
    EXPECT_EQ(lists[0][0]["code"], "extra-fields");
    EXPECT_TRUE(lists[1].empty());
}

TEST(LspServer, HoverCompletionAndOutlineInUtf8) {
    const testing::BuiltinTexts builtin = builtinTexts();
    MemoryDisk disk;
    disk.put("/s/A_1-.txt", replaced(builtin.train, "BORGO VALLINA", "BORGO \xC0"));
    const std::string uri = "file:///s/A_1-.txt";
    const Served served = serve(kInitialize + request(2, "textDocument/hover", at(uri, 40, 13)) +
                                    request(3, "textDocument/completion", at(uri, 41, 0)) +
                                    request(4, "textDocument/documentSymbol", textDocument(uri)),
                                disk);
    const json hover = served.answer(2)["result"];
    EXPECT_EQ(hover["contents"]["value"].get<std::string>().substr(0, 30),
              "**posizione**: 1000 m, cell 21");
    const json items = served.answer(3)["result"]["items"];
    ASSERT_FALSE(items.empty());
    json first = items[0];
    for (const json& i : items)
        if (i["sortText"] < first["sortText"]) first = i;
    EXPECT_EQ(first["label"], "segnale");
    EXPECT_EQ(first["insertTextFormat"], 2);
    const json symbols = served.answer(4)["result"];
    ASSERT_EQ(symbols.size(), 8u);
    EXPECT_EQ(symbols[3]["name"], "[stazioni]");
    EXPECT_EQ(symbols[3]["children"][2]["name"], "BORGO \xC3\x80");
}

TEST(LspServer, TimingGivesTheTimetableWarningItsFixHintsAndHover) {
    const testing::BuiltinTexts builtin = builtinTexts();
    MemoryDisk disk;
    disk.put("/s/A_linea.txt", builtin.line);
    // Borgo Vallina, the train file's line 25, reached 30 s after the 14:23:00 departure.
    const std::string train =
        replaced(builtin.train, "30,  14,26, 0, BORGO", "30,  14,24, 0, BORGO");
    const std::string uri = "file:///s/A_1-.txt";
    const std::string initialize =
        request(1, "initialize",
                {{"capabilities",
                  {{"textDocument", {{"inlayHint", json::object()}}},
                   {"workspace", {{"inlayHint", {{"refreshSupport", true}}}}}}}});
    const json wholeFile = {{"start", {{"line", 0}, {"character", 0}}},
                            {"end", {{"line", 60}, {"character", 0}}}};
    const json recordOnly = {{"start", {{"line", 25}, {"character", 0}}},
                             {"end", {{"line", 25}, {"character", 0}}}};
    const std::string input = initialize +
                              notification("textDocument/didOpen", opened(uri, train)) +
                              request(2, "textDocument/inlayHint",
                                      {{"textDocument", {{"uri", uri}}}, {"range", wholeFile}}) +
                              request(3, "textDocument/codeAction",
                                      {{"textDocument", {{"uri", uri}}},
                                       {"range", recordOnly},
                                       {"context", {{"diagnostics", json::array()}}}}) +
                              request(4, "textDocument/hover", at(uri, 25, 62));
    const EditorTiming timing{true, std::nullopt, 0};

    const Served served = serve(input, disk, std::chrono::milliseconds(0), timing);
    EXPECT_EQ(served.answer(1)["result"]["capabilities"]["inlayHintProvider"], true);
    const std::vector<json> lists = served.published(uri);
    ASSERT_EQ(lists.size(), 1u);
    ASSERT_EQ(lists[0].size(), 1u);
    EXPECT_EQ(lists[0][0]["code"], "timetable");
    EXPECT_EQ(lists[0][0]["range"]["start"]["line"], 25);
    const bool refreshed = std::any_of(
        served.messages.begin(), served.messages.end(),
        [](const json& m) { return m.value("method", "") == "workspace/inlayHint/refresh"; });
    EXPECT_TRUE(refreshed);

    // One hint at each stop that ends a section, after its record.
    const json hints = served.answer(2)["result"];
    ASSERT_EQ(hints.size(), 12u);
    EXPECT_EQ(hints[0]["position"], json({{"line", 25}, {"character", 85}}));
    EXPECT_EQ(hints[0]["label"], "min 1:50 \xC2\xB7 slack -1:20");
    EXPECT_EQ(hints[1]["label"], "min 1:28 \xC2\xB7 slack +3:02");

    // The fix keeps the fields' spacing.
    const json actions = served.answer(3)["result"];
    ASSERT_EQ(actions.size(), 1u);
    EXPECT_EQ(actions[0]["title"], "set the time to 14:25:20");
    EXPECT_EQ(actions[0]["diagnostics"][0]["code"], "timetable");
    const json edit = actions[0]["edit"]["changes"][uri][0];
    EXPECT_EQ(edit["newText"], "14,25,20");
    EXPECT_EQ(edit["range"]["start"], json({{"line", 25}, {"character", 62}}));
    EXPECT_EQ(edit["range"]["end"], json({{"line", 25}, {"character", 70}}));

    const std::string hover = served.answer(4)["result"]["contents"]["value"];
    EXPECT_NE(hover.find("**hours**: 14"), std::string::npos) << hover;
    EXPECT_NE(hover.find("**ALDERI CENTRALE to BORGO VALLINA**, 1.750 km\n\nscheduled 0:00:30, "
                         "minimum 0:01:50, slack -0:01:20"),
              std::string::npos)
        << hover;
    EXPECT_NE(hover.find("**BORGO VALLINA to PRATOLUNGO**"), std::string::npos) << hover;

    // Off by default; hints only for a client that shows them; a refused stock said once.
    const Served plain = serve(input, disk);
    EXPECT_FALSE(plain.answer(1)["result"]["capabilities"].contains("inlayHintProvider"));
    EXPECT_EQ(plain.published(uri), std::vector<json>{json::array()});
    EXPECT_EQ(plain.answer(2)["result"], json::array());
    EXPECT_EQ(plain.answer(3)["result"], json::array());
    const Served blind = serve(kInitialize, disk, std::chrono::milliseconds(0), timing);
    EXPECT_FALSE(blind.answer(1)["result"]["capabilities"].contains("inlayHintProvider"));
    const Served refused =
        serve(input + notification("textDocument/didSave", textDocument(uri)), disk,
              std::chrono::milliseconds(0), {true, "/no/such/stock.json", 0});
    std::vector<json> said;
    for (const json& m : refused.messages)
        if (m.value("method", "") == "window/showMessage") said.push_back(m["params"]);
    ASSERT_EQ(said.size(), 1u);
    EXPECT_EQ(said[0]["message"], "scenario lsp: cannot read /no/such/stock.json");
    EXPECT_EQ(refused.published(uri), (std::vector<json>{json::array(), json::array()}));
}

}  // namespace
}  // namespace scenario
