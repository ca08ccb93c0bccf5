// scenario plot draws a compiled scenario that a real renderer draws without error: the route,
// its profiles and its labels, on round kilometres for a short and a very long route.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

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

// A 300 km line winding both ways, with 60 stations every 5 km and 150 signals every 2 km.
void writeRouteOf300Km(const fs::path& dir) {
    std::string line = "[generale]\r\nlunghezza percorso, 300000\r\n[curve]\r\n";
    for (int i = 0, p = 1000; p < 298000; ++i, p += 3000)
        line += "curva" + std::string(i % 3 ? "d" : "s") + std::to_string(1 + i % 4) + ", " +
                std::to_string(p) + ", 1500\r\n";
    writeFile(dir / "M_linea.txt", line + "[fine]\r\n");
    std::string train = "[generale]\r\nvelocita, 0, 120\r\n";
    for (int i = 0; i < 60; ++i)
        train += "stazione, " + std::to_string(5000 * i) + ", " + (i % 4 ? "22" : "27") +
                 ", 400, 0, 0, 0, 0,0,0, 0,0,0, 30, 10,0,0, LOCALITA NUMERO " +
                 std::to_string(i + 1) + "\r\n";
    for (int j = 0; j < 150; ++j)
        train += "segnale, " + std::to_string(2000 * j + 600) + ", 2, 4, 0, 0, 0, 2, 2,1,0, 0\r\n";
    writeFile(dir / "M_1-.txt", train + "[fine]\r\n");
}

// The 300 km route compiled and plotted whole: the SVG, or nothing when a step failed.
std::string plotRouteOf300Km(const fs::path& dir) {
    writeRouteOf300Km(dir);
    if (runTool(dir, words("compile M_linea.txt M_1-.txt --name M --train 1")).status != 0)
        return {};
    if (runTool(dir, words("plot . --name M --train 1 -o m.svg")).status != 0) return {};
    return readFile(dir / "m.svg");
}

struct TextBox {
    double left, right, top, bottom;
    std::string text;
};

// The room each <text> takes, with the same width per character the picture assumes; a text
// turned by -90 degrees runs upwards from its anchor.
std::vector<TextBox> textBoxes(const std::string& svg) {
    static const std::regex text(
        "<text x=\"([-0-9.]+)\" y=\"([-0-9.]+)\" font-size=\"([0-9]+)\" "
        "text-anchor=\"([a-z]+)\"( transform=\"rotate)?[^>]*>([^<]*)</text>");
    std::vector<TextBox> boxes;
    for (std::sregex_iterator m(svg.begin(), svg.end(), text), end; m != end; ++m) {
        const double x = std::stod((*m)[1]), y = std::stod((*m)[2]), size = std::stod((*m)[3]);
        const std::string anchor = (*m)[4], content = (*m)[6];
        double chars = 0;
        for (unsigned char c : content) chars += (c & 0xC0) != 0x80;
        const double w = 0.6 * size * chars;
        if ((*m)[5].matched) {
            boxes.push_back({x - size, x + 0.2 * size, y - w, y, content});
            continue;
        }
        const double left = anchor == "start" ? x : anchor == "end" ? x - w : x - w / 2;
        boxes.push_back({left, left + w, y - size, y + 0.2 * size, content});
    }
    return boxes;
}

TEST(PlotCommand, ALongRouteLabelsOrTooltipsEveryStationAndNoLabelsOverlap) {
    TempDir dir;
    const std::string svg = plotRouteOf300Km(dir.path);
    ASSERT_FALSE(svg.empty());
    for (int i = 1; i <= 60; ++i) {
        const std::string name = "LOCALITA NUMERO " + std::to_string(i);
        EXPECT_TRUE(holdsText(svg, name) || svg.find("<title>" + name + ",") != std::string::npos)
            << name;
    }
    // Every signal and station mark has its tooltip.
    EXPECT_EQ(std::regex_search(svg, std::regex("<(circle|polygon)[^>]*/>")), false);
    const std::vector<TextBox> boxes = textBoxes(svg);
    ASSERT_GT(boxes.size(), 100u);
    for (std::size_t a = 0; a < boxes.size(); ++a)
        for (std::size_t b = a + 1; b < boxes.size(); ++b) {
            const TextBox &p = boxes[a], &q = boxes[b];
            const bool overlap = p.left < q.right - 0.5 && q.left < p.right - 0.5 &&
                                 p.top < q.bottom - 0.5 && q.top < p.bottom - 0.5;
            EXPECT_FALSE(overlap) << "\"" << p.text << "\" and \"" << q.text << "\"";
        }
    expectDrawn(render(dir.path / "m.svg"));
}

// The plan's track: the first dark polyline.
std::vector<std::pair<double, double>> trackPoints(const std::string& svg) {
    const std::string trackStart = "<polyline points=\"";
    const auto trackAt = svg.find("\" fill=\"none\" stroke=\"#333333\"");
    if (trackAt == std::string::npos) return {};
    const auto pointsAt = svg.rfind(trackStart, trackAt) + trackStart.size();
    std::istringstream points(svg.substr(pointsAt, trackAt - pointsAt));
    std::vector<std::pair<double, double>> track;
    for (double x, y; points >> x && points.ignore(1) && points >> y;) track.emplace_back(x, y);
    return track;
}

