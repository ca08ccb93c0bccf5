// scenario import against tracks of known geometry: the compiled plan must stay on them, the
// files must check clean, and bad input must be refused with nothing written.
#include <gtest/gtest.h>

#include <cstdlib>
#include <nlohmann/json.hpp>
#include <string>

#include "tool/import/track_fixture.h"
#include "tool/tool_runner.h"

namespace scenario {
namespace {

using namespace scenario::testing;

struct Imported {
    ToolRun run;
    nlohmann::json report;
};

Imported importTrack(const TempDir& dir, const std::string& file, const std::string& text,
                     std::vector<std::string> extra = {}) {
    writeFile(dir.path / file, text);
    std::vector<std::string> arguments = {"import", file,    "--name", "Linea", "--train",
                                          "1",      "--out", "out",    "--json"};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    Imported imported{runTool(dir.path, arguments), {}};
    if (imported.run.status == 0) imported.report = nlohmann::json::parse(imported.run.out);
    return imported;
}

void expectChecksClean(const TempDir& dir) {
    const ToolRun checked =
        runTool(dir.path / "out", {"check", "Linea_linea.txt", "Linea_1-.txt", "-Werror"});
    EXPECT_EQ(checked.status, 0) << checked.err;
    EXPECT_EQ(checked.err, "");
}

TEST(ImportCommand, PlanFollowsTracksOfKnownGeometry) {
    const double classSix = 1 / 0.003;
    const struct {
        const char* name;
        TrackDrawing drawing;
        double bound;  // m of lateral deviation
    } cases[] = {
        {"straight", TrackDrawing().straight(3000), 0.5},
        {"class 6 arc", TrackDrawing().straight(500).arc(classSix, 600).straight(500), 1},
        {"class 1 arc", TrackDrawing().straight(500).arc(10000, 2000).straight(500), 1},
        {"arc of 333 m", TrackDrawing().straight(500).arc(-333, 600).straight(500), 1},
        {"arc of 700 m", TrackDrawing().straight(500).arc(700, 900).straight(500), 5},
        {"arc of 2000 m", TrackDrawing().straight(500).arc(-2000, 1500).straight(500), 5},
        {"clothoid into an arc",
         TrackDrawing().straight(500).clothoid(700, 150).arc(700, 600).clothoid(1e12, 150).straight(
             500),
         5},
        {"S-curve", TrackDrawing().straight(400).arc(1000, 500).arc(-1000, 500).straight(400), 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const Imported imported =
            importTrack(dir, "track.gpx", gpxText({onGlobe(c.drawing.points())}));
        ASSERT_EQ(imported.run.status, 0) << imported.run.err;
        const nlohmann::json& r = imported.report;
        EXPECT_LE(r["maxDeviation"].get<double>(), c.bound) << r.dump();
        EXPECT_NEAR(r["routeLength"].get<double>(), c.drawing.length(), 1);
        EXPECT_NEAR(r["trackLength"].get<double>(), c.drawing.length(), 0.5);
        EXPECT_LE(r["elevationMaxError"].get<double>(), 2);
        expectChecksClean(dir);
    }
}

TEST(ImportCommand, LongLineWithRampAndTunnelStaysOnTrackAndProfile) {
    TrackDrawing line;
    line.straight(1500)
        .arc(1 / 0.003, 500)
        .straight(1000)
        .climb(12)
        .arc(-700, 1200)
        .straight(2000)
        .clothoid(2000, 200)
        .arc(2000, 2000)
        .clothoid(1e12, 200)
        .straight(1500)
        .tunnel(true)
        .climb(-5)
        .straight(2500)
        .tunnel(false)
        .arc(10000, 3000)
        .climb(0)
        .straight(2000)
        .arc(-1000, 1500)
        .arc(1000, 1500)
        .straight(3000)
        .climb(20)
        .arc(-333, 400)
        .straight(3000)
        .climb(0)
        .straight(3000);
    TempDir dir;
    const Imported imported = importTrack(dir, "line.geojson", geoJsonText(onGlobe(line.points())));
    ASSERT_EQ(imported.run.status, 0) << imported.run.err;
    const nlohmann::json& r = imported.report;
    EXPECT_GE(line.length(), 30000);
    EXPECT_LE(r["maxDeviation"].get<double>(), 5) << r.dump();
    EXPECT_NEAR(r["routeLength"].get<double>(), line.length(), 1);
    EXPECT_LE(r["elevationMaxError"].get<double>(), 2) << r.dump();
    EXPECT_EQ(r["records"]["tunnel"], 1);
    EXPECT_GT(r["records"]["gradient"].get<int>(), 3);
    expectChecksClean(dir);
    const std::string lineFile = readFile(dir.path / "out" / "Linea_linea.txt");
    EXPECT_NE(lineFile.find("\r\nmontagna,  "), std::string::npos);
    EXPECT_NE(lineFile.find("\r\n- Altitudine iniziale "), std::string::npos);
}

// Not yet met: on 3 m scatter the steering strays 20 to 35 m on an arc and lays a few curves on
// some straights. The line through the true points scores 7 to 8 m already, against the
// scattered points, so the plan has 2 m to spare.
TEST(ImportCommand, DISABLED_ScatteredPointsStayWithinTenMetresAndAStraightStaysStraight) {
    const struct {
        const char* name;
        TrackDrawing drawing;
        bool straight;
    } cases[] = {
        {"straight", TrackDrawing(10).straight(5000).scatter(3, 27), true},
        {"arc", TrackDrawing(10).straight(1000).arc(700, 1500).straight(1000).scatter(3, 28),
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const Imported imported =
            importTrack(dir, "noisy.gpx", gpxText({onGlobe(c.drawing.points())}, {}, false));
        ASSERT_EQ(imported.run.status, 0) << imported.run.err;
        const nlohmann::json& r = imported.report;
        EXPECT_LE(r["maxDeviation"].get<double>(), 10) << r.dump();
        EXPECT_TRUE(r["flat"].get<bool>());
        if (c.straight) {
            EXPECT_EQ(r["records"]["curve"], 0) << r.dump();
        }
        expectChecksClean(dir);
    }
}

// A real GPX writer's output: gpsbabel rewrites the track in its own layout and precision.
TEST(ImportCommand, TrackRewrittenByGpsbabelImportsToTheSameGeometry) {
    if (std::system("gpsbabel -V >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "gpsbabel is not installed (scripts/setup test)";
    TrackDrawing drawing;
    drawing.straight(800).clothoid(700, 150).arc(700, 600).clothoid(1e12, 150).climb(10).straight(
        1500);
    const std::vector<GeoPoint> points = onGlobe(drawing.points());
    TempDir dir;
    writeFile(dir.path / "ours.gpx",
              gpxText({points}, {{"Monte", points[500].lat, points[500].lon}}));
    const std::string convert = "gpsbabel -i gpx -f '" + (dir.path / "ours.gpx").string() +
                                "' -o gpx -F '" + (dir.path / "theirs.gpx").string() + "' 2>&1";
    ASSERT_EQ(std::system(convert.c_str()), 0);
    const Imported ours = importTrack(dir, "ours.gpx", readFile(dir.path / "ours.gpx"));
    ASSERT_EQ(ours.run.status, 0) << ours.run.err;
    fs::remove_all(dir.path / "out");
    const Imported theirs = importTrack(dir, "theirs.gpx", readFile(dir.path / "theirs.gpx"));
    ASSERT_EQ(theirs.run.status, 0) << theirs.run.err;
    const nlohmann::json& a = ours.report;
    const nlohmann::json& b = theirs.report;
    EXPECT_NEAR(b["trackLength"].get<double>(), drawing.length(), 0.5) << b.dump();
    EXPECT_EQ(b["routeLength"], a["routeLength"]);
    EXPECT_LE(b["maxDeviation"].get<double>(), 5) << b.dump();
    EXPECT_NEAR(b["maxDeviation"].get<double>(), a["maxDeviation"].get<double>(), 0.1);
    EXPECT_LE(b["elevationMaxError"].get<double>(), 2) << b.dump();
    // Rounded coordinates may move a curve's ends by a metre, not its stations or gradients.
    EXPECT_EQ(b["records"]["station"], a["records"]["station"]);
    EXPECT_EQ(b["records"]["gradient"], a["records"]["gradient"]);
    expectChecksClean(dir);
}

TEST(ImportCommand, StationsAreProjectedTransliteratedAndMerged) {
    TrackDrawing drawing;
    drawing.straight(6000);
    const std::vector<GeoPoint> points = onGlobe(drawing.points());
    const auto at = [&](std::size_t metre) { return points[metre / 5]; };
    const std::vector<Place> places = {
        {"Győr", at(1010).lat, at(1010).lon},
        {"Borgo, Nord", at(1300).lat, at(1300).lon},  // 300 m on: merged
        {"Łódź", at(4480).lat, at(4480).lon},
    };
    TempDir dir;
    const Imported imported = importTrack(dir, "stations.gpx", gpxText({points}, places));
    ASSERT_EQ(imported.run.status, 0) << imported.run.err;
    EXPECT_EQ(imported.report["records"]["station"], 2);
    const std::string notes = imported.report["notes"].dump();
    EXPECT_NE(notes.find("ő -> o"), std::string::npos) << notes;
    EXPECT_NE(notes.find("Ł -> L"), std::string::npos) << notes;
    EXPECT_NE(notes.find("merged into Gy"), std::string::npos) << notes;
    const std::string train = readFile(dir.path / "out" / "Linea_1-.txt");
    EXPECT_NE(train.find("stazione,    1000,  4,  200,"), std::string::npos) << train;
    EXPECT_NE(train.find(", Gyor\r\n"), std::string::npos) << train;
    EXPECT_NE(train.find("stazione,    4500,  4,  200,  1,"), std::string::npos) << train;
    EXPECT_NE(train.find(", L\xF3"
                         "dz\r\n"),
              std::string::npos)
        << train;  // ó is in the code page
    expectChecksClean(dir);
}

TEST(ImportCommand, RefusesBadTracksAndWritesNothing) {
    TrackDrawing drawing;
    drawing.straight(1000);
    const std::vector<GeoPoint> points = onGlobe(drawing.points());
    std::vector<GeoPoint> farPart = points;
    for (GeoPoint& p : farPart) p.lat += 0.01;  // about 1.1 km north
    const std::string onePoint = gpxText({{points.front()}});
    std::string outOfRange = gpxText({points});
    outOfRange.replace(outOfRange.find("lat=\"") + 5, 2, "95");
    std::string notANumber = gpxText({points});
    notANumber.replace(notANumber.find("lon=\"") + 5, 2, "na");
    notANumber.replace(notANumber.find("lon=\"na") + 5, 13, "nan");
    const struct {
        const char* name;
        const char* file;
        std::string text;
        const char* says;
    } cases[] = {
        {"malformed XML", "a.gpx", "<gpx><trk><trkseg><trkpt lat=\"1\" lon=\"2\">",
         "malformed GPX"},
        {"entity bomb", "b.gpx",
         "<?xml version=\"1.0\"?>\n<!DOCTYPE gpx [<!ENTITY a \"aaaaaaaaaa\">"
         "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">]>\n<gpx><wpt lat=\"1\" lon=\"1\">"
         "<name>&b;</name></wpt></gpx>",
         "document type declaration is refused"},
        {"one point", "c.gpx", onePoint, "only one point"},
        {"route inside a point", "i.gpx",
         "<gpx><rte><rtept lat=\"1\" lon=\"2\"><rte><rtept lat=\"1\" lon=\"2\"/></rte>"
         "</rtept></rte></gpx>",
         "rte inside a point"},
        {"latitude out of range", "d.gpx", outOfRange, "out of range"},
        {"NaN", "e.gpx", notANumber, "out of range"},
        {"malformed JSON", "f.geojson", "{\"type\": \"FeatureCollection\", \"features\": [",
         "malformed GeoJSON"},
        {"JSON without a track", "g.geojson", "{\"type\": \"FeatureCollection\", \"features\": []}",
         "no points"},
        {"segments far apart", "h.gpx", gpxText({points, farPart}), "more than the 500 m"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const Imported imported = importTrack(dir, c.file, c.text);
        EXPECT_EQ(imported.run.status, 2);
        EXPECT_NE(imported.run.err.find(c.says), std::string::npos) << imported.run.err;
        EXPECT_NE(imported.run.err.find("nothing written"), std::string::npos) << imported.run.err;
        EXPECT_FALSE(fs::exists(dir.path / "out"));
    }
}

TEST(ImportCommand, JoinsTrackSegmentsAShortGapApart) {
    TrackDrawing drawing;
    drawing.straight(2000);
    const std::vector<GeoPoint> points = onGlobe(drawing.points());
    const std::vector<GeoPoint> first(points.begin(), points.begin() + 200);
    const std::vector<GeoPoint> second(points.begin() + 240, points.end());  // 205 m missing
    TempDir dir;
    const Imported imported = importTrack(dir, "gap.gpx", gpxText({first, second}));
    ASSERT_EQ(imported.run.status, 0) << imported.run.err;
    EXPECT_NE(imported.report["notes"].dump().find("205 m apart: joined"), std::string::npos)
        << imported.report.dump();
    EXPECT_NEAR(imported.report["routeLength"].get<double>(), 2000, 1);
    expectChecksClean(dir);
}

}  // namespace
}  // namespace scenario
