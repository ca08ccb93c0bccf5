// Test tracks built in metres on the plane and written as GPX or GeoJSON through the exact
// inverse of the importer's projection, so that the imported geometry is known to the millimetre.
#pragma once

#include <fmt/format.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "tool/import/plane_track.h"

namespace scenario::testing {

struct PlanePoint {
    double east = 0;
    double north = 0;
    double height = 0;
    bool tunnel = false;  // the stretch that ends here
};

// A track drawn as a pen on the plane: straights, arcs and clothoids, sampled every `spacing`.
class TrackDrawing {
  public:
    explicit TrackDrawing(double spacing = 5, double bearing = 0.7) : spacing_(spacing) {
        heading_ = bearing;
        points_.push_back({0, 0, height_, false});
    }

    TrackDrawing& straight(double length) {
        return run(length, [](double) { return 0.0; });
    }
    // Positive radius turns right (clockwise).
    TrackDrawing& arc(double radius, double length) {
        return run(length, [radius](double) { return 1 / radius; });
    }
    // Curvature growing linearly from the current one to 1 / radius.
    TrackDrawing& clothoid(double radius, double length) {
        const double from = curvature_;
        return run(length, [=](double s) { return from + (1 / radius - from) * s / length; });
    }
    TrackDrawing& climb(double permille) {
        grade_ = permille / 1000;
        return *this;
    }
    TrackDrawing& tunnel(bool on) {
        tunnel_ = on;
        return *this;
    }

    double length() const { return length_; }
    const std::vector<PlanePoint>& points() const { return points_; }

    // Seeded Gaussian scatter of every point across both axes.
    TrackDrawing& scatter(double sigma, unsigned seed) {
        std::mt19937 random(seed);
        std::normal_distribution<double> noise(0, sigma);
        for (PlanePoint& p : points_) {
            p.east += noise(random);
            p.north += noise(random);
        }
        return *this;
    }

  private:
    template <class Curvature>
    TrackDrawing& run(double length, Curvature curvature) {
        // Fine integration steps; a point every `spacing` metres of length.
        constexpr int kSubsteps = 50;
        const double ds = spacing_ / kSubsteps;
        const int samples = static_cast<int>(std::lround(length / spacing_));
        for (int i = 0; i < samples; ++i) {
            for (int k = 0; k < kSubsteps; ++k) {
                const double s = (i * kSubsteps + k + 0.5) * ds;
                const double turn = curvature(s) * ds;
                east_ += std::sin(heading_ + turn / 2) * ds;
                north_ += std::cos(heading_ + turn / 2) * ds;
                heading_ += turn;
                curvature_ = curvature(s + ds / 2);
            }
            height_ += grade_ * spacing_;
            length_ += spacing_;
            points_.push_back({east_, north_, height_, tunnel_});
        }
        return *this;
    }

    double spacing_;
    double heading_ = 0;
    double curvature_ = 0;
    double east_ = 0;
    double north_ = 0;
    double height_ = 100;
    double grade_ = 0;
    bool tunnel_ = false;
    double length_ = 0;
    std::vector<PlanePoint> points_;
};

// The points on the globe: the projection's centre is the middle of the points' own latitude
// and longitude ranges, found by iterating to its fixed point.
inline std::vector<GeoPoint> onGlobe(const std::vector<PlanePoint>& points, double lat = 46.5,
                                     double lon = 11.3) {
    LineProjection projection(lat, lon);
    std::vector<GeoPoint> geo(points.size());
    for (int round = 0; round < 8; ++round) {
        for (std::size_t i = 0; i < points.size(); ++i) {
            projection.toGeo(points[i].east, points[i].north, geo[i].lat, geo[i].lon);
            geo[i].ele = points[i].height;
            geo[i].hasEle = true;
            geo[i].tunnel = points[i].tunnel;
        }
        projection = LineProjection::centredOn({geo});
    }
    return geo;
}

struct Place {
    std::string name;
    double lat, lon;
};

inline std::string gpxText(const std::vector<std::vector<GeoPoint>>& segments,
                           const std::vector<Place>& places = {}, bool heights = true) {
    std::string text =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<gpx version=\"1.1\" creator=\"tests\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n";
    for (const Place& p : places)
        text += fmt::format("<wpt lat=\"{:.10f}\" lon=\"{:.10f}\"><name>{}</name></wpt>\n", p.lat,
                            p.lon, p.name);
    text += "<trk><name>test</name>\n";
    for (const auto& segment : segments) {
        text += "<trkseg>\n";
        for (const GeoPoint& p : segment) {
            text += fmt::format("<trkpt lat=\"{:.10f}\" lon=\"{:.10f}\">", p.lat, p.lon);
            if (heights) text += fmt::format("<ele>{:.3f}</ele>", p.ele);
            text += "</trkpt>\n";
        }
        text += "</trkseg>\n";
    }
    return text + "</trk>\n</gpx>\n";
}

// One LineString feature per run of equal tunnel tags, sharing their end points.
inline std::string geoJsonText(const std::vector<GeoPoint>& points,
                               const std::vector<Place>& places = {}) {
    std::string features;
    std::size_t i = 1;
    while (i < points.size()) {
        const bool tunnel = points[i].tunnel;
        std::string coordinates = fmt::format("[{:.10f},{:.10f},{:.3f}]", points[i - 1].lon,
                                              points[i - 1].lat, points[i - 1].ele);
        for (; i < points.size() && points[i].tunnel == tunnel; ++i)
            coordinates += fmt::format(",[{:.10f},{:.10f},{:.3f}]", points[i].lon, points[i].lat,
                                       points[i].ele);
        if (!features.empty()) features += ",\n";
        features += fmt::format(
            "{{\"type\":\"Feature\",\"properties\":{{{}}},\"geometry\":{{\"type\":\"LineString\","
            "\"coordinates\":[{}]}}}}",
            tunnel ? "\"tunnel\":\"yes\"" : "", coordinates);
    }
    for (const Place& p : places)
        features += fmt::format(
            ",\n{{\"type\":\"Feature\",\"properties\":{{\"name\":\"{}\"}},\"geometry\":"
            "{{\"type\":\"Point\",\"coordinates\":[{:.10f},{:.10f}]}}}}",
            p.name, p.lon, p.lat);
    return "{\"type\":\"FeatureCollection\",\"features\":[\n" + features + "\n]}\n";
}

}  // namespace scenario::testing
