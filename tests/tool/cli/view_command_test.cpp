// scenario view writes one page and nothing else; its data blob cannot end the script that holds
// it whatever the names hold; compiled files and sources give the same model.
#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tool/fixture_model.h"
#include "tool/tool_runner.h"

namespace scenario {
namespace {

using namespace scenario::testing;

const std::string kLine = "Alderi_Moncasta_linea.txt";
const std::string kTrain = "Alderi_Moncasta_30752-.txt";

std::set<std::string> filesIn(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) names.insert(entry.path().filename());
    return names;
}

std::size_t occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

// The page's embedded JSON, parsed.
nlohmann::json dataOf(const std::string& page) {
    const std::string open = "<script type=\"application/json\" id=\"route-data\">";
    const auto from = page.find(open);
    if (from == std::string::npos) return {};
    const auto start = from + open.size();
    return nlohmann::json::parse(page.substr(start, page.find("</script>", start) - start), nullptr,
                                 false);
}

void replaceIn(const fs::path& file, const std::string& old, const std::string& now) {
    std::string text = readFile(file);
    const auto at = text.find(old);
    ASSERT_NE(at, std::string::npos) << old;
    writeFile(file, text.replace(at, old.size(), now));
}

TEST(ViewCommand, FromSourcesWritesThePageAndNothingElse) {
    TempDir dir;
    ASSERT_EQ(runTool(dir.path, words("export --out .")).status, 0);
    const std::set<std::string> before = filesIn(dir.path);
    const ToolRun run = runTool(dir.path, words("view " + kLine + " " + kTrain + " -o route.html"));
    ASSERT_EQ(run.status, 0) << run.err;
    std::set<std::string> after = filesIn(dir.path);
    after.erase("route.html");
    EXPECT_EQ(after, before);
    const std::string page = readFile(dir.path / "route.html");
    // Self-contained: no address to fetch anything from.
    for (const char* outside : {"http:", "https:", "src=", "href=", "@import", "url("})
        EXPECT_EQ(page.find(outside), std::string::npos) << outside;
    const nlohmann::json data = dataOf(page);
    ASSERT_TRUE(data.is_object());
    EXPECT_EQ(data["routeLength"], 34000);
    EXPECT_EQ(data["stations"].size(), 15u);
    EXPECT_EQ(data["stations"][0]["name"], "ALDERI CENTRALE");
    EXPECT_EQ(data["diagnostics"], nlohmann::json::array());
}

// The page's run is the one `timing` computes, from the stock it would choose, in its shape; each
// section's run goes from stop to stop in time order, stopped at both ends.
TEST(ViewCommand, ThePageCarriesTheRunTimingComputes) {
    TempDir dir;
    ASSERT_EQ(runTool(dir.path, words("export --out .")).status, 0);
    writeFile(dir.path / "Alderi_Moncasta_30752.stock.json", R"({"power_kw": 900})");
    const ToolRun timed = runTool(dir.path, words("timing " + kLine + " " + kTrain + " --json"));
    ASSERT_EQ(timed.status, 0) << timed.err;
    const nlohmann::json expected = nlohmann::json::parse(timed.out);
    const ToolRun run = runTool(dir.path, words("view " + kLine + " " + kTrain + " -o route.html"));
    ASSERT_EQ(run.status, 0) << run.err;
    const nlohmann::json data = dataOf(readFile(dir.path / "route.html"));
    EXPECT_EQ(data["model"]["cellLength"], 50);
    const nlohmann::json& timing = data["timing"];
    EXPECT_EQ(timing["stock"], "Alderi_Moncasta_30752.stock.json");
    EXPECT_EQ(timing["stops"], expected["stops"]);
    ASSERT_EQ(timing["sections"].size(), expected["sections"].size());
    for (std::size_t i = 0; i < expected["sections"].size(); ++i) {
        nlohmann::json section = timing["sections"][i];
        const nlohmann::json run = section["run"];
        EXPECT_EQ(section["departure"], expected["stops"][i]["departure"]) << i;
        section.erase("run");
        section.erase("departure");
        EXPECT_EQ(section, expected["sections"][i]) << i;
        const auto& position = run["position"];
        ASSERT_GE(position.size(), 2u) << i;
        EXPECT_EQ(position.front(), section["fromPosition"]) << i;
        EXPECT_EQ(position.back(), section["toPosition"]) << i;
        EXPECT_EQ(run["speed"].front(), 0) << i;
        EXPECT_EQ(run["speed"].back(), 0) << i;
        EXPECT_NEAR(run["time"].back().get<double>(), section["minimum"].get<double>(), 0.05) << i;
        for (std::size_t k = 1; k < position.size(); ++k) {
            EXPECT_GT(position[k].get<double>(), position[k - 1].get<double>()) << i;
            EXPECT_GT(run["time"][k].get<double>(), run["time"][k - 1].get<double>()) << i;
        }
    }

    writeFile(dir.path / "bad.json", R"({"car_mass_t": 0})");
    const ToolRun refused = runTool(
        dir.path, words("view " + kLine + " " + kTrain + " --stock bad.json -o refused.html"));
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.err, "scenario view: bad.json: stock key car_mass_t is 0\n");
    EXPECT_FALSE(fs::exists(dir.path / "refused.html"));
}

