// The running times as JSON. The fastest run is integrated every few metres; a page needs far
// fewer points, so the run is thinned where the speed hardly changes.
#include "tool/timing/timing_json.h"

#include <cmath>

#include "base/text_encoding.h"

namespace scenario {
namespace {

using nlohmann::json;

// A kept point lies within this much of the speed of the one before it...
constexpr double kSpeedTolerance = 0.5 / 3.6;  // m/s
// ...and no farther than this behind it, so that a hover finds the time close by.
constexpr double kLongestGap = 250.0;  // m

json optionalNumber(const std::optional<double>& value) {
    return value ? json(*value) : json(nullptr);
}

json optionalNumber(const std::optional<std::int32_t>& value) {
    return value ? json(*value) : json(nullptr);
}

std::string stallCauseName(timing::StallCause cause) {
    switch (cause) {
        case timing::StallCause::Grade:
            return "grade";
        case timing::StallCause::ZeroLimit:
            return "zero-limit";
        case timing::StallCause::Brakes:
            return "brakes";
        default:
            return "";
    }
}

double tenths(double value) {
    return std::round(value * 10.0) / 10.0;
}

}  // namespace

json timingJson(const timing::Timing& t, const StockChoice& stock) {
    json j;
    j["stock"] = stock.file.empty() ? json(nullptr) : json(stock.file);
    j["train"] = {{"cars", t.cars},
                  {"brakedMass", t.brakedMass},
                  {"massT", t.mass / 1000.0},
                  {"lengthM", t.length}};
    j["stops"] = json::array();
    for (const timing::Stop& s : t.stops)
        j["stops"].push_back({{"name", utf8FromWindows1252(s.name)},
                              {"position", s.position},
                              {"arrival", optionalNumber(s.arrival)},
                              {"departure", optionalNumber(s.departure)}});
    j["sections"] = json::array();
    for (const timing::Section& s : t.sections) {
        const timing::Stop& a = t.stops[static_cast<std::size_t>(s.from)];
        const timing::Stop& b = t.stops[static_cast<std::size_t>(s.to)];
        json percent = nullptr;
        if (s.slack && *s.minimum > 0) percent = 100.0 * *s.slack / *s.minimum;
        j["sections"].push_back(
            {{"from", utf8FromWindows1252(a.name)},
             {"to", utf8FromWindows1252(b.name)},
             {"fromPosition", a.position},
             {"toPosition", b.position},
             {"scheduled", optionalNumber(s.scheduled)},
             {"minimum", optionalNumber(s.minimum)},
             {"slack", optionalNumber(s.slack)},
             {"slackPercent", percent},
             {"stall", optionalNumber(s.stall)},
             {"stallCause", s.stall ? json(stallCauseName(s.cause)) : json(nullptr)},
             {"note", s.note.empty() ? json(nullptr) : json(s.note)}});
    }
    j["passings"] = json::array();
    for (const timing::Passing& p : t.passings)
        j["passings"].push_back({{"name", utf8FromWindows1252(p.name)},
                                 {"position", p.position},
                                 {"scheduled", optionalNumber(p.scheduled)},
                                 {"earliest", optionalNumber(p.earliest)}});
    return j;
}

json thinnedRun(const std::vector<timing::RunPoint>& run) {
    json positions = json::array(), speeds = json::array(), times = json::array();
    const auto keep = [&](const timing::RunPoint& p) {
        positions.push_back(tenths(p.position));
        speeds.push_back(tenths(p.speed * 3.6));
        times.push_back(tenths(p.time));
    };
    const timing::RunPoint* kept = nullptr;
    for (std::size_t i = 0; i < run.size(); ++i) {
        const timing::RunPoint& p = run[i];
        const bool last = i + 1 == run.size();
        if (kept && !last && std::abs(p.speed - kept->speed) < kSpeedTolerance &&
            p.position - kept->position < kLongestGap)
            continue;
        keep(p);
        kept = &p;
    }
    return {{"position", std::move(positions)},
            {"speed", std::move(speeds)},
            {"time", std::move(times)}};
}

}  // namespace scenario
