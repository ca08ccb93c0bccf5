// Lays the route picture out: title and legend, the plan, then the profiles against distance.
#include "tool/plot/route_picture.h"

#include <fmt/format.h>

#include "tool/plot/views.h"

namespace scenario {
namespace {

constexpr double kWidth = 1200.0;
constexpr double kLeft = 80.0;
constexpr double kRight = 30.0;
constexpr double kPlanTop = 78.0;
constexpr double kProfilesHeight = 520.0;

void drawLegend(SvgDocument& svg, double y) {
    double x = kLeft;
    auto item = [&](const std::string& name, auto&& symbol) {
        symbol(Point{x, y});
        svg.text({x + 26, y + 4}, name, 11, "start", look::kLabel);
        x += 26 + textWidth(name, 11) + 22;
    };
    auto stroke = [&](const char* style) {
        return [&svg, style](Point p) { svg.line({p.x, p.y}, {p.x + 20, p.y}, style); };
    };
    item("track", stroke(look::kTrack));
    item("tunnel", [&](Point p) {
        svg.line(p, {p.x + 20, p.y}, look::kTrack);
        svg.line(p, {p.x + 20, p.y}, look::kTunnel);
    });
    item("start", [&](Point p) { svg.circle({p.x + 10, p.y}, 6, look::kStart, "start"); });
    item("end", [&](Point p) { svg.rect({p.x + 5, p.y - 5}, 10, 10, look::kEnd, "end"); });
    item("station", [&](Point p) { svg.circle({p.x + 10, p.y}, 5, look::kStation, "station"); });
    item("stop", [&](Point p) { svg.circle({p.x + 10, p.y}, 3.5, look::kStop, "stop"); });
    item("signal (km)", [&](Point p) {
        svg.polygon({{p.x + 10, p.y - 4}, {p.x + 13.5, p.y + 2.5}, {p.x + 6.5, p.y + 2.5}},
                    look::kSignal, "signal");
    });
    item("elevation from the gradients", stroke(look::kElevation));
    item("speed limit", stroke(look::kSpeed));
}

}  // namespace

std::string drawRoutePicture(const RouteData& route, const std::string& title, std::int32_t from,
                             std::int32_t to) {
    const Stretch stretch{from, to};
    const double width = kWidth - kLeft - kRight;
    const double planHeight = planViewHeight(route, stretch, width);
    const Box plan{kLeft, kPlanTop, width, planHeight};
    const Box profiles{kLeft, plan.bottom() + 40, width, kProfilesHeight};
    SvgDocument svg(kWidth, profiles.bottom() + 45);

    svg.text({kLeft, 30}, title, 17, "start", "font-weight=\"bold\" fill=\"#111111\"");
    drawLegend(svg, 55);
    drawPlanView(svg, route, stretch, plan);
    drawProfileViews(svg, route, stretch, profiles);
    return svg.finish();
}

}  // namespace scenario