// Whether the segment from a to b passes through the box, sampled finely enough for a label.
bool crosses(const TextBox& box, std::pair<double, double> a, std::pair<double, double> b) {
    const int steps = 1 + int(std::hypot(b.first - a.first, b.second - a.second));
    for (int k = 0; k <= steps; ++k) {
        const double x = a.first + (b.first - a.first) * k / steps;
        const double y = a.second + (b.second - a.second) * k / steps;
        if (x > box.left && x < box.right && y > box.top && y < box.bottom) return true;
    }
    return false;
}

// A line that loops five times over one circle, with stations and signals all round: every label
// on the plan stands clear of the track.
TEST(PlotCommand, LabelsOfALoopedStretchStandOffTheTrack) {
    TempDir dir;
    writeFile(
        dir.path / "O_linea.txt",
        "[generale]\r\nlunghezza percorso, 34000\r\n[curve]\r\ncurvad4, 1000, 31000\r\n[fine]\r\n");
    std::string train = "[generale]\r\nvelocita, 0, 100\r\n";
    for (int i = 0; i < 16; ++i)
        train += "stazione, " + std::to_string(1000 + 2000 * i) +
                 ", 22, 300, 0, 0, 0, 0,0,0, 4,1,1, 30, 10,0,0, ANELLO " + std::to_string(i + 1) +
                 "\r\n";
    for (int j = 0; j < 30; ++j)
        train += "segnale, " + std::to_string(1000 * j + 1600) + ", 2, 4, 0, 0, 0, 2, 2,1,0, 0\r\n";
    writeFile(dir.path / "O_1-.txt", train + "[fine]\r\n");
    ASSERT_EQ(runTool(dir.path, words("compile O_linea.txt O_1-.txt --name O --train 1")).status,
              0);
    ASSERT_EQ(runTool(dir.path, words("plot . --name O --train 1 -o o.svg")).status, 0);
    const std::string svg = readFile(dir.path / "o.svg");
    const std::vector<std::pair<double, double>> track = trackPoints(svg);
    ASSERT_GT(track.size(), 100u);
    double planBottom = 0;
    for (const auto& point : track) planBottom = std::max(planBottom, point.second);
    int labels = 0;
    for (const TextBox& box : textBoxes(svg)) {
        if (box.top > planBottom) continue;  // the profiles below the plan
        ++labels;
        for (std::size_t i = 1; i < track.size(); ++i)
            ASSERT_FALSE(crosses(box, track[i - 1], track[i])) << "\"" << box.text << "\"";
    }
    EXPECT_GT(labels, 10);
}

// The plan's frame holds the track with little to spare: its extent fits the route.
TEST(PlotCommand, ThePlanFillsItsFrame) {
    TempDir dir;
    const std::string svg = plotRouteOf300Km(dir.path);
    ASSERT_FALSE(svg.empty());
    // The frame is the first unfilled rectangle, the track the first dark polyline.
    double left = 0, top = 0, width = 0, height = 0;
    int read = 0;
    for (auto at = svg.find("<rect x="); at != std::string::npos && read != 4;
         at = svg.find("<rect x=", at + 1)) {
        const char* frame = "<rect x=\"%lf\" y=\"%lf\" width=\"%lf\" height=\"%lf\" fill=\"non%c";
        char e = 0;
        read = std::sscanf(svg.c_str() + at, frame, &left, &top, &width, &height, &e) == 5 ? 4 : 0;
    }
    ASSERT_EQ(read, 4);
    const std::vector<std::pair<double, double>> track = trackPoints(svg);
    ASSERT_FALSE(track.empty());
    double minX = 1e9, maxX = -1e9, minY = 1e9, maxY = -1e9;
    for (const auto& [x, y] : track) {
        minX = std::min(minX, x), maxX = std::max(maxX, x);
        minY = std::min(minY, y), maxY = std::max(maxY, y);
    }
    EXPECT_GE(minX, left);
    EXPECT_LE(maxX, left + width);
    EXPECT_GE(minY, top);
    EXPECT_LE(maxY, top + height);
    EXPECT_GT((maxX - minX) / width, 0.9);
}

TEST(PlotCommand, FromAndToDrawAStretchInRouteKilometres) {
    TempDir dir;
    ASSERT_EQ(runScenarioProgram(dir.path), 0);
    const std::string names = "plot . --name Alderi_Moncasta --train 30752 ";
    ASSERT_EQ(runTool(dir.path, words(names + "--from 10 --to 20 -o part.svg")).status, 0);
    const std::string svg = readFile(dir.path / "part.svg");
    // Stations at 10.25 and 18.35 km are in, those at 0 and 34 km are not.
    for (const char* in : {"ACQUAVIVOLA", "PONTESCURO", "10", "15", "20", "from 10.0 km"})
        EXPECT_TRUE(holdsText(svg, in)) << in;
    for (const char* out : {"ALDERI CENTRALE", "MONCASTA", "25", "5"})
        EXPECT_FALSE(holdsText(svg, out)) << out;
    expectDrawn(render(dir.path / "part.svg"));

    for (const char* stretch :
         {"--from 30 --to 40", "--from 20 --to 10", "--from 5 --to 5.05", "--from -1"}) {
        const ToolRun run = runTool(dir.path, words(names + stretch + " -o bad.svg"));
        EXPECT_EQ(run.status, 2) << stretch;
        EXPECT_FALSE(fs::exists(dir.path / "bad.svg")) << stretch;
    }
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
