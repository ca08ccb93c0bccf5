// The parts of the route picture, each drawn into its own box of the document.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "tool/plot/svg_document.h"
#include "tool/route/route_data.h"

namespace scenario {

struct Box {
    double left;
    double top;
    double width;
    double height;
    double right() const { return left + width; }
    double bottom() const { return top + height; }
};

// Colours and strokes shared by the views and the legend.
namespace look {
inline constexpr const char* kTrack = "stroke=\"#333333\" stroke-width=\"2\"";
inline constexpr const char* kTunnel =
    "stroke=\"#a0522d\" stroke-width=\"6\" stroke-opacity=\"0.75\" stroke-dasharray=\"7 3\"";
inline constexpr const char* kStation = "fill=\"#1f5fbf\" stroke=\"white\" stroke-width=\"1\"";
inline constexpr const char* kStop = "fill=\"white\" stroke=\"#1f5fbf\" stroke-width=\"2\"";
inline constexpr const char* kSignal = "fill=\"#d62728\" stroke=\"#7a1010\" stroke-width=\"0.5\"";
inline constexpr const char* kStart = "fill=\"#2ca02c\" stroke=\"black\" stroke-width=\"1\"";
inline constexpr const char* kEnd = "fill=\"black\" stroke=\"black\" stroke-width=\"1\"";
inline constexpr const char* kElevation = "stroke=\"#2e7d32\" stroke-width=\"1.5\"";
inline constexpr const char* kSpeed = "stroke=\"#6a3d9a\" stroke-width=\"1.5\"";
inline constexpr const char* kStationLine =
    "stroke=\"#1f5fbf\" stroke-width=\"0.7\" stroke-opacity=\"0.5\" stroke-dasharray=\"3 3\"";
inline constexpr const char* kGrid = "stroke=\"#e4e4e4\" stroke-width=\"1\"";
inline constexpr const char* kFrame = "fill=\"none\" stroke=\"#999999\" stroke-width=\"1\"";
inline constexpr const char* kLabel = "fill=\"#222222\"";
inline constexpr const char* kSmallLabel = "fill=\"#555555\"";
}  // namespace look

// The part of the route drawn, in metres from its start.
struct Stretch {
    std::int32_t from;
    std::int32_t to;
    bool holds(std::int32_t metre) const { return metre >= from && metre <= to; }
};

// Keeps labels from covering each other and the track: a label is drawn only where it overlaps
// no label or mark before it and no line to avoid.
class LabelPlacer {
  public:
    bool claim(const Box& box, bool mayCoverLine = false);
    // Room a mark takes, whatever it covers.
    void take(const Box& box);
    // A polyline no label may cross, as wide as `width`.
    void avoidLine(const std::vector<Point>& points, double width);

  private:
    bool crossesLine(const Box& box) const;

    std::vector<Box> taken_;
    std::vector<std::pair<Point, Point>> segments_;
    double lineMargin_ = 0.0;
};

// The plan of the stretch, scaled to keep its shape and turned so that it runs from left to
// right, in a box `width` wide whose height the view chooses; returns that height.
double planViewHeight(const RouteData& route, const Stretch& stretch, double width);
void drawPlanView(SvgDocument& svg, const RouteData& route, const Stretch& stretch, const Box& box);

// Stations' names, elevation and speed limit against the distance, stacked in the box.
void drawProfileViews(SvgDocument& svg, const RouteData& route, const Stretch& stretch,
                      const Box& box);

// A few thousand points are enough for any width the picture has.
template <typename T>
std::vector<T> thinned(const std::vector<T>& points, std::size_t most) {
    if (points.size() <= most) return points;
    std::vector<T> out;
    const std::size_t step = (points.size() + most - 1) / most;
    for (std::size_t i = 0; i < points.size(); i += step) out.push_back(points[i]);
    if ((points.size() - 1) % step != 0) out.push_back(points.back());
    return out;
}

}  // namespace scenario
