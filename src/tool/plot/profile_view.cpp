// The route against the distance: station names in a strip, the elevation integrated from the
// gradients with the tunnels on it, and the speed-limit steps, over one kilometre axis.
#include <fmt/format.h>

#include <algorithm>
#include <cmath>

#include "compiler/model_constants.h"
#include "tool/plot/scale.h"
#include "tool/plot/views.h"

namespace scenario {
namespace {

// In real numbers: the stretches' divisions must not truncate.
constexpr double kCellMetres = kCellLength;

constexpr double kStripHeight = 130.0;
constexpr double kGap = 18.0;
constexpr std::size_t kMostPoints = 3000;

struct ValueAxis {
    LinearScale scale;
    double step;
};

// Round limits around the values, at least `least` apart, with about five ticks.
ValueAxis valueAxis(double low, double high, double least, const Box& box) {
    if (high - low < least) {
        const double mid = (low + high) / 2;
        low = mid - least / 2;
        high = mid + least / 2;
    }
    const double step = niceStep(high - low, 5);
    low = std::floor(low / step) * step;
    high = std::ceil(high / step) * step;
    return {{low, high, box.bottom(), box.top}, step};
}

void drawValueAxis(SvgDocument& svg, const ValueAxis& axis, const Box& box,
                   const std::string& title) {
    for (double v : ticks(axis.scale.dataFrom, axis.scale.dataTo, axis.step)) {
        const double y = axis.scale(v);
        svg.line({box.left, y}, {box.right(), y}, look::kGrid);
        svg.text({box.left - 5, y + 3.5}, tickLabel(v, axis.step), 10, "end", look::kSmallLabel);
    }
    svg.text({box.left - 48, box.top + box.height / 2}, title, 11, "middle", look::kLabel, -90);
}

void drawDistanceGrid(SvgDocument& svg, const LinearScale& km, const Box& box, double stepKm,
                      bool labelled) {
    for (double v : ticks(km.dataFrom, km.dataTo, stepKm)) {
        const double x = km(v);
        svg.line({x, box.top}, {x, box.bottom()}, look::kGrid);
        if (labelled)
            svg.text({x, box.bottom() + 14}, tickLabel(v, stepKm), 10, "middle", look::kSmallLabel);
    }
}

// Names stand upright; one that would touch the previous is left out, and its mark's tooltip
// names it.
void drawStationStrip(SvgDocument& svg, const RouteData& route, const Stretch& stretch,
                      const LinearScale& km, const Box& strip, double linesTo) {
    double lastLabel = -1e9;
    for (const RouteStation& s : route.stations) {
        if (!stretch.holds(s.position)) continue;
        const double x = km(s.position / 1000.0);
        svg.line({x, strip.bottom()}, {x, linesTo}, look::kStationLine);
        svg.circle({x, strip.bottom()}, s.isStop ? 3 : 4, s.isStop ? look::kStop : look::kStation,
                   fmt::format("{}, {:.1f} km", s.name, s.position / 1000.0));
        if (x - lastLabel < 12) continue;
        lastLabel = x;
        svg.text({x + 3.5, strip.bottom() - 7}, s.name, 10, "start", look::kLabel, -90);
    }
}

// The cells whose start lies in the stretch, as indices into the per-cell profiles.
std::pair<std::size_t, std::size_t> cellsOf(const Stretch& stretch, std::size_t count) {
    const auto first =
        static_cast<std::size_t>(std::max(0.0, std::floor(stretch.from / kCellMetres)));
    const auto last = static_cast<std::size_t>(std::ceil(stretch.to / kCellMetres));
    return {std::min(first, count), std::min(last + 1, count)};
}

void drawElevation(SvgDocument& svg, const RouteData& route, const Stretch& stretch,
                   const LinearScale& km, const Box& box) {
    const auto [first, end] = cellsOf(stretch, route.elevation.size());
    if (first >= end) return;
    const auto from = route.elevation.begin() + static_cast<std::ptrdiff_t>(first);
    const auto to = route.elevation.begin() + static_cast<std::ptrdiff_t>(end);
    const auto [low, high] = std::minmax_element(from, to);
    const ValueAxis axis = valueAxis(*low, *high, 20.0, box);
    drawValueAxis(svg, axis, box, "elevation (m)");
    auto pointAt = [&](std::size_t i) {
        return Point{km(static_cast<double>(i) * kCellMetres / 1000.0),
                     axis.scale(route.elevation[i])};
    };
    std::vector<Point> line;
    for (std::size_t i = first; i < end; ++i) line.push_back(pointAt(i));
    svg.polyline(thinned(line, kMostPoints), look::kElevation,
                 "elevation from the gradients, 0 m at the start");
    for (const RouteSpan& t : route.tunnels) {
        std::vector<Point> span;
        const auto spanFrom = std::max(static_cast<std::size_t>(t.from / kCellMetres), first);
        const auto spanTo = std::min(static_cast<std::size_t>(t.to / kCellMetres), end - 1);
        for (std::size_t i = spanFrom; i <= spanTo && i < end; ++i) span.push_back(pointAt(i));
        svg.polyline(thinned(span, kMostPoints), look::kTunnel,
                     fmt::format("tunnel {:.1f} to {:.1f} km", t.from / 1000.0, t.to / 1000.0));
    }
    svg.rect({box.left, box.top}, box.width, box.height, look::kFrame);
}

// Steps: one horizontal run per stretch of equal limit, joined by vertical risers.
void drawSpeed(SvgDocument& svg, const RouteData& route, const Stretch& stretch,
               const LinearScale& km, const Box& box) {
    const auto [first, end] = cellsOf(stretch, route.speed.size());
    if (first >= end) return;
    const int top = *std::max_element(route.speed.begin() + static_cast<std::ptrdiff_t>(first),
                                      route.speed.begin() + static_cast<std::ptrdiff_t>(end));
    const ValueAxis axis = valueAxis(0, top, 40.0, box);
    drawValueAxis(svg, axis, box, "speed limit (km/h)");
    std::vector<Point> steps;
    for (std::size_t i = first; i < end; ++i) {
        const double y = axis.scale(route.speed[i]);
        const double x = km(static_cast<double>(i) * kCellMetres / 1000.0);
        if (i == first || route.speed[i] != route.speed[i - 1]) {
            if (!steps.empty()) steps.push_back({x, steps.back().y});
            steps.push_back({x, y});
        }
    }
    steps.push_back({km(std::min(stretch.to, route.routeLength) / 1000.0), steps.back().y});
    svg.polyline(steps, look::kSpeed, "speed limit");
    svg.rect({box.left, box.top}, box.width, box.height, look::kFrame);
}

}  // namespace

void drawProfileViews(SvgDocument& svg, const RouteData& route, const Stretch& stretch,
                      const Box& box) {
    const double panels = box.height - kStripHeight - kGap;
    const Box strip{box.left, box.top, box.width, kStripHeight};
    const Box elevation{box.left, strip.bottom(), box.width, panels * 0.55};
    const Box speed{box.left, elevation.bottom() + kGap, box.width, panels * 0.45};
    const double fromKm = stretch.from / 1000.0, toKm = stretch.to / 1000.0;
    const LinearScale km{fromKm, toKm, box.left, box.right()};
    const double stepKm = niceStep(toKm - fromKm, 12);

    drawDistanceGrid(svg, km, elevation, stepKm, false);
    drawDistanceGrid(svg, km, speed, stepKm, true);
    drawElevation(svg, route, stretch, km, elevation);
    drawSpeed(svg, route, stretch, km, speed);
    drawStationStrip(svg, route, stretch, km, strip, speed.bottom());
    svg.text({box.left + box.width / 2, speed.bottom() + 32}, "distance along the route (km)", 11,
             "middle", look::kLabel);
}

}  // namespace scenario