TEST(ViewCommand, CompiledFilesAndSourcesGiveTheSameModel) {
    TempDir dir;
    ASSERT_EQ(runScenarioProgram(dir.path), 0);
    ASSERT_EQ(runTool(dir.path, words("export --out src")).status, 0);
    ASSERT_EQ(runTool(dir.path, words("view . --name Alderi_Moncasta --train 30752 -o files.html"))
                  .status,
              0);
    ASSERT_EQ(runTool(dir.path, words("view src/" + kLine + " src/" + kTrain + " -o sources.html"))
                  .status,
              0);
    const nlohmann::json files = dataOf(readFile(dir.path / "files.html"));
    const nlohmann::json sources = dataOf(readFile(dir.path / "sources.html"));
    for (const char* part :
         {"cells", "stations", "entryNames", "plan", "curves", "routeLength", "timing"})
        EXPECT_EQ(files[part], sources[part]) << part;
    EXPECT_TRUE(files["origins"].is_null());
    EXPECT_TRUE(sources["origins"].is_object());
    // The built-in plan turns both ways in every class but the widest.
    std::set<int> classes;
    for (const auto& curve : files["curves"])
        classes.insert(curve[3].get<int>() * curve[2].get<int>());
    EXPECT_TRUE(classes.count(6) && classes.count(-6)) << files["curves"].dump();
}

TEST(ViewCommand, NoTextOfTheSourcesCanEndTheScript) {
    TempDir dir;
    ASSERT_EQ(runTool(dir.path, words("export --out .")).status, 0);
    // Names are Windows-1252 bytes; file names pass as they are, so one can hold the line
    // separators U+2028 and U+2029, which end a line in older JavaScript.
    const std::string station = "</ScRiPt><!-- <script>x=1</script> & \xE8\xA0";
    replaceIn(dir.path / kTrain, "BORGO VALLINA", station);
    replaceIn(dir.path / kLine, "(SERRANTE)", "</script>");
    const std::string lineFile = "<b>&\xE2\x80\xA8\xE2\x80\xA9_linea.txt";
    fs::rename(dir.path / kLine, dir.path / lineFile);
    const ToolRun run = runTool(dir.path, {"view", lineFile, kTrain, "-o", "route.html"});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string page = readFile(dir.path / "route.html");
    EXPECT_EQ(page.find("\xE2\x80\xA8"), std::string::npos);
    EXPECT_EQ(page.find("\xE2\x80\xA9"), std::string::npos);
    std::string lower = page;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(occurrences(lower, "</script"), 2u);  // the two the template closes
    EXPECT_EQ(occurrences(lower, "<!--"), 1u);      // the template's own comment
    EXPECT_EQ(occurrences(lower, "<b>"), 0u);
    const nlohmann::json data = dataOf(page);
    ASSERT_TRUE(data.is_object());
    EXPECT_EQ(data["stations"][2]["name"], "</ScRiPt><!-- <script>x=1</script> & \u00e8\u00a0");
    EXPECT_EQ(data["entryNames"]["80"].get<std::string>().rfind("</script>", 0), 0u);
    EXPECT_EQ(data["origins"]["files"][0], lineFile);
}

