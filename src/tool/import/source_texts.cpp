// Comment lines hold a "-" and no comma, and never two stand in a row.
#include "tool/import/source_texts.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>

#include "compiler/model_constants.h"

namespace scenario {
namespace {

constexpr double kTimetableMargin = 1.07;  // running time over the speed limit, plus 7 per cent
constexpr int kStartHour = 8;

void line(std::string& text, const std::string& content) {
    text.append(content).append("\r\n");
}

std::string clockFields(std::int64_t seconds) {
    return fmt::format("{},{:>2},{:>2}", seconds / 3600, seconds / 60 % 60, seconds % 60);
}

// Seconds to run from metre a to metre b at the limits, plus the margin.
double runningSeconds(const std::vector<SpeedLimit>& limits, std::int32_t a, std::int32_t b) {
    double seconds = 0;
    for (std::size_t i = 0; i < limits.size(); ++i) {
        const std::int32_t start = std::max(a, limits[i].position);
        const std::int32_t end = i + 1 < limits.size() ? std::min(b, limits[i + 1].position) : b;
        if (end > start) seconds += (end - start) / (limits[i].kmh / 3.6);
    }
    return seconds * kTimetableMargin;
}

}  // namespace

std::vector<SpeedLimit> speedLimits(const std::vector<std::int16_t>& metreSpeeds, int fallback) {
    std::vector<SpeedLimit> limits;
    for (std::size_t m = 0; m < metreSpeeds.size(); ++m) {
        const std::int32_t kmh = metreSpeeds[m] > 0 ? metreSpeeds[m] : fallback;
        // A limit takes the cell its metre lies in; of two in one cell, the later holds.
        const auto position = static_cast<std::int32_t>(m) / kCellLength * kCellLength;
        if (!limits.empty() && limits.back().kmh == kmh) continue;
        if (!limits.empty() && limits.back().position == position) limits.pop_back();
        if (!limits.empty() && limits.back().kmh == kmh) continue;
        limits.push_back({position, kmh});
    }
    return limits;
}

std::string importedLineSource(const ImportedLine& l) {
    std::string t;
    line(t, "[generale]");
    line(t, "- Linea importata da " + l.origin + ": lunghezza lungo il tracciato in metri");
    line(t, fmt::format("lunghezza percorso,    {}", l.routeLength));
    line(t, "progressiva chilometrica uno,    0,    0,    0");
    line(t, "progressiva chilometrica due,    0,    0,    0");
    line(t, "progressiva chilometrica tre,    0,    0,    0");
    line(t, "sfondo uno,    0");
    line(t, "sfondo due,    1");
    line(t, "sfondo tre,    0");
    line(t, "ripetizione segnali 4 codici,    0,    0");
    line(t, "[curve]");
    line(t, "- curve scelte simulando il tracciato del piano sul tracciato proiettato");
    for (const CurveRecord& c : l.curves)
        line(t, fmt::format("curva{}{},  {},  {}", c.left ? 's' : 'd', c.curveClass, c.position,
                            c.length));
    line(t, "[pendenze]");
    const std::string first = l.stations.empty() ? "INIZIO" : l.stations.front().name;
    if (l.flat)
        line(t, "- Linea piana: il tracciato non ha quote");
    else
        line(t, fmt::format("- Altitudine iniziale {} = {:.0f} m.", first, l.profile.startHeight));
    for (const GradientRecord& g : l.profile.gradients)
        line(t, fmt::format("pendenza,  {},  {}", g.position, g.gradient));
    line(t, "[montagne]");
    if (!l.profile.tunnels.empty()) line(t, "- gallerie dalle etichette tunnel del tracciato");
    for (const TunnelRecord& m : l.profile.tunnels)
        line(t, fmt::format("montagna,  {},  {},  11", m.start, m.end));
    line(t, "[cartelli]");
    line(t, "[indicazioni]");
    line(t, "[fine]");
    return t;
}

std::string importedTrainSource(const ImportedLine& l, const std::string& trainNumber) {
    std::string t;
    line(t, "[generale]");
    line(t, fmt::format("- Treno {} - orario alla velocita massima piu 7 per cento", trainNumber));
    line(t, "numero vetture,    3");
    line(t, "percentuale massa frenata,    110");
    line(t, "sabbia,    300");
    line(t, fmt::format("orologio,    {}   0   0", kStartHour));
    line(t, "[aderenze]");
    line(t, "aderenza,    0,   100");
    line(t, "[vel_limite]");
    std::vector<SpeedLimit> limits = l.speeds;
    if (limits.empty()) limits.push_back({0, l.speed});
    if (limits.size() == 1)
        line(t, "- velocita massima in km/h per tutta la linea");
    else
        line(t, "- velocita massime in km/h dalle etichette maxspeed del tracciato");
    for (const SpeedLimit& v : limits)
        line(t, fmt::format("velocita,    {},    {}", v.position, v.kmh));
    line(t, "[stazioni]");
    line(t, "- stazioni proiettate sul tracciato e arrotondate a 50 m");
    std::int64_t clock = kStartHour * 3600;
    for (std::size_t i = 0; i < l.stations.size(); ++i) {
        const ImportedStation& s = l.stations[i];
        const bool firstStop = i == 0;
        const bool lastStop = i + 1 == l.stations.size() && i > 0;
        int dwell = firstStop ? 1 : lastStop ? 0 : 30;
        if (i > 0) {
            const double seconds = runningSeconds(limits, l.stations[i - 1].position, s.position);
            // Departures on the whole minute, as timetables give them.
            clock = static_cast<std::int64_t>(
                        std::ceil((static_cast<double>(clock) + seconds + dwell) / 60)) *
                    60;
        }
        const char* kind = firstStop || lastStop ? "4" : "22";
        const char* groupA = firstStop || lastStop ? "1,1,0" : "0,0,0";
        const char* groupB = lastStop ? "2,1,1" : "4,1,1";
        line(t, fmt::format("stazione,    {},  {},  {},  {}, 0, 0,  {},  {},    {},  {}, {}",
                            s.position, kind, kPlatformLength, lastStop ? 1 : 0, groupA, groupB,
                            dwell, clockFields(clock), s.name));
    }
    line(t, "[rallentamenti]");
    line(t, "[segnali]");
    line(t, "[codici]");
    line(t, "[fine]");
    return t;
}

}  // namespace scenario
