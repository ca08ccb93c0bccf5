// The route seen from above: the track of the stretch from the line data file's plan, turned so
// that it runs from left to right and fills the panel, with tunnels drawn over it and stations,
// signals, start and end as marks, each with its tooltip; labels only where they cover nothing.
#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <tuple>

#include "tool/plot/scale.h"
#include "tool/plot/views.h"

namespace scenario {
namespace {

constexpr double kMinimumHeight = 200.0;
constexpr double kMaximumHeight = 640.0;
constexpr double kLabelSize = 11.0;
constexpr std::size_t kMostPoints = 4000;
constexpr double kPi = 3.14159265358979323846;

struct DataBounds {
    double minX, maxX, minY, maxY;
    double width() const { return maxX - minX; }
    double height() const { return maxY - minY; }
};

// The plan turned by an angle: the stretch's main direction becomes the x axis, start on the
// left, so a long route uses the picture's width whatever way it heads.
struct Turn {
    double cosine = 1.0;
    double sine = 0.0;
    PlanPoint operator()(const PlanPoint& p) const {
        return {p.x * cosine + p.y * sine, -p.x * sine + p.y * cosine};
    }
    double degrees() const { return std::atan2(sine, cosine) * 180.0 / kPi; }
};

std::vector<PlanPoint> pointsOf(const RouteData& route, const Stretch& s) {
    const auto last = static_cast<std::int32_t>(route.plan.size()) - 1;
    std::vector<PlanPoint> points;
    for (std::int32_t m = std::max(s.from, 0); m <= std::min(s.to, last); ++m)
        points.push_back(route.plan[static_cast<std::size_t>(m)]);
    return thinned(points, kMostPoints);
}

// The direction of the points' greatest spread, pointing from the first point to the last.
Turn turnFor(const std::vector<PlanPoint>& points) {
    if (points.size() < 2) return {};
    double mx = 0, my = 0;
    for (const PlanPoint& p : points) {
        mx += p.x;
        my += p.y;
    }
    mx /= double(points.size());
    my /= double(points.size());
    double sxx = 0, syy = 0, sxy = 0;
    for (const PlanPoint& p : points) {
        sxx += (p.x - mx) * (p.x - mx);
        syy += (p.y - my) * (p.y - my);
        sxy += (p.x - mx) * (p.y - my);
    }
    double angle = 0.5 * std::atan2(2 * sxy, sxx - syy);
    const double along = (points.back().x - points.front().x) * std::cos(angle) +
                         (points.back().y - points.front().y) * std::sin(angle);
    if (along < 0) angle += kPi;
    return {std::cos(angle), std::sin(angle)};
}

// The turned stretch's extent with a small margin, made tall enough for a panel when the
// stretch is nearly straight.
DataBounds boundsOf(const std::vector<PlanPoint>& points, const Turn& turn, double boxWidth) {
    const PlanPoint first = turn(points.front());
    DataBounds b{first.x, first.x, first.y, first.y};
    for (const PlanPoint& raw : points) {
        const PlanPoint p = turn(raw);
        b.minX = std::min(b.minX, p.x);
        b.maxX = std::max(b.maxX, p.x);
        b.minY = std::min(b.minY, p.y);
        b.maxY = std::max(b.maxY, p.y);
    }
    const double pad = 0.03 * std::max({b.width(), b.height(), 100.0});
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
    return b;
}

// One scale for both coordinates, so the route keeps its shape; a stretch that would be taller
// than the panel allows is drawn narrower, centred.
struct PlanFrame {
    Turn turn;
    DataBounds data;
    double scale;  // pixels per metre
    Box box;