TEST(ViewCommand, FaultySourcesStillGiveAPageWithTheirDiagnostics) {
    TempDir dir;
    ASSERT_EQ(runTool(dir.path, words("export --out .")).status, 0);
    replaceIn(dir.path / kTrain, "stazione,    1750", "stazione,    1760");
    const ToolRun run = runTool(dir.path, words("view " + kLine + " " + kTrain + " -o route.html"));
    EXPECT_EQ(run.status, 1);
    const nlohmann::json diagnostics = dataOf(readFile(dir.path / "route.html"))["diagnostics"];
    ASSERT_FALSE(diagnostics.empty());
    const nlohmann::json& error = diagnostics.back();
    EXPECT_EQ(error["severity"], "error");
    EXPECT_EQ(error["file"], kTrain);
    EXPECT_EQ(error["line"], 26);
    EXPECT_EQ(error["code"], 8);
    EXPECT_EQ(error["position"], 1760);

    // Without a route length there is no cell to draw, but the page says why.
    writeFile(dir.path / "empty_linea.txt", "[generale]\r\n[fine]\r\n");
    const ToolRun empty =
        runTool(dir.path, words("view empty_linea.txt " + kTrain + " -o empty.html"));
    EXPECT_EQ(empty.status, 4);
    const nlohmann::json data = dataOf(readFile(dir.path / "empty.html"));
    EXPECT_EQ(data["cells"][0], nlohmann::json::array());
    EXPECT_FALSE(data["diagnostics"].empty());
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The page lists what check prints, line for line, whatever the sources hold: the checker's
// warnings too, each error with its meaning, the related record, and the note of a short build.
TEST(ViewCommand, ThePageListsExactlyTheLinesCheckPrints) {
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, std::string>> trainEdits, lineEdits;
        std::string expectedLine;  // one of the lines, worked out from the rules
    };
    const Case cases[] = {
        {"a checker's warning and an error with its meaning",
         {{"velocita,    1850,    60", "velocita,    1850,    62"},
          {"stazione,    1750", "stazione,    1760"}},
         {},
         kTrain + ":26:14: error 8: station position not a multiple of 50 (at 1760 m)"},
        // A gradient past the cell table stops the line file; the first signal carries it.
        {"an error carried from the other file",
         {},
         {{"pendenza,  2800 , 0 ", "pendenza,  40901 , 0 "}},
         ""},
        {"no route length",
         {},
         {{"lunghezza percorso", "lunghezze"}},
         "no track cell table (no route length was read): no scenario file written"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        ASSERT_EQ(runTool(dir.path, words("export --out .")).status, 0);
        for (const auto& [old, now] : c.trainEdits) replaceIn(dir.path / kTrain, old, now);
        for (const auto& [old, now] : c.lineEdits) replaceIn(dir.path / kLine, old, now);
        const ToolRun check = runTool(dir.path, words("check " + kLine + " " + kTrain));
        const ToolRun view =
            runTool(dir.path, words("view " + kLine + " " + kTrain + " -o r.html"));
        EXPECT_EQ(view.status, check.status);
        const nlohmann::json listed = dataOf(readFile(dir.path / "r.html"))["diagnostics"];
        std::vector<std::string> texts;
        for (const auto& d : listed) texts.push_back(d["text"]);
        const std::vector<std::string> printed = linesOf(check.err);
        EXPECT_FALSE(printed.empty());
        EXPECT_EQ(texts, printed);
        if (!c.expectedLine.empty()) {
            EXPECT_NE(std::find(texts.begin(), texts.end(), c.expectedLine), texts.end());
        }
    }
}

TEST(ViewCommand, AnErrorCarriedFromTheOtherFileNamesItsRecord) {
    TempDir dir;
    ASSERT_EQ(runTool(dir.path, words("export --out .")).status, 0);
    replaceIn(dir.path / kLine, "pendenza,  2800 , 0 ", "pendenza,  40901 , 0 ");
    runTool(dir.path, words("view " + kLine + " " + kTrain + " -o r.html"));
    const nlohmann::json listed = dataOf(readFile(dir.path / "r.html"))["diagnostics"];
    const auto carried = std::find_if(listed.begin(), listed.end(),
                                      [](const auto& d) { return !d["related"].is_null(); });
    ASSERT_NE(carried, listed.end()) << listed.dump();
    EXPECT_EQ((*carried)["file"], kTrain);
    EXPECT_EQ((*carried)["related"]["file"], kLine);
    EXPECT_EQ((*carried)["related"]["line"], 56);  // the gradient past the table
}

// What the train does at each station and when: the timetable's time is the departure, less the
// dwell the arrival, and at the last station the arrival itself.
TEST(ViewCommand, StationsSayWhenTheTrainArrivesAndDeparts) {
    TempDir dir;
    ASSERT_EQ(runTool(dir.path, words("export --out .")).status, 0);
    ASSERT_EQ(runTool(dir.path, words("new Starter 7")).status, 0);
    runTool(dir.path, words("view " + kLine + " " + kTrain + " -o built-in.html"));
    runTool(dir.path, words("view Starter_linea.txt Starter_7-.txt -o starter.html"));
    const nlohmann::json builtIn = dataOf(readFile(dir.path / "built-in.html"))["stations"];
    const nlohmann::json starter = dataOf(readFile(dir.path / "starter.html"))["stations"];
    const auto clock = [](int h, int m, int s) { return nlohmann::json((h * 60 + m) * 60 + s); };
    const nlohmann::json none;
    struct Case {
        const nlohmann::json& station;
        const char* name;
        const char* category;
        nlohmann::json arrival, departure;
    };
    const Case cases[] = {
        {builtIn[0], "ALDERI CENTRALE", "start", none, clock(14, 23, 0)},
        {builtIn[1], "ALDERI S. ROCCO", "not open", none, none},
        {builtIn[2], "BORGO VALLINA", "stop", clock(14, 25, 30), clock(14, 26, 0)},
        {builtIn[6], "COLLEBRUNO", "stop", clock(14, 38, 0), clock(14, 39, 0)},
        {builtIn[14], "MONCASTA", "terminus", clock(15, 13, 0), none},
        {starter[0], "ALFA", "start", none, clock(8, 15, 0)},
        {starter[1], "BETA", "terminus", clock(8, 22, 0), none},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.station["name"], c.name);
        EXPECT_EQ(c.station["category"], c.category);
        EXPECT_EQ(c.station["arrival"], c.arrival);
        EXPECT_EQ(c.station["departure"], c.departure);
    }
}

TEST(ViewCommand, UnusableInputsAreRefusedWithoutAPage) {
    TempDir dir;
    struct Case {
        std::string arguments;
        std::string message;
    };
    const Case cases[] = {
        {"view . -o r.html", "needs --name and --train"},
        {"view . --name E --train 7 -o r.html", "E_linea.dat: cannot read"},
        {"view missing_linea.txt missing-.txt -o r.html", "cannot read missing_linea.txt"},
        {"view a b c -o r.html", ""},
        {"view . --name ../x --train 7 -o r.html", ""},
    };
    for (const Case& c : cases) {
        const ToolRun run = runTool(dir.path, words(c.arguments));
        EXPECT_EQ(run.status, 2) << c.arguments;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.arguments << ": " << run.err;
        EXPECT_FALSE(fs::exists(dir.path / "r.html")) << c.arguments;
    }
}

}  // namespace
}  // namespace scenario
