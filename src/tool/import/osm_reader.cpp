// The rail network of an OpenStreetMap file as a graph of nodes joined by way segments, each
// weighted by its geodesic length. libosmium reads both formats and refuses XML entities.
#include "tool/import/osm_reader.h"

#include <fmt/format.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <functional>
#include <limits>
#include <osmium/handler.hpp>
#include <osmium/io/pbf_input.hpp>
#include <osmium/io/xml_input.hpp>
#include <osmium/visitor.hpp>
#include <queue>
#include <unordered_map>
#include <vector>

#include "tool/import/plane_track.h"

namespace scenario {
namespace {

// A station further from every node of the path is not on it.
constexpr double kNearPath = 500;

struct RailWay {
    std::vector<std::int64_t> nodes;
    bool tunnel = false;
    bool bridge = false;
    int speed = 0;
};

struct Station {
    std::string name;
    double lat = 0;
    double lon = 0;
    bool stopPosition = false;
};

struct RouteRelation {
    std::int64_t id = 0;
    std::string name;
    std::vector<std::int64_t> ways;
    std::vector<std::int64_t> stops;
};

bool tagIsYes(const char* value) {
    return value && std::string_view(value) != "no" && std::string_view(value) != "0";
}

struct NetworkReader : osmium::handler::Handler {
    std::unordered_map<std::int64_t, osmium::Location> locations;
    std::unordered_map<std::int64_t, std::string> nodeNames;
    std::vector<Station> stations;
    std::unordered_map<std::int64_t, RailWay> ways;
    std::vector<RouteRelation> routes;

    void node(const osmium::Node& node) {
        if (!node.location().valid()) return;
        locations.emplace(node.id(), node.location());
        const char* name = node.tags()["name"];
        if (!name) return;
        nodeNames.emplace(node.id(), name);
        const char* railway = node.tags()["railway"];
        const bool station = railway && (std::string_view(railway) == "station" ||
                                         std::string_view(railway) == "halt");
        const bool stop = node.tags().has_tag("public_transport", "stop_position") &&
                          node.tags().has_tag("train", "yes");
        if (station || stop)
            stations.push_back({name, node.location().lat(), node.location().lon(), !station});
    }

    void way(const osmium::Way& way) {
        const char* railway = way.tags()["railway"];
        if (!railway) return;
        const std::string_view kind(railway);
        if (kind != "rail" && kind != "light_rail" && kind != "narrow_gauge") return;
        RailWay rail;
        for (const osmium::NodeRef& ref : way.nodes()) rail.nodes.push_back(ref.ref());
        rail.tunnel = tagIsYes(way.tags()["tunnel"]);
        rail.bridge = tagIsYes(way.tags()["bridge"]);
        if (const char* speed = way.tags()["maxspeed"]) rail.speed = maxspeedKmh(speed);
        ways.emplace(way.id(), std::move(rail));
    }

