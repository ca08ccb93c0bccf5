// Gathers the route view's data. The cells go as compiled, one array per field; the plan goes
// every 10 m in decimetres, each point as the step from the one before, which keeps a 1000 km
// route to about a megabyte; the curves are found again in the plan metre by metre.
#include "tool/view/view_data.h"

#include <cmath>
#include <future>

#include "base/text_encoding.h"
#include "compiler/line_plan_steps.h"
#include "compiler/model_constants.h"
#include "compiler/pass_common.h"
#include "report/diagnostic.h"
#include "tool/route/cell_meanings.h"
#include "tool/timing/timing_json.h"

namespace scenario {
namespace {

using nlohmann::json;

constexpr std::int32_t kPlanSampleStep = 10;  // m
constexpr double kDecimetres = 10.0;

json cellColumns(const std::vector<TrackCell>& cells) {
    std::array<json, kCellFieldCount> columns;
    for (auto& column : columns) column = json::array();
    for (const TrackCell& c : cells) {
        const auto fields = cellFields(c);
        for (std::size_t f = 0; f < kCellFieldCount; ++f) columns[f].push_back(fields[f]);
    }
    return columns;
}

constexpr std::int32_t kSecondsPerDay = 24 * 60 * 60;
// The model's constants the page's script reads instead of writing them again.
json modelConstants() {
    json turns = json::array();
    for (const double turn : kCurveTurns) turns.push_back(turn);
    return {{"cellLength", kCellLength},
            {"stopKindThreshold", kFirstStopWithoutCell},
            {"curveTurns", std::move(turns)}};
}

// What the train does at a station and when. The timetable gives the departure, the dwell before
// it, and at the last station the arrival: there the train ends its run rather than passing.
void addTimes(json& entry, int index, int count, const StationRecord& r) {
    json arrival, departure;
    std::string category;
    if (index == count && count > 1) {
        category = "terminus";
        if (r.departureTime != 0) arrival = r.departureTime;
    } else if (index == 1 && (r.dwellTime > 0 || r.departureTime != 0)) {
        category = "start";
        departure = r.departureTime;
    } else if (r.dwellTime > 0) {
        category = "stop";
        arrival =
            ((r.departureTime - r.dwellTime) % kSecondsPerDay + kSecondsPerDay) % kSecondsPerDay;
        departure = r.departureTime;
    } else {
        category = r.stationKind >= kFirstStopWithoutCell ? "not open" : "pass";
    }
    entry["category"] = category;
    entry["arrival"] = std::move(arrival);
    entry["departure"] = std::move(departure);
}

json stationEntry(int index, const StationRecord& r) {
    return {{"entry", index},
            {"name", utf8FromWindows1252(r.name)},
            {"stationKind", r.stationKind},
            {"platformStart", r.platformStart},
            {"platformEnd", r.platformEnd},
            {"position", r.position},
            {"flagA", r.flagA},
            {"flagB", r.flagB},
            {"flagC", r.flagC},
            {"groupA1", r.groupA1},
            {"groupA2", r.groupA2},
            {"groupA3", r.groupA3},
            {"groupB1", r.groupB1},
            {"groupB2", r.groupB2},
            {"groupB3", r.groupB3},
            {"dwellTime", r.dwellTime},
            {"departureTime", r.departureTime}};
}

// Stations in their entries from 1 up; every other entry with a name (the sign texts, the
// scenario's and the train's) by its index, for the cells that point at them.
void addStationTable(const StationTable& table, json& data) {
    json stations = json::array();
    const int count = stationCount(table);
    for (int i = 1; i <= count; ++i) {
        const StationRecord& r = table[static_cast<std::size_t>(i)];
        json entry = stationEntry(i, r);
        addTimes(entry, i, count, r);
        stations.push_back(std::move(entry));
    }
    json names = json::object();
    for (int i = count + 1; i < kStationTableSize; ++i) {
        const std::string& name = table[static_cast<std::size_t>(i)].name;
        if (!name.empty()) names[std::to_string(i)] = utf8FromWindows1252(name);
    }
    data["stations"] = std::move(stations);
    data["entryNames"] = std::move(names);
}

std::int64_t decimetres(double metres) {
    return std::llround(metres * kDecimetres);
}

json samplePlan(const std::vector<PlanPoint>& plan) {
    json xs = json::array(), ys = json::array();
    std::int64_t lastX = 0, lastY = 0;
    auto add = [&](const PlanPoint& p) {
        const std::int64_t x = decimetres(p.x), y = decimetres(p.y);
        xs.push_back(x - lastX);
        ys.push_back(y - lastY);
        lastX = x;
        lastY = y;
    };
    for (std::size_t m = 0; m < plan.size(); m += kPlanSampleStep) add(plan[m]);
    if (!plan.empty() && (plan.size() - 1) % kPlanSampleStep != 0) add(plan.back());
    return {{"step", kPlanSampleStep},
            {"unitsPerMetre", kDecimetres},
            {"metres", plan.empty() ? 0 : plan.size() - 1},
            {"dx", std::move(xs)},
            {"dy", std::move(ys)}};
}

// The class of a curve step by its turn per metre, 0 for a straight one; the plan steps turn by
// the curvature of their record's class.
int curveClass(double turn) {
    const double size = std::abs(turn);
    for (int c = 0; c < static_cast<int>(std::size(kCurveTurns)); ++c)
        if (std::abs(size - kCurveTurns[c]) < kCurveTurns[c] * 0.1) return c + 1;
    return 0;
}

// Spans of equal side and class: [from, to, side (1 right, -1 left), class].
json findCurves(const std::vector<PlanPoint>& plan) {
    json curves = json::array();
    int spanSide = 0, spanClass = 0;
    std::size_t spanFrom = 0;
    auto close = [&](std::size_t to) {
        if (spanClass != 0) curves.push_back({spanFrom, to, spanSide, spanClass});
    };
    for (std::size_t m = 2; m < plan.size(); ++m) {
        const double d0 = plan[m - 1].x - plan[m - 2].x, d1 = plan[m - 1].y - plan[m - 2].y;
        const double e0 = plan[m].x - plan[m - 1].x, e1 = plan[m].y - plan[m - 1].y;
        const double length = d0 * d0 + d1 * d1;
        const double turn = length > 0 ? -(d0 * e1 - d1 * e0) / length : 0.0;
        const int cls = curveClass(turn);
        const int side = cls == 0 ? 0 : (turn > 0 ? 1 : -1);
        if (cls == spanClass && side == spanSide) continue;
        close(m - 1);
        spanFrom = m - 1;
        spanClass = cls;
        spanSide = side;
    }
    close(plan.empty() ? 0 : plan.size() - 1);
    return curves;
}

// For each field, runs of cells whose value came from one record: [field, from, to, record].
json originRuns(const CellOrigins& origins, const FileShown& shown) {
    // Records as [file, line], the file an index into "files": there are thousands of records.
    json files = json::array(), records = json::array();
    std::vector<std::string> buildNames;
    for (const RecordPlace& r : origins.records) {
        std::size_t file = 0;
        while (file < buildNames.size() && buildNames[file] != r.file) ++file;
        if (file == buildNames.size()) {
            buildNames.push_back(r.file);
            files.push_back(shown(r.file));
        }
        records.push_back({file, r.line});
    }
    json runs = json::array();
    const auto& fields = origins.fieldRecord;
    for (std::size_t f = 0; f < kCellFieldCount; ++f) {
        std::size_t from = 0;
        for (std::size_t i = 1; i <= fields.size(); ++i) {
            if (i < fields.size() && fields[i][f] == fields[from][f]) continue;
            if (fields[from][f] != CellOrigins::kNone)
                runs.push_back({f, from, i - 1, fields[from][f]});
            from = i;
        }
    }
    return {
        {"files", std::move(files)}, {"records", std::move(records)}, {"runs", std::move(runs)}};
}

}  // namespace

json viewData(const ViewInput& input) {
    // The timing takes about as long as the rest: on a second core it costs the page no time.
    std::future<json> timed;
    if (input.timing) timed = std::async(std::launch::async, input.timing);
    json data;
    data["title"] = input.title;
    data["origin"] = input.origin;
    data["routeLength"] = input.routeLength;
    data["model"] = modelConstants();
    data["meanings"] = cellMeanings();
    data["cells"] = input.cells ? cellColumns(*input.cells) : json::array();
    if (input.stations) addStationTable(*input.stations, data);
    data["plan"] = samplePlan(input.plan);
    data["curves"] = findCurves(input.plan);
    data["diagnostics"] = input.diagnostics;
    data["origins"] = input.origins ? originRuns(*input.origins, input.shown) : json();
    data["timing"] = timed.valid() ? timed.get() : json();
    return data;
}

json viewTiming(const timing::Timing& t, const StockChoice& stock) {
    json j = timingJson(t, stock);
    for (std::size_t i = 0; i < t.sections.size(); ++i) {
        const timing::Section& s = t.sections[i];
        const auto& departure = t.stops[static_cast<std::size_t>(s.from)].departure;
        j["sections"][i]["departure"] = departure ? json(*departure) : json(nullptr);
        j["sections"][i]["run"] = thinnedRun(s.run);
    }
    return j;
}

json viewDiagnostics(const ScenarioBuild& build, const std::vector<Diagnostic>& warnings,
                     const FileShown& shown, const std::string& note) {
    json list = json::array();
    for (const Diagnostic* listed : diagnosticsInOrder(build, warnings))
        list.push_back(diagnosticJson(*listed, shown));
    if (!note.empty())
        list.push_back({{"severity", "error"},
                        {"text", note},
                        {"message", note},
                        {"file", ""},
                        {"line", 0},
                        {"column", 0},
                        {"code", nullptr},
                        {"name", nullptr},
                        {"position", nullptr},
                        {"related", nullptr}});
    return list;
}

json viewNote(const std::string& text) {
    return {{"severity", "error"}, {"text", text},        {"file", ""},
            {"line", 0},           {"column", 0},         {"code", nullptr},
            {"name", nullptr},     {"position", nullptr}, {"related", nullptr}};
}

std::vector<PlanPoint> planOfBuild(const LinePlan& plan, std::int32_t routeLength) {
    std::vector<PlanPoint> points;
    if (!plan.exists()) return points;
    const std::int32_t last = std::min(routeLength, plan.upperBound());
    for (std::int32_t m = 0; m <= last; ++m) {
        if (plan.typeAt(m) == PlanValueType::Empty) break;
        const PlanPoint p{plan.first(m), plan.second(m)};
        if (!isPlanCoordinate(p.x) || !isPlanCoordinate(p.y)) break;
        points.push_back(p);
    }
    return points;
}

}  // namespace scenario
