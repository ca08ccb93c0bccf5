// scenario import from OpenStreetMap data: a small network with a junction, a siding and three
// stations, drawn in metres and written through the exact inverse of the importer's projection.
#include <fmt/format.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <string>

#include "tool/import/osm_reader.h"
#include "tool/import/track_fixture.h"
#include "tool/tool_runner.h"

namespace scenario {
namespace {

using namespace scenario::testing;

struct OsmNode {
    GeoPoint at;
    std::string tags;
};

// Way tags for each way; a way's nodes are given by their index in `nodes`, ids from 1.
struct OsmWay {
    std::vector<std::size_t> nodes;
    std::string tags;
};

std::string tag(const std::string& key, const std::string& value) {
    return fmt::format("<tag k=\"{}\" v=\"{}\"/>", key, value);
}

std::string osmText(const std::vector<OsmNode>& nodes, const std::vector<OsmWay>& ways,
                    const std::string& relations = "") {
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<osm version=\"0.6\">\n";
    for (std::size_t i = 0; i < nodes.size(); ++i)
        text +=
            fmt::format("<node id=\"{}\" version=\"1\" lat=\"{:.9f}\" lon=\"{:.9f}\">{}</node>\n",
                        i + 1, nodes[i].at.lat, nodes[i].at.lon, nodes[i].tags);
    for (std::size_t w = 0; w < ways.size(); ++w) {
        text += fmt::format("<way id=\"{}\" version=\"1\">", w + 1);
        for (std::size_t n : ways[w].nodes) text += fmt::format("<nd ref=\"{}\"/>", n + 1);
        text += ways[w].tags + "</way>\n";
    }
    return text + relations + "</osm>\n";
}

// A through line of 4 km (a straight, a 700 m arc, a straight) with a siding leaving it at 1 km
// that runs 1.5 km to a station of its own. The middle way is drawn against the line's direction.
struct Network {
    std::vector<OsmNode> nodes;
    std::vector<OsmWay> ways;
    double throughLength = 0;
    std::size_t lineEnd = 0;  // node index of the through line's last point
};

Network network(bool joined = true) {
    TrackDrawing line(10);
    line.straight(1000).straight(1000).arc(700, 800).straight(1200);
    TrackDrawing siding(10, 0.7 - 0.5);
    siding.straight(1500);
    std::vector<PlanePoint> plane = line.points();
    const PlanePoint junction = plane[100];
    for (PlanePoint p : siding.points()) {
        p.east += junction.east;
        p.north += junction.north;
        plane.push_back(p);
    }
    const std::vector<GeoPoint> geo = onGlobe(plane);
    Network net;
    net.throughLength = line.length();
    const std::size_t lineCount = line.points().size();
    for (const GeoPoint& p : geo) net.nodes.push_back({p, ""});
    net.lineEnd = lineCount - 1;
    const auto range = [](std::size_t from, std::size_t to) {
        std::vector<std::size_t> r;
        for (std::size_t i = from; i <= to; ++i) r.push_back(i);
        return r;
    };
    const std::string rail = tag("railway", "rail");
    net.ways.push_back({range(0, 100), rail + tag("maxspeed", "100")});
    // The middle way is a tunnel; in the broken network it stops 10 m short of the last way.
    std::vector<std::size_t> middle = range(100, joined ? 200 : 199);
    std::reverse(middle.begin(), middle.end());
    net.ways.push_back({middle, rail + tag("tunnel", "yes") + tag("maxspeed", "80")});
    net.ways.push_back({range(200, lineCount - 1), rail + tag("maxspeed", "120")});
    std::vector<std::size_t> spur = {100};
    for (std::size_t i = lineCount + 1; i < geo.size(); ++i) spur.push_back(i);
    net.ways.push_back({spur, tag("railway", "rail") + tag("service", "siding")});
    // The end stations stand 20 m past the line's ends, so that its end nodes are nearest.
    const auto beyond = [&](std::size_t end, std::size_t inner) {
        GeoPoint p = geo[end];
        p.lat += 2 * (geo[end].lat - geo[inner].lat);
        p.lon += 2 * (geo[end].lon - geo[inner].lon);
        return p;
    };
    const auto station = [&](GeoPoint p, const std::string& kind, const std::string& name) {
        const bool stop = kind == "stop";
        net.nodes.push_back(
            {p, tag(stop ? "public_transport" : "railway", stop ? "stop_position" : kind) +
                    (stop ? tag("train", "yes") : "") + tag("name", name)});
    };
    station(beyond(0, 1), "station", "Alfa");
    station(beyond(net.lineEnd, net.lineEnd - 1), "halt", "Beta");
    GeoPoint stop = geo[net.lineEnd - 3];
    stop.lat += 0.0005;  // 55 m off: the same station's stop position, no second station
    station(stop, "stop", "Beta");
    station(geo.back(), "station", "Gamma");
    return net;
}

struct Imported {
    ToolRun run;
    nlohmann::json report;
};

Imported importOsm(const TempDir& dir, const std::string& file, std::vector<std::string> extra) {
    std::vector<std::string> arguments = {"import", file,    "--name", "Linea", "--train",
                                          "1",      "--out", "out",    "--json"};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    Imported imported{runTool(dir.path, arguments), {}};
    if (imported.run.status == 0) imported.report = nlohmann::json::parse(imported.run.out);
    return imported;
}

TEST(OsmImport, TakesTheThroughRouteBetweenTwoStationsNotTheSiding) {
    const Network net = network();
    const std::string relation =
        "<relation id=\"9\" version=\"1\"><member type=\"way\" ref=\"1\" role=\"\"/>"
        "<member type=\"way\" ref=\"2\" role=\"\"/><member type=\"way\" ref=\"3\" role=\"\"/>" +
        tag("type", "route") + tag("route", "train") + tag("name", "Alfa - Beta") + "</relation>\n";
    const struct {
        const char* name;
        std::vector<std::string> request;
    } cases[] = {
        {"two stations", {"--from", "Alfa", "--to", "Beta"}},
        {"relation by name", {"--relation", "Alfa - Beta"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        writeFile(dir.path / "net.osm", osmText(net.nodes, net.ways, relation));
        const Imported imported = importOsm(dir, "net.osm", c.request);
        ASSERT_EQ(imported.run.status, 0) << imported.run.err;
        const nlohmann::json& r = imported.report;
        EXPECT_NEAR(r["routeLength"].get<double>(), net.throughLength, 1) << r.dump();
        EXPECT_LE(r["maxDeviation"].get<double>(), 1) << r.dump();
        EXPECT_EQ(r["records"]["tunnel"], 1);
        EXPECT_EQ(r["records"]["station"], 2) << r.dump();
        const ToolRun checked =
            runTool(dir.path / "out", {"check", "Linea_linea.txt", "Linea_1-.txt", "-Werror"});
        EXPECT_EQ(checked.status, 0) << checked.err;
        const std::string line = readFile(dir.path / "out" / "Linea_linea.txt");
        const std::string train = readFile(dir.path / "out" / "Linea_1-.txt");
        EXPECT_NE(line.find("montagna,  1000,  2000,  11"), std::string::npos) << line;
        EXPECT_NE(train.find("velocita,    0,    100\r\nvelocita,    1000,    80\r\n"
                             "velocita,    2000,    120\r\n"),
                  std::string::npos)
            << train;
        EXPECT_NE(train.find(", Alfa\r\n"), std::string::npos) << train;
        EXPECT_NE(train.find(", Beta\r\n"), std::string::npos) << train;
        EXPECT_EQ(train.find("Gamma"), std::string::npos) << train;
    }
}

TEST(OsmImport, RefusesWhatNoPathJoinsAndWritesNothing) {
    const struct {
        const char* name;
        bool joined;
        std::vector<std::string> request;
        const char* says;
    } cases[] = {
        {"broken line", false, {"--from", "Alfa", "--to", "Beta"}, "no railway joins"},
        {"unknown station", true, {"--from", "Alfa", "--to", "Delta"}, "no station named"},
        {"unknown relation", true, {"--relation", "12"}, "no route=train relation 12"},
        {"no request", true, {}, "needs --from and --to, or --relation"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Network net = network(c.joined);
        TempDir dir;
        writeFile(dir.path / "net.osm", osmText(net.nodes, net.ways));
        const Imported imported = importOsm(dir, "net.osm", c.request);
        EXPECT_EQ(imported.run.status, 2);
        EXPECT_NE(imported.run.err.find(c.says), std::string::npos) << imported.run.err;
        EXPECT_NE(imported.run.err.find("nothing written"), std::string::npos);
        EXPECT_FALSE(fs::exists(dir.path / "out"));
    }
    TempDir dir;
    writeFile(dir.path / "bomb.osm",
              "<?xml version=\"1.0\"?>\n<!DOCTYPE osm [<!ENTITY a \"aaaaaaaaaa\">]>\n"
              "<osm version=\"0.6\"><node id=\"1\" version=\"1\" lat=\"1\" lon=\"1\">"
              "<tag k=\"name\" v=\"&a;\"/></node></osm>\n");
    const Imported bomb = importOsm(dir, "bomb.osm", {"--from", "a", "--to", "b"});
    EXPECT_EQ(bomb.run.status, 2);
    EXPECT_NE(bomb.run.err.find("entities are not supported"), std::string::npos) << bomb.run.err;
}

TEST(OsmImport, PbfConvertedByOsmiumReadsTheSame) {
    if (std::system("osmium --version >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "osmium-tool is not installed (scripts/setup test)";
    const Network net = network();
    TempDir dir;
    writeFile(dir.path / "net.osm", osmText(net.nodes, net.ways));
    const std::string convert = "osmium cat '" + (dir.path / "net.osm").string() + "' -o '" +
                                (dir.path / "net.osm.pbf").string() + "' 2>&1";
    ASSERT_EQ(std::system(convert.c_str()), 0);
    const std::vector<std::string> request = {"--from", "Alfa", "--to", "Beta"};
    const Imported xml = importOsm(dir, "net.osm", request);
    ASSERT_EQ(xml.run.status, 0) << xml.run.err;
    const std::string line = readFile(dir.path / "out" / "Linea_linea.txt");
    const std::string train = readFile(dir.path / "out" / "Linea_1-.txt");
    fs::remove_all(dir.path / "out");
    const Imported pbf = importOsm(dir, "net.osm.pbf", request);
    ASSERT_EQ(pbf.run.status, 0) << pbf.run.err;
    std::string pbfLine = readFile(dir.path / "out" / "Linea_linea.txt");
    pbfLine.replace(pbfLine.find("net.osm.pbf"), 11, "net.osm");
    EXPECT_EQ(pbfLine, line);
    EXPECT_EQ(readFile(dir.path / "out" / "Linea_1-.txt"), train);
}

TEST(OsmImport, MaxspeedTagsInKilometresPerHour) {
    const struct {
        const char* value;
        int kmh;
    } cases[] = {{"100", 100}, {"80 mph", 130}, {"62", 60},
                 {"none", 0},  {"signals", 0},  {"1000", 300}};
    for (const auto& c : cases) EXPECT_EQ(maxspeedKmh(c.value), c.kmh) << c.value;
}

}  // namespace
}  // namespace scenario