    void relation(const osmium::Relation& relation) {
        if (!relation.tags().has_tag("route", "train")) return;
        RouteRelation route;
        route.id = relation.id();
        if (const char* name = relation.tags()["name"]) route.name = name;
        for (const osmium::RelationMember& member : relation.members()) {
            const std::string_view role(member.role());
            if (member.type() == osmium::item_type::way && role.substr(0, 8) != "platform")
                route.ways.push_back(member.ref());
            if (member.type() == osmium::item_type::node && role.substr(0, 4) == "stop")
                route.stops.push_back(member.ref());
        }
        routes.push_back(std::move(route));
    }
};

double distanceBetween(const osmium::Location& a, const osmium::Location& b) {
    return geodesicDistance(a.lat(), a.lon(), b.lat(), b.lon());
}

// The rail graph: for each node, the segments that leave it, in both directions.
struct Edge {
    std::int64_t to = 0;
    double length = 0;
    const RailWay* way = nullptr;
};

using Graph = std::unordered_map<std::int64_t, std::vector<Edge>>;

Graph railGraph(const NetworkReader& network) {
    Graph graph;
    for (const auto& [id, way] : network.ways) {
        for (std::size_t i = 1; i < way.nodes.size(); ++i) {
            const auto a = network.locations.find(way.nodes[i - 1]);
            const auto b = network.locations.find(way.nodes[i]);
            if (a == network.locations.end() || b == network.locations.end()) continue;
            const double length = distanceBetween(a->second, b->second);
            graph[a->first].push_back({b->first, length, &way});
            graph[b->first].push_back({a->first, length, &way});
        }
    }
    return graph;
}

GeoPoint pointAt(const osmium::Location& location, const RailWay* way) {
    GeoPoint p;
    p.lat = location.lat();
    p.lon = location.lon();
    if (way) {
        p.tunnel = way->tunnel;
        p.bridge = way->bridge;
        p.speed = way->speed;
    }
    return p;
}

// The track node nearest to any station of that name.
bool nearestTrackNode(const NetworkReader& network, const Graph& graph, const std::string& name,
                      std::int64_t& node, std::string& error) {
    double best = std::numeric_limits<double>::infinity();
    bool named = false;
    for (const Station& s : network.stations) {
        if (s.name != name) continue;
        named = true;
        for (const auto& [id, edges] : graph) {
            const osmium::Location& at = network.locations.at(id);
            const double d = geodesicDistance(s.lat, s.lon, at.lat(), at.lon());
            if (d < best) {
                best = d;
                node = id;
            }
        }
    }
    if (!named)
        error = fmt::format("no station named \"{}\" in the file", name);
    else if (best == std::numeric_limits<double>::infinity())
        error = "the file holds no railway=rail, light_rail or narrow_gauge way";
    return error.empty();
}

bool shortestPath(const NetworkReader& network, const OsmRequest& request, TrackInput& track,
                  std::string& error) {
    const Graph graph = railGraph(network);
    std::int64_t from = 0, to = 0;
    if (!nearestTrackNode(network, graph, request.from, from, error) ||
        !nearestTrackNode(network, graph, request.to, to, error))
        return false;
    struct Reached {
        double distance = std::numeric_limits<double>::infinity();
        std::int64_t previous = 0;
        const RailWay* way = nullptr;
    };
    std::unordered_map<std::int64_t, Reached> reached;
    using Entry = std::pair<double, std::int64_t>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> queue;
    reached[from].distance = 0;
    queue.push({0, from});
    while (!queue.empty()) {
        const auto [distance, node] = queue.top();
        queue.pop();
        if (node == to) break;
        if (distance > reached[node].distance) continue;
        for (const Edge& e : graph.at(node)) {
            Reached& next = reached[e.to];
            if (distance + e.length >= next.distance) continue;
            next = {distance + e.length, node, e.way};
            queue.push({next.distance, e.to});
        }
    }
    if (reached[to].distance == std::numeric_limits<double>::infinity()) {
        error = fmt::format("no railway joins \"{}\" and \"{}\"", request.from, request.to);
        return false;
    }
    std::vector<GeoPoint> path;
    for (std::int64_t node = to;; node = reached[node].previous) {
        path.push_back(pointAt(network.locations.at(node), reached[node].way));
        if (node == from) break;
    }
    // Each point carries the way of the segment that reached it: the tags of its stretch.
    std::reverse(path.begin(), path.end());
    track.segments.push_back(std::move(path));
    return true;
}

// The relation's ways end to end, each turned to continue the one before; a way that does not
// touch the last one starts a new segment.
bool relationPath(const NetworkReader& network, const OsmRequest& request, TrackInput& track,
                  std::string& error) {
    std::int64_t id = 0;
    const std::string& wanted = request.relation;
    const auto [end, fault] = std::from_chars(wanted.data(), wanted.data() + wanted.size(), id);
    const bool byId = fault == std::errc() && end == wanted.data() + wanted.size();
    const auto found = std::find_if(network.routes.begin(), network.routes.end(),
                                    [&](auto& r) { return byId ? r.id == id : r.name == wanted; });
    if (found == network.routes.end()) {
        error = fmt::format("no route=train relation {} in the file", wanted);
        return false;
    }
    std::vector<std::vector<std::int64_t>> runs;
    for (std::size_t k = 0; k < found->ways.size(); ++k) {
        const auto way = network.ways.find(found->ways[k]);
        if (way == network.ways.end() || way->second.nodes.size() < 2) continue;
        std::vector<std::int64_t> nodes = way->second.nodes;
        if (runs.empty() ||
            (runs.back().back() != nodes.front() && runs.back().back() != nodes.back())) {
            // A first way points away from the one after it.
            if (k + 1 < found->ways.size()) {
                const auto after = network.ways.find(found->ways[k + 1]);
                if (after != network.ways.end() && !after->second.nodes.empty()) {
                    const auto& next = after->second.nodes;
                    if (nodes.front() == next.front() || nodes.front() == next.back())
                        std::reverse(nodes.begin(), nodes.end());
                }
            }
            runs.push_back({});
        } else if (runs.back().back() == nodes.back()) {
            std::reverse(nodes.begin(), nodes.end());
        }
        for (std::int64_t node : nodes)
            if (runs.back().empty() || runs.back().back() != node) runs.back().push_back(node);
    }
    // The segments carry the tags of the ways they came from.
    std::unordered_map<std::int64_t, const RailWay*> wayOfSegment;
    const auto key = [](std::int64_t a, std::int64_t b) {
        return static_cast<std::int64_t>(static_cast<std::uint64_t>(std::min(a, b)) * 1000003u ^
                                         static_cast<std::uint64_t>(std::max(a, b)));
    };
    for (std::int64_t w : found->ways)
        if (const auto way = network.ways.find(w); way != network.ways.end())
            for (std::size_t i = 1; i < way->second.nodes.size(); ++i)
                wayOfSegment[key(way->second.nodes[i - 1], way->second.nodes[i])] = &way->second;
    for (const auto& run : runs) {
        std::vector<GeoPoint> segment;
        for (std::size_t i = 0; i < run.size(); ++i) {
            const auto at = network.locations.find(run[i]);
            if (at == network.locations.end()) {
                error = fmt::format("node {} of the relation's ways is not in the file", run[i]);
                return false;
            }
            const RailWay* way = i > 0 ? wayOfSegment[key(run[i - 1], run[i])] : nullptr;
            segment.push_back(pointAt(at->second, way));
        }
        track.segments.push_back(std::move(segment));
    }
    if (track.segments.empty()) {
        error = fmt::format("relation {} has no railway way in the file", wanted);
        return false;
    }
    for (std::int64_t stop : found->stops) {
        const auto at = network.locations.find(stop);
        const auto name = network.nodeNames.find(stop);
        if (at != network.locations.end() && name != network.nodeNames.end())
            track.places.push_back({name->second, at->second.lat(), at->second.lon()});
    }
    return true;
}

bool nearPath(const Station& s, const TrackInput& track) {
    for (const auto& segment : track.segments)
        for (const GeoPoint& p : segment)
            if (geodesicDistance(s.lat, s.lon, p.lat, p.lon) <= kNearPath) return true;
    return false;
}

// Stations within reach of the path, one per name: a station node before a stop position.
void stationsNearPath(const NetworkReader& network, TrackInput& track) {
    std::vector<bool> replaceable(track.places.size(), true);  // the relation's stops
    for (const Station& s : network.stations) {
        if (!nearPath(s, track)) continue;
        const auto same = std::find_if(track.places.begin(), track.places.end(),
                                       [&](const NamedPlace& p) { return p.name == s.name; });
        if (same == track.places.end()) {
            track.places.push_back({s.name, s.lat, s.lon});
            replaceable.push_back(s.stopPosition);
            continue;
        }
        const auto k = static_cast<std::size_t>(same - track.places.begin());
        if (!replaceable[k] || s.stopPosition) continue;
        *same = {s.name, s.lat, s.lon};
        replaceable[k] = false;
    }
}

}  // namespace

bool looksLikeOsm(const std::string& path, std::string_view head) {
    const auto endsWith = [&](std::string_view suffix) {
        if (path.size() < suffix.size()) return false;
        return std::equal(suffix.rbegin(), suffix.rend(), path.rbegin(), [](char a, char b) {
            return a == std::tolower(static_cast<unsigned char>(b));
        });
    };
    if (endsWith(".osm") || endsWith(".pbf")) return true;
    return head.find("<osm") != std::string_view::npos ||
           head.find("OSMHeader") != std::string_view::npos;
}

int maxspeedKmh(std::string_view value) {
    int number = 0;
    const auto [end, fault] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (fault != std::errc() || number <= 0) return 0;
    double kmh = number;
    if (std::string_view(end, static_cast<std::size_t>(value.data() + value.size() - end))
            .find("mph") != std::string_view::npos)
        kmh *= 1.609344;
    return std::clamp(static_cast<int>(std::lround(kmh / 5)) * 5, 5, 300);
}

bool readOsm(const std::string& path, const OsmRequest& request, TrackInput& track,
             std::string& error) {
    const bool pair = !request.from.empty() && !request.to.empty();
    if (pair == !request.relation.empty()) {
        error = "an OpenStreetMap file needs --from and --to, or --relation";
        return false;
    }
    NetworkReader network;
    try {
        std::FILE* probe = std::fopen(path.c_str(), "rb");
        if (!probe) {
            error = "cannot read " + path;
            return false;
        }
        char head[64] = {};
        const std::size_t got = std::fread(head, 1, sizeof head, probe);
        std::fclose(probe);
        const bool xml = std::string_view(head, got).find('<') != std::string_view::npos;
        osmium::io::Reader reader(osmium::io::File(path, xml ? "osm" : "pbf"));
        osmium::apply(reader, network);
        reader.close();
    } catch (const std::exception& failure) {
        error = std::string("malformed OpenStreetMap data: ") + failure.what();
        return false;
    }
    if (!(pair ? shortestPath(network, request, track, error)
               : relationPath(network, request, track, error)))
        return false;
    stationsNearPath(network, track);
    return true;
}

}  // namespace scenario
