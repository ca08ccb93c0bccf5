// GeoJSON through nlohmann-json: line features in file order make the track's segments.
#include "tool/import/geojson_reader.h"

#include <nlohmann/json.hpp>

namespace scenario {
namespace {

using nlohmann::json;

// "yes", true, or any tag value but "no" marks the stretch, as map data writes it.
bool tagged(const json& properties, const char* key) {
    if (!properties.is_object() || !properties.contains(key)) return false;
    const json& value = properties[key];
    if (value.is_boolean()) return value.get<bool>();
    if (value.is_string())
        return value.get<std::string>() != "no" && !value.get<std::string>().empty();
    if (value.is_number()) return value.get<double>() != 0;
    return false;
}

struct GeoJsonState {
    TrackInput& track;
    std::string error;

    bool position(const json& coordinates, GeoPoint& point) {
        if (!coordinates.is_array() || coordinates.size() < 2 || !coordinates[0].is_number() ||
            !coordinates[1].is_number()) {
            error = "a position is not an array of two or three numbers";
            return false;
        }
        point.lon = coordinates[0].get<double>();
        point.lat = coordinates[1].get<double>();
        if (!validCoordinates(point.lat, point.lon)) {
            error = "coordinates out of range: lon " + coordinates[0].dump() + ", lat " +
                    coordinates[1].dump();
            return false;
        }
        if (coordinates.size() > 2 && coordinates[2].is_number()) {
            point.ele = coordinates[2].get<double>();
            point.hasEle = true;
        }
        return true;
    }

    bool line(const json& coordinates, const json& properties) {
        if (!coordinates.is_array()) {
            error = "a LineString's coordinates are not an array";
            return false;
        }
        std::vector<GeoPoint> segment;
        for (const json& c : coordinates) {
            GeoPoint point;
            if (!position(c, point)) return false;
            point.tunnel = tagged(properties, "tunnel");
            point.bridge = tagged(properties, "bridge");
            segment.push_back(point);
        }
        if (!segment.empty()) track.segments.push_back(std::move(segment));
        return true;
    }

    bool geometry(const json& g, const json& properties) {
        if (!g.is_object() || !g.contains("type") || !g["type"].is_string()) {
            error = "a geometry without a type";
            return false;
        }
        const std::string type = g["type"].get<std::string>();
        const json& coordinates = g.contains("coordinates") ? g["coordinates"] : json();
        if (type == "LineString") return line(coordinates, properties);
        if (type == "MultiLineString") {
            if (!coordinates.is_array()) {
                error = "a MultiLineString's coordinates are not an array";
                return false;
            }
            for (const json& part : coordinates)
                if (!line(part, properties)) return false;
            return true;
        }
        if (type == "Point") {
            if (!properties.is_object() || !properties.contains("name") ||
                !properties["name"].is_string())
                return true;
            GeoPoint point;
            if (!position(coordinates, point)) return false;
            track.places.push_back({properties["name"].get<std::string>(), point.lat, point.lon});
            return true;
        }
        if (type == "GeometryCollection" && g.contains("geometries") &&
            g["geometries"].is_array()) {
            for (const json& part : g["geometries"])
                if (!geometry(part, properties)) return false;
        }
        return true;
    }

    bool object(const json& o) {
        if (!o.is_object() || !o.contains("type") || !o["type"].is_string()) {
            error = "the document is no GeoJSON object (it has no \"type\")";
            return false;
        }
        const std::string type = o["type"].get<std::string>();
        if (type == "FeatureCollection") {
            if (!o.contains("features") || !o["features"].is_array()) {
                error = "a FeatureCollection without a features array";
                return false;
            }
            for (const json& feature : o["features"])
                if (!object(feature)) return false;
            return true;
        }
        if (type == "Feature") {
            const json properties = o.contains("properties") ? o["properties"] : json();
            if (!o.contains("geometry") || o["geometry"].is_null()) return true;
            return geometry(o["geometry"], properties);
        }
        return geometry(o, json());
    }
};

}  // namespace

bool readGeoJson(std::string_view bytes, TrackInput& track, std::string& error) {
    const json document = json::parse(bytes.begin(), bytes.end(), nullptr, false);
    if (document.is_discarded()) {
        error = "malformed GeoJSON: the text is not valid JSON";
        return false;
    }
    GeoJsonState state{track, {}};
    if (state.object(document)) return true;
    error = "malformed GeoJSON: " + state.error;
    return false;
}

}  // namespace scenario