    Point at(const PlanPoint& raw) const {
        const PlanPoint p = turn(raw);
        return {box.left + (p.x - data.minX) * scale, box.bottom() - (p.y - data.minY) * scale};
    }
    Point atMetre(const RouteData& route, std::int32_t metre) const {
        const auto last = static_cast<std::int32_t>(route.plan.size()) - 1;
        return at(route.plan[static_cast<std::size_t>(std::clamp(metre, 0, last))]);
    }
};

PlanFrame frameFor(const std::vector<PlanPoint>& points, const Box& box) {
    PlanFrame f;
    f.turn = turnFor(points);
    f.data = boundsOf(points, f.turn, box.width);
    f.scale = std::min(box.width / f.data.width(), kMaximumHeight / f.data.height());
    const double width = f.data.width() * f.scale;
    f.box = {box.left + (box.width - width) / 2, box.top, width, f.data.height() * f.scale};
    return f;
}

std::vector<Point> trackBetween(const RouteData& route, const PlanFrame& f, std::int32_t from,
                                std::int32_t to) {
    std::vector<Point> points;
    for (const PlanPoint& p : pointsOf(route, {from, to})) points.push_back(f.at(p));
    return points;
}

// A scale bar and the turn, where plan coordinates would no longer read as a grid: both under
// the frame, where no mark or label of the plan can meet them.
void drawScale(SvgDocument& svg, const PlanFrame& f) {
    svg.rect({f.box.left, f.box.top}, f.box.width, f.box.height, look::kFrame);
    const double metres = niceStep(f.box.width / 6 / f.scale, 1);
    const double length = metres * f.scale;
    const Point start{f.box.left, f.box.bottom() + 11};
    svg.polyline({{start.x, start.y - 5},
                  start,
                  {start.x + length, start.y},
                  {start.x + length, start.y - 5}},
                 "stroke=\"#555555\" stroke-width=\"1.5\"");
    svg.text({start.x + length + 5, f.box.bottom() + 14},
             tickLabel(metres / 1000.0, metres / 1000.0) + " km", 10, "start", look::kSmallLabel);
    svg.text({f.box.right(), f.box.bottom() + 14},
             fmt::format("plan turned by {:.0f}\u00b0 so that the route runs left to right",
                         f.turn.degrees()),
             10, "end", look::kSmallLabel);
}

bool inside(const Box& inner, const Box& outer) {
    return inner.left >= outer.left && inner.right() <= outer.right() && inner.top >= outer.top &&
           inner.bottom() <= outer.bottom();
}

// Tries the label right of the mark, then left, above, below and at the corners, inside the
// frame; drops it if all are taken.
bool placeLabel(SvgDocument& svg, LabelPlacer& labels, const Box& frame, Point mark,
                const std::string& text, double size, const char* style, bool corners = true,
                bool mayCoverLine = false) {
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
        {mark.x + gap, mark.y - gap, "start", mark.x + gap},
        {mark.x + gap, mark.y + gap + size, "start", mark.x + gap},
        {mark.x - gap, mark.y - gap, "end", mark.x - gap - w},
        {mark.x - gap, mark.y + gap + size, "end", mark.x - gap - w},
    };
    for (const Try& t : tries) {
        if (!corners && &t - tries >= 4) break;
        const Box box{t.boxLeft, t.y - size, w, size * 1.2};
        if (!inside(box, frame) || !labels.claim(box, mayCoverLine)) continue;
        svg.text({t.x, t.y}, text, size, t.anchor, style);
        return true;
    }
    return false;
}

std::string kmText(std::int32_t metres) {
    return fmt::format("{:.1f} km", metres / 1000.0);
}

std::string signalText(std::int32_t position) {
    return fmt::format("{:.2f}", position / 1000.0);
}

}  // namespace

bool LabelPlacer::claim(const Box& box, bool mayCoverLine) {
    for (const Box& b : taken_)
        if (box.left < b.right() && b.left < box.right() && box.top < b.bottom() &&
            b.top < box.bottom())
            return false;
    if (!mayCoverLine && crossesLine(box)) return false;
    taken_.push_back(box);
    return true;
}

void LabelPlacer::take(const Box& box) {
    taken_.push_back(box);
}

void LabelPlacer::avoidLine(const std::vector<Point>& points, double width) {
    // The segments are kept as thin lines; the boxes tested against them grow by half the width.
    lineMargin_ = std::max(lineMargin_, width / 2);
    for (std::size_t i = 1; i < points.size(); ++i)
        segments_.emplace_back(points[i - 1], points[i]);
}

// Whether a segment meets the box: the part of it between the box's sides, clipped one axis
// after the other.
bool LabelPlacer::crossesLine(const Box& label) const {
    const Box box{label.left - lineMargin_, label.top - lineMargin_, label.width + 2 * lineMargin_,
                  label.height + 2 * lineMargin_};
    for (const auto& [a, b] : segments_) {
        double t0 = 0.0, t1 = 1.0;
        const double dx = b.x - a.x, dy = b.y - a.y;
        const auto clip = [&](double p, double q) {
            if (p == 0) return q >= 0;
            const double t = q / p;
            if (p < 0)
                t0 = std::max(t0, t);
            else
                t1 = std::min(t1, t);
            return t0 <= t1;
        };
        if (clip(-dx, a.x - box.left) && clip(dx, box.right() - a.x) && clip(-dy, a.y - box.top) &&
            clip(dy, box.bottom() - a.y))
            return true;
    }
    return false;
}

