// The route seen from above: the track from the line data file's plan, tunnels drawn over it,
// stations, signals, start and end as labelled marks, on a kilometre grid of equal scales.
#include <fmt/format.h>

#include <algorithm>
#include <cmath>

#include "tool/plot_scale.h"
#include "tool/route_views.h"

namespace scenario {
namespace {

constexpr double kMinimumHeight = 260.0;
constexpr double kMaximumHeight = 640.0;
constexpr double kLabelSize = 11.0;
constexpr std::size_t kMostPoints = 4000;
constexpr std::size_t kMostSignalLabels = 40;

struct DataBounds {
    double minX, maxX, minY, maxY;
    double width() const { return maxX - minX; }
    double height() const { return maxY - minY; }
};

// The plan's extent with a margin, widened so that a straight route still gets a panel.
DataBounds boundsOf(const RouteData& route, double boxWidth) {
    DataBounds b{route.plan[0].x, route.plan[0].x, route.plan[0].y, route.plan[0].y};
    for (const PlanPoint& p : route.plan) {
        b.minX = std::min(b.minX, p.x);
        b.maxX = std::max(b.maxX, p.x);
        b.minY = std::min(b.minY, p.y);
        b.maxY = std::max(b.maxY, p.y);
    }
    const double pad = 0.06 * std::max({b.width(), b.height(), 100.0});
    b.minX -= pad;
    b.maxX += pad;
    b.minY -= pad;
    b.maxY += pad;
    const double leastHeight = kMinimumHeight * b.width() / boxWidth;
    if (b.height() < leastHeight) {
        const double grow = (leastHeight - b.height()) / 2;
        b.minY -= grow;
        b.maxY += grow;
    }
    const double leastWidth = b.height() * boxWidth / kMaximumHeight;
    if (b.width() < leastWidth) {
        const double grow = (leastWidth - b.width()) / 2;
        b.minX -= grow;
        b.maxX += grow;
    }
    return b;
}

// One scale for both coordinates, so the route keeps its shape.
struct PlanFrame {
    DataBounds data;
    double scale;  // pixels per metre
    Box box;

