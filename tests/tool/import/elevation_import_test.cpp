// Heights for a flat track from a table of route metres or from SRTM tiles: a tile of a plane
// z = a + b·lon + c·lat, which bilinear interpolation gives back exactly.
#include <gtest/gtest.h>

#include <cmath>
#include <nlohmann/json.hpp>
#include <string>

#include "tool/import/track_fixture.h"
#include "tool/tool_runner.h"

namespace scenario {
namespace {

using namespace scenario::testing;

double plane(double lat, double lon) {
    return 200 + 1200 * (lon - 11) + 2400 * (lat - 46);
}

// The 3 arc-second tile N46E011: row 0 is the north edge, column 0 the west edge.
std::string tileOfPlane() {
    constexpr int kSide = 1201;
    std::string bytes;
    bytes.reserve(kSide * kSide * 2);
    for (int row = 0; row < kSide; ++row)
        for (int col = 0; col < kSide; ++col) {
            const auto h = static_cast<std::uint16_t>(
                std::lround(plane(47 - row / 1200.0, 11 + col / 1200.0)));
            bytes += static_cast<char>(h >> 8);
            bytes += static_cast<char>(h & 0xFF);
        }
    return bytes;
}

ToolRun importWith(const TempDir& dir, std::vector<std::string> extra) {
    std::vector<std::string> arguments = {"import", "flat.gpx", "--name", "Linea", "--train",
                                          "1",      "--out",    "out",    "--json"};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    return runTool(dir.path, arguments);
}

TEST(ElevationImport, HeightsFromTilesAndTablesReachTheProfile) {
    TrackDrawing drawing;
    drawing.straight(1500).arc(1000, 800).straight(1700);
    const std::vector<GeoPoint> points = onGlobe(drawing.points());
    TempDir dir;
    writeFile(dir.path / "flat.gpx", gpxText({points}, {}, false));
    fs::create_directories(dir.path / "dem");
    writeFile(dir.path / "dem" / "N46E011.hgt", tileOfPlane());
    writeFile(dir.path / "heights.csv", "metre,height\n0,100\n2000,140\n4000,110\n");
    const struct {
        const char* name;
        std::vector<std::string> flags;
        double startHeight;
    } cases[] = {
        {"tiles", {"--dem", "dem"}, plane(points.front().lat, points.front().lon)},
        {"table", {"--elevation", "heights.csv"}, 100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(dir.path / "out");
        const ToolRun run = importWith(dir, c.flags);
        ASSERT_EQ(run.status, 0) << run.err;
        const nlohmann::json report = nlohmann::json::parse(run.out);
        EXPECT_FALSE(report["flat"].get<bool>());
        EXPECT_LE(report["elevationMaxError"].get<double>(), 2) << report.dump();
        EXPECT_GT(report["records"]["gradient"].get<int>(), 1) << report.dump();
        const std::string line = readFile(dir.path / "out" / "Linea_linea.txt");
        const std::size_t at = line.find("Altitudine iniziale INIZIO = ");
        ASSERT_NE(at, std::string::npos) << line;
        EXPECT_NEAR(std::stod(line.substr(at + 29)), c.startHeight, 1) << line;
    }
}

TEST(ElevationImport, RefusesBadHeightsAndWritesNothing) {
    TrackDrawing drawing;
    drawing.straight(2000);
    TempDir dir;
    writeFile(dir.path / "flat.gpx", gpxText({onGlobe(drawing.points())}, {}, false));
    writeFile(dir.path / "rows.csv", "0,100\n500,abc\n");
    writeFile(dir.path / "back.csv", "0,100\n500,110\n400,120\n");
    fs::create_directories(dir.path / "empty");
    fs::create_directories(dir.path / "short");
    writeFile(dir.path / "short" / "N46E011.hgt", std::string(1000, '\0'));
    const struct {
        std::vector<std::string> flags;
        const char* says;
    } cases[] = {
        {{"--elevation", "rows.csv"}, "rows.csv:2: not a route metre and a height"},
        {{"--elevation", "back.csv"}, "back.csv:3: the metres must increase"},
        {{"--dem", "empty"}, "no elevation tile"},
        {{"--dem", "short"}, "not a 1201 or 3601 square tile"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.says);
        const ToolRun run = importWith(dir, c.flags);
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
        EXPECT_FALSE(fs::exists(dir.path / "out"));
    }
}

}  // namespace
}  // namespace scenario