double planViewHeight(const RouteData& route, const Stretch& stretch, double width) {
    return frameFor(pointsOf(route, stretch), {0, 0, width, 0}).box.height;
}

void drawPlanView(SvgDocument& svg, const RouteData& route, const Stretch& stretch,
                  const Box& box) {
    const PlanFrame f = frameFor(pointsOf(route, stretch), box);
    drawScale(svg, f);
    const auto last = static_cast<std::int32_t>(route.plan.size()) - 1;
    const std::int32_t from = std::max(stretch.from, 0), to = std::min(stretch.to, last);
    const std::vector<Point> track = trackBetween(route, f, from, to);
    svg.polyline(track, look::kTrack, fmt::format("track {} to {}", kmText(from), kmText(to)));
    for (const RouteSpan& t : route.tunnels) {
        if (t.to < from || t.from > to) continue;
        svg.polyline(trackBetween(route, f, std::max(t.from, from), std::min(t.to, to)),
                     look::kTunnel, fmt::format("tunnel {} to {}", kmText(t.from), kmText(t.to)));
    }

    // Every mark first, so that no label covers one; then the labels by importance: the ends,
    // the stations, then the signals where room is left.
    LabelPlacer labels;
    labels.avoidLine(track, 2.0);  // a looped stretch passes its own labels
    const Point start = f.atMetre(route, from);
    const Point finish = f.atMetre(route, to);
    const bool wholeRoute = from == 0 && to == last;
    svg.circle(start, 7, look::kStart, "start, " + kmText(from));
    svg.rect({finish.x - 6, finish.y - 6}, 12, 12, look::kEnd, "end, " + kmText(to));
    labels.take({start.x - 7, start.y - 7, 14, 14});
    labels.take({finish.x - 6, finish.y - 6, 12, 12});
    std::vector<const RouteStation*> stations;
    for (const RouteStation& s : route.stations) {
        if (!stretch.holds(s.position)) continue;
        stations.push_back(&s);
        const Point p = f.atMetre(route, s.position);
        svg.circle(p, s.isStop ? 3.5 : 5, s.isStop ? look::kStop : look::kStation,
                   fmt::format("{}, {}", s.name, kmText(s.position)));
        labels.take({p.x - 4, p.y - 4, 8, 8});
    }
    std::vector<std::int32_t> signals;
    for (std::int32_t position : route.signals) {
        if (!stretch.holds(position)) continue;
        signals.push_back(position);
        const Point p = f.atMetre(route, position);
        svg.polygon({{p.x, p.y - 4}, {p.x + 3.5, p.y + 2.5}, {p.x - 3.5, p.y + 2.5}}, look::kSignal,
                    "signal, " + signalText(position) + " km");
        labels.take({p.x - 3.5, p.y - 4, 7, 6.5});
    }
    // The ends are named even where the track leaves no room beside them.
    const std::string startText = wholeRoute ? "start" : "from " + kmText(from);
    const std::string endText = wholeRoute ? "end, " + kmText(to) : "to " + kmText(to);
    const char* startStyle = "font-weight=\"bold\" fill=\"#1b6e1b\"";
    const char* endStyle = "font-weight=\"bold\" fill=\"black\"";
    for (const auto& [mark, text, style] :
         {std::tuple{start, startText, startStyle}, std::tuple{finish, endText, endStyle}}) {
        if (!placeLabel(svg, labels, f.box, mark, text, kLabelSize + 1, style))
            placeLabel(svg, labels, f.box, mark, text, kLabelSize + 1, style, true, true);
    }
    for (const RouteStation* s : stations)
        placeLabel(svg, labels, f.box, f.atMetre(route, s->position), s->name, kLabelSize,
                   look::kLabel);
    for (std::int32_t position : signals)
        placeLabel(svg, labels, f.box, f.atMetre(route, position), signalText(position), 8,
                   "fill=\"#a01818\"", false);
}

}  // namespace scenario