    Point at(double x, double y) const {
        return {box.left + (x - data.minX) * scale, box.bottom() - (y - data.minY) * scale};
    }
    Point atMetre(const RouteData& route, std::int32_t metre) const {
        const auto last = static_cast<std::int32_t>(route.plan.size()) - 1;
        const PlanPoint& p = route.plan[static_cast<std::size_t>(std::clamp(metre, 0, last))];
        return at(p.x, p.y);
    }
};

PlanFrame frameFor(const RouteData& route, const Box& box) {
    PlanFrame f;
    f.data = boundsOf(route, box.width);
    f.scale = box.width / f.data.width();
    f.box = box;
    return f;
}

std::vector<Point> trackBetween(const RouteData& route, const PlanFrame& f, std::int32_t from,
                                std::int32_t to) {
    const auto last = static_cast<std::int32_t>(route.plan.size()) - 1;
    std::vector<Point> points;
    for (std::int32_t m = std::max(from, 0); m <= std::min(to, last); ++m)
        points.push_back(f.atMetre(route, m));
    return thinned(points, kMostPoints);
}

void drawGrid(SvgDocument& svg, const PlanFrame& f) {
    const double stepKm = niceStep(std::max(f.data.width(), f.data.height()) / 1000.0, 12);
    for (double km : ticks(f.data.minX / 1000.0, f.data.maxX / 1000.0, stepKm)) {
        const double x = f.at(km * 1000.0, 0).x;
        svg.line({x, f.box.top}, {x, f.box.bottom()}, look::kGrid);
        svg.text({x, f.box.bottom() + 14}, tickLabel(km, stepKm), 10, "middle", look::kSmallLabel);
    }
    for (double km : ticks(f.data.minY / 1000.0, f.data.maxY / 1000.0, stepKm)) {
        const double y = f.at(0, km * 1000.0).y;
        svg.line({f.box.left, y}, {f.box.right(), y}, look::kGrid);
        svg.text({f.box.left - 5, y + 3.5}, tickLabel(km, stepKm), 10, "end", look::kSmallLabel);
    }
    svg.rect({f.box.left, f.box.top}, f.box.width, f.box.height, look::kFrame);
    svg.text({f.box.right(), f.box.bottom() + 28},
             "plan coordinates in km (grid every " + tickLabel(stepKm, stepKm) + " km)", 10, "end",
             look::kSmallLabel);
}

// Tries the label right of the mark, then left, above and below; drops it if all are taken.
void placeLabel(SvgDocument& svg, LabelPlacer& labels, Point mark, const std::string& text,
                double size, const char* style) {
    const double w = textWidth(text, size);
    const double gap = 7.0;
    struct Try {
        double x, y;
        const char* anchor;
        double boxLeft;
    } tries[] = {
        {mark.x + gap, mark.y + size / 3, "start", mark.x + gap},
        {mark.x - gap, mark.y + size / 3, "end", mark.x - gap - w},
        {mark.x, mark.y - gap, "middle", mark.x - w / 2},
        {mark.x, mark.y + gap + size, "middle", mark.x - w / 2},
    };
    for (const Try& t : tries) {
        const Box box{t.boxLeft, t.y - size, w, size * 1.2};
        if (!labels.claim(box)) continue;
        svg.text({t.x, t.y}, text, size, t.anchor, style);
        return;
    }
}

std::string kmText(std::int32_t metres) {
    return fmt::format("{:.1f} km", metres / 1000.0);
}

}  // namespace

bool LabelPlacer::claim(const Box& box) {
    for (const Box& b : taken_)
        if (box.left < b.right() && b.left < box.right() && box.top < b.bottom() &&
            b.top < box.bottom())
            return false;
    taken_.push_back(box);
    return true;
}

double planViewHeight(const RouteData& route, double width) {
    const DataBounds b = boundsOf(route, width);
    return b.height() * width / b.width();
}

void drawPlanView(SvgDocument& svg, const RouteData& route, const Box& box) {
    const PlanFrame f = frameFor(route, box);
    drawGrid(svg, f);
    const auto end = static_cast<std::int32_t>(route.plan.size()) - 1;
    svg.polyline(trackBetween(route, f, 0, end), look::kTrack);
    for (const RouteSpan& t : route.tunnels)
        svg.polyline(trackBetween(route, f, t.from, t.to), look::kTunnel);

    // Labels by importance: the ends, the stations, then the signals where room is left.
    LabelPlacer labels;
    const Point start = f.atMetre(route, 0);
    const Point finish = f.atMetre(route, end);
    svg.circle(start, 7, look::kStart);
    svg.rect({finish.x - 6, finish.y - 6}, 12, 12, look::kEnd);
    labels.claim({start.x - 7, start.y - 7, 14, 14});
    labels.claim({finish.x - 6, finish.y - 6, 12, 12});
    placeLabel(svg, labels, start, "start", kLabelSize + 1,
               "font-weight=\"bold\" fill=\"#1b6e1b\"");
    placeLabel(svg, labels, finish, "end, " + kmText(end), kLabelSize + 1,
               "font-weight=\"bold\" fill=\"black\"");
    for (const RouteStation& s : route.stations) {
        const Point p = f.atMetre(route, s.position);
        svg.circle(p, s.isStop ? 3.5 : 5, s.isStop ? look::kStop : look::kStation);
        placeLabel(svg, labels, p, s.name, kLabelSize, look::kLabel);
    }
    // Past a few dozen signals their labels would only be noise.
    const bool labelSignals = route.signals.size() <= kMostSignalLabels;
    const double size = labelSignals ? 1.0 : 0.7;
    for (std::int32_t position : route.signals) {
        const Point p = f.atMetre(route, position);
        svg.polygon({{p.x, p.y - 4 * size},
                     {p.x + 3.5 * size, p.y + 2.5 * size},
                     {p.x - 3.5 * size, p.y + 2.5 * size}},
                    look::kSignal);
        if (labelSignals)
            placeLabel(svg, labels, p, fmt::format("{:.2f}", position / 1000.0), 8,
                       "fill=\"#a01818\"");
    }
}

}  // namespace scenario
