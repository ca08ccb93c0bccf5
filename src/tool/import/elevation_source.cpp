// Each metre's height comes from its own position: along the route for the table, on the globe
// for the tiles, which are opened once each.
#include "tool/import/elevation_source.h"

#include <fmt/format.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "base/platform.h"

namespace scenario {
namespace {

constexpr std::int16_t kVoid = -32768;

std::optional<double> numberIn(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    double value = 0;
    const auto [end, fault] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (fault != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

struct Tile {
    std::vector<std::int16_t> heights;
    std::size_t side = 0;
};

bool loadTile(const std::filesystem::path& file, Tile& tile, std::string& error) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        error = "no elevation tile " + textFromPath(file);
        return false;
    }
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (const std::size_t side : {std::size_t{1201}, std::size_t{3601}})
        if (bytes.size() == side * side * 2) tile.side = side;
    if (tile.side == 0) {
        error = fmt::format("{} holds {} bytes: not a 1201 or 3601 square tile of 16-bit heights",
                            textFromPath(file), bytes.size());
        return false;
    }
    tile.heights.resize(tile.side * tile.side);
    for (std::size_t i = 0; i < tile.heights.size(); ++i)
        tile.heights[i] = static_cast<std::int16_t>(
            static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[2 * i]) << 8 |
                                       static_cast<unsigned char>(bytes[2 * i + 1])));
    return true;
}

std::string tileName(int lat, int lon) {
    return fmt::format("{}{:02}{}{:03}.hgt", lat < 0 ? 'S' : 'N', std::abs(lat),
                       lon < 0 ? 'W' : 'E', std::abs(lon));
}

}  // namespace

bool heightsFromTable(const std::string& path, PlaneTrack& track, std::string& error) {
    std::ifstream in(pathFromText(path), std::ios::binary);
    if (!in) {
        error = "cannot read " + path;
        return false;
    }
    std::vector<std::pair<double, double>> rows;
    std::string text;
    for (int number = 1; std::getline(in, text); ++number) {
        if (text.find_first_not_of(" \t\r") == std::string::npos) continue;
        const std::size_t comma = text.find_first_of(",;\t");
        const auto metre = numberIn(std::string_view(text).substr(0, comma));
        // No separator leaves no height: an empty text is no number.
        const auto height =
            numberIn(comma == std::string::npos ? std::string_view()
                                                : std::string_view(text).substr(comma + 1));
        if (number == 1 && !metre) continue;  // a header
        if (!metre || !height) {
            error =
                fmt::format("{}:{}: not a route metre and a height: \"{}\"", path, number, text);
            return false;
        }
        if (!rows.empty() && *metre <= rows.back().first) {
            error = fmt::format("{}:{}: the metres must increase", path, number);
            return false;
        }
        rows.emplace_back(*metre, *height);
    }
    if (rows.size() < 2) {
        error = path + ": fewer than two heights";
        return false;
    }
    std::size_t k = 0;
    for (std::size_t m = 0; m < track.height.size(); ++m) {
        const double at = static_cast<double>(m);
        while (k + 2 < rows.size() && rows[k + 1].first < at) ++k;
        const auto& [a, ha] = rows[k];
        const auto& [b, hb] = rows[k + 1];
        const double t = std::clamp((at - a) / (b - a), 0.0, 1.0);
        track.height[m] = ha + t * (hb - ha);
    }
    track.hasElevation = true;
    return true;
}

bool heightsFromTiles(const std::string& directory, const LineProjection& projection,
                      PlaneTrack& track, std::string& error) {
    std::map<std::pair<int, int>, Tile> tiles;
    for (std::size_t m = 0; m < track.height.size(); ++m) {
        double lat = 0, lon = 0;
        projection.toGeo(track.east[m], track.north[m], lat, lon);
        const int south = static_cast<int>(std::floor(lat));
        const int west = static_cast<int>(std::floor(lon));
        auto found = tiles.find({south, west});
        if (found == tiles.end()) {
            Tile tile;
            if (!loadTile(pathFromText(directory) / tileName(south, west), tile, error))
                return false;
            found = tiles.emplace(std::make_pair(south, west), std::move(tile)).first;
        }
        const Tile& tile = found->second;
        const double last = static_cast<double>(tile.side - 1);
        const double x = (lon - west) * last;
        const double y = (south + 1 - lat) * last;
        const auto col = std::min(static_cast<std::size_t>(x), tile.side - 2);
        const auto row = std::min(static_cast<std::size_t>(y), tile.side - 2);
        const double fx = x - static_cast<double>(col);
        const double fy = y - static_cast<double>(row);
        const auto at = [&](std::size_t r, std::size_t c) {
            return tile.heights[r * tile.side + c];
        };
        const std::int16_t corners[4] = {at(row, col), at(row, col + 1), at(row + 1, col),
                                         at(row + 1, col + 1)};
        for (const std::int16_t h : corners)
            if (h == kVoid) {
                error =
                    fmt::format("the tile {} has no height near {:.5f}, {:.5f} (route metre {})",
                                tileName(south, west), lat, lon, m);
                return false;
            }
        track.height[m] = (corners[0] * (1 - fx) + corners[1] * fx) * (1 - fy) +
                          (corners[2] * (1 - fx) + corners[3] * fx) * fy;
    }
    track.hasElevation = true;
    return true;
}

}  // namespace scenario
