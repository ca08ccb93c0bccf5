// scenario plot draws a compiled scenario that a real renderer draws without error: the route,
// its profiles and its labels, on round kilometres for a short and a very long route.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "tool/fixture_model.h"
#include "tool/png_pixels.h"
#include "tool/tool_runner.h"

namespace scenario {
namespace {

using namespace scenario::testing;

// Renders the SVG with rsvg-convert; returns the pixels, or their error.
Pixels render(const fs::path& svg) {
    const fs::path png = fs::path(svg).replace_extension(".png");
    const std::string command =
        "rsvg-convert " + quoted(svg.string()) + " -o " + quoted(png.string()) + " 2>&1";
    if (std::system(command.c_str()) != 0) {
        Pixels failed;
        failed.error = "rsvg-convert failed";
        return failed;
    }
    return readPng(png);
}

// Every part of the picture leaves its colour: ink of the track and labels, green of the
// elevation, purple of the speed limits, blue of the stations.
void expectDrawn(const Pixels& p) {
    ASSERT_EQ(p.error, "");
    ASSERT_GT(p.width * p.height, 0u);
    const double all = double(p.width) * p.height;
    const std::size_t ink = countPixels(p, [](int r, int g, int b) { return r + g + b < 600; });
    EXPECT_GT(ink / all, 0.01);
    EXPECT_LT(ink / all, 0.5);
    EXPECT_GT(countPixels(p, [](int r, int g, int b) { return g > r + 40 && g > b + 40; }), 500u);
    EXPECT_GT(countPixels(p, [](int r, int g, int b) { return b > g + 50 && r > g + 20; }), 500u);
    EXPECT_GT(countPixels(p, [](int r, int g, int b) { return b > r + 80 && b > g + 40; }), 200u);
}

bool holdsText(const std::string& svg, const std::string& text) {
    return svg.find(">" + text + "</text>") != std::string::npos;
}

TEST(PlotCommand, TheBuiltInScenarioRendersWithItsStationsAndRoundKilometres) {
    TempDir dir;
    ASSERT_EQ(runScenarioProgram(dir.path), 0);
    const ToolRun run = runTool(dir.path, {"plot", ".", "--name", "Alderi_Moncasta", "--train",
                                           "30752", "-o", "route.svg"});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string svg = readFile(dir.path / "route.svg");
    for (const char* name : {"ALDERI CENTRALE", "MONCASTA", "start", "end, 34.0 km", "tunnel"})
        EXPECT_TRUE(holdsText(svg, name)) << name;
    // 34 km cut into about a dozen steps: every 5 km.
    for (const char* km : {"0", "5", "30"}) EXPECT_TRUE(holdsText(svg, km)) << km;
    EXPECT_FALSE(holdsText(svg, "35"));
    expectDrawn(render(dir.path / "route.svg"));
}

TEST(PlotCommand, AShortRouteGetsHalfKilometres) {
    TempDir dir;
    ASSERT_EQ(runTool(dir.path, fixtureCompile()).status, 0);
    ASSERT_EQ(runTool(dir.path, {"plot", ".", "--name", "E", "--train", "7", "-o", "e.svg"}).status,
              0);
    const std::string svg = readFile(dir.path / "e.svg");
    for (const char* km : {"0.5", "5.5", "6.0", "PRIMA", "ULTIMA S. M."})
        EXPECT_TRUE(holdsText(svg, km)) << km;
    EXPECT_EQ(render(dir.path / "e.svg").error, "");
}

// A 1000 km line of gentle curves to either side, rolling gradients and a tunnel every 47 km;
// a station every 20 km and a signal every 5 km.
void writeLongRoute(const fs::path& dir) {
    std::string line = "[generale]\r\nlunghezza percorso, 1000000\r\n[curve]\r\n";
    for (int i = 0, p = 3000; p < 985000; ++i, p += 6000)
        line += "curva" + std::string(i % 2 ? "d" : "s") + "4, " + std::to_string(p) + ", 900\r\n";
    line += "[pendenze]\r\n";
    for (int i = 0, p = 0; p < 1000000; ++i, p += 5000)
        line += "pendenza, " + std::to_string(p) + ", " +
                std::to_string(static_cast<int>(12 * std::sin(i / 7.0))) + "\r\n";
    line += "[montagne]\r\n";
    for (int p = 30000; p < 990000; p += 47000)
        line += "montagna, " + std::to_string(p) + ", " + std::to_string(p + 2500) + ", 11\r\n";
    writeFile(dir / "L_linea.txt", line + "[fine]\r\n");

    std::string train = "[generale]\r\naderenza, 0, 90\r\n";
    for (int i = 0, p = 0; p < 1000000; ++i, p += 25000)
        train +=
            "velocita, " + std::to_string(p) + ", " + std::to_string(90 + 10 * (i % 6)) + "\r\n";
    for (int i = 0, p = 0; p < 999000; ++i, p += 20000)
        train += "stazione, " + std::to_string(p) + ", " + (i % 3 ? "22" : "27") +
                 ", 400, 0, 0, 0, 0,0,0, 0,0,0, 30, 10,0,0, STAZIONE " + std::to_string(i + 1) +
                 "\r\n";
    for (int p = 2600; p < 998000; p += 5000)
        train += "segnale, " + std::to_string(p) + ", 2, 4, 0, 0, 0, 2, 2,1,0, 0\r\n";
    writeFile(dir / "L_1-.txt", train + "[fine]\r\n");
}

TEST(PlotCommand, AThousandKilometreRouteStaysReadable) {
    TempDir dir;
    writeLongRoute(dir.path);
    const ToolRun compiled =
        runTool(dir.path, {"compile", "L_linea.txt", "L_1-.txt", "--name", "L", "--train", "1"});
    ASSERT_EQ(compiled.status, 0) << compiled.err;
    ASSERT_EQ(
        runTool(dir.path, {"plot", ".", "--name", "L", "--train", "1", "-o", "long.svg"}).status,
        0);
    const std::string svg = readFile(dir.path / "long.svg");
    EXPECT_LT(svg.size(), 2'000'000u);
    for (const char* km : {"100", "500", "1000", "STAZIONE 50"})
        EXPECT_TRUE(holdsText(svg, km)) << km;
    EXPECT_FALSE(holdsText(svg, "950"));  // every 100 km, not 50
    expectDrawn(render(dir.path / "long.svg"));
}

TEST(PlotCommand, MissingOrBrokenFilesAreNamed) {
    TempDir dir;
    const ToolRun missing =
        runTool(dir.path, {"plot", ".", "--name", "E", "--train", "7", "-o", "e.svg"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("E_linea.dat: cannot read"), std::string::npos) << missing.err;
    EXPECT_FALSE(fs::exists(dir.path / "e.svg"));
}

}  // namespace
}  // namespace scenario
