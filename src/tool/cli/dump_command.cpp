// scenario dump: read the file, recognise it by its name, decode it against its layout, then
// print its records, one line or one JSON object each, streamed so that a long plan stays cheap.
#include "tool/cli/dump_command.h"

#include <fmt/format.h>

#include <nlohmann/json.hpp>

#include "base/file_store.h"
#include "base/platform.h"
#include "base/text_encoding.h"
#include "compiler/model_constants.h"
#include "output/scenario_file_reader.h"
#include "report/exit_status.h"

namespace scenario {
namespace {

using nlohmann::json;

std::string_view objectName(std::uint8_t kind) {
    switch (kind) {
        case kSignal:
            return "signal";
        case kSlowOrderEnd:
            return "slow-order end";
        case kSlowOrderStart:
            return "slow-order start";
        case kSlowOrderWarning:
            return "slow-order warning";
        case kWarningMarker:
            return "warning marker";
        case kSpeedBoard:
            return "speed boards";
        case kStation:
            return "station";
        case kTunnelMarker:
            return "tunnel marker";
        case kSpeedCut:
            return "speed cut";
        case kSpeedCutMark:
            return "speed-cut mark";
        case kSign:
            return "sign";
        default:
            return "";
    }
}

std::string_view typeName(PlanValueType type) {
    switch (type) {
        case PlanValueType::Integer:
            return "Integer";
        case PlanValueType::Double:
            return "Double";
        default:
            return "Empty";
    }
}

// Prints a header, then each record the filter keeps, as a table row or a JSON array element.
class RecordPrinter {
  public:
    RecordPrinter(std::ostream& out, bool asJson) : out_(out), json_(asJson) {}

    void begin(const json& header, std::string_view arrayName, std::string_view titleLine,
               std::string_view columns) {
        if (!json_) {
            out_ << titleLine << '\n' << columns << '\n';
            return;
        }
        std::string head = header.dump(-1, ' ', false, json::error_handler_t::replace);
        head.pop_back();  // the closing brace: the array follows
        out_ << head << (header.empty() ? "" : ",") << '"' << arrayName << "\":[";
    }
    // Only the form being printed is made: a plan holds a row for every metre of the route.
    template <typename MakeRecord, typename MakeTextRow>
    void row(MakeRecord makeRecord, MakeTextRow makeTextRow) {
        if (!json_) {
            out_ << makeTextRow() << '\n';
            return;
        }
        out_ << (first_ ? "\n" : ",\n")
             << makeRecord().dump(-1, ' ', false, json::error_handler_t::replace);
        first_ = false;
    }
    void end() {
        if (json_) out_ << "\n]}\n";
    }

  private:
    std::ostream& out_;
    bool json_;
    bool first_ = true;
};

bool allZero(const TrackCell& c) {
    return c.kind == 0 && c.value1 == 0 && c.value2 == 0 && c.value3 == 0 && c.value4 == 0 &&
           c.signalTime == 0 && c.approachCode == 0 && c.tunnelKind == 0 && c.speedLimit == 0 &&
           c.gradient == 0 && c.adhesion == 0;
}

bool allZero(const StationRecord& r) {
    return r.stationKind == 0 && r.platformStart == 0 && r.platformEnd == 0 && r.position == 0 &&
           r.flagA == 0 && r.name.empty() && r.groupA1 == 0 && r.groupA2 == 0 && r.groupB1 == 0 &&
           r.groupB2 == 0 && r.groupB3 == 0 && r.groupA3 == 0 && r.dwellTime == 0 && r.flagC == 0 &&
           r.flagB == 0 && r.departureTime == 0;
}

void printCells(const std::vector<TrackCell>& cells, const DumpOptions& o, std::ostream& out) {
    RecordPrinter p(out, o.json);
    p.begin({{"file", o.file}, {"fileType", "track cells"}, {"cellCount", cells.size()}}, "cells",
            fmt::format("{}: track cell file, {} cells (0 to {}), {} m each", o.file, cells.size(),
                        cells.size() - 1, kCellLength),
            " cell metres kind value1 value2 value3 value4 signalTime approachCode tunnelKind "
            "speedLimit gradient adhesion  object");
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const TrackCell& c = cells[i];
        if (!o.all && allZero(c)) continue;
        p.row(
            [&] {
                return json{{"cell", i},
                            {"kind", c.kind},
                            {"value1", c.value1},
                            {"value2", c.value2},
                            {"value3", c.value3},
                            {"value4", c.value4},
                            {"signalTime", c.signalTime},
                            {"approachCode", c.approachCode},
                            {"tunnelKind", c.tunnelKind},
                            {"speedLimit", c.speedLimit},
                            {"gradient", c.gradient},
                            {"adhesion", c.adhesion},
                            {"object", objectName(c.kind)}};
            },
            [&] {
                return fmt::format(
                    "{:>5} {:>6} {:>4} {:>6} {:>6} {:>6} {:>6} {:>10} {:>12} {:>10} {:>10} {:>8} "
                    "{:>8}  {}",
                    i, i * kCellLength, c.kind, c.value1, c.value2, c.value3, c.value4,
                    c.signalTime, c.approachCode, c.tunnelKind, c.speedLimit, c.gradient,
                    c.adhesion, objectName(c.kind));
            });
    }
    p.end();
}

void printStations(const StationTable& table, const DumpOptions& o, std::ostream& out) {
    RecordPrinter p(out, o.json);
    p.begin({{"file", o.file}, {"fileType", "station table"}, {"entryCount", table.size()}},
            "entries", fmt::format("{}: station table file, {} entries", o.file, table.size()),
            "entry stationKind platformStart platformEnd position flagA groupA1 groupA2 groupB1 "
            "groupB2 groupB3 groupA3 dwellTime flagC flagB departureTime  name");
    for (std::size_t i = 0; i < table.size(); ++i) {
        const StationRecord& r = table[i];
        if (!o.all && allZero(r)) continue;
        p.row(
            [&] {
                return json{{"entry", i},
                            {"stationKind", r.stationKind},
                            {"platformStart", r.platformStart},
                            {"platformEnd", r.platformEnd},
                            {"position", r.position},
                            {"flagA", r.flagA},
                            {"name", utf8FromWindows1252(r.name)},
                            {"groupA1", r.groupA1},
                            {"groupA2", r.groupA2},
                            {"groupB1", r.groupB1},
                            {"groupB2", r.groupB2},
                            {"groupB3", r.groupB3},
                            {"groupA3", r.groupA3},
                            {"dwellTime", r.dwellTime},
                            {"flagC", r.flagC},
                            {"flagB", r.flagB},
                            {"departureTime", r.departureTime}};
            },
            [&] {
                return fmt::format(
                    "{:>5} {:>11} {:>13} {:>11} {:>8} {:>5} {:>7} {:>7} {:>7} {:>7} {:>7} {:>7} "
                    "{:>9} {:>5} {:>5} {:>13}  {}",
                    i, r.stationKind, r.platformStart, r.platformEnd, r.position, r.flagA,
                    r.groupA1, r.groupA2, r.groupB1, r.groupB2, r.groupB3, r.groupA3, r.dwellTime,
                    r.flagC, r.flagB, r.departureTime, printableFromWindows1252(r.name));
            });
    }
    p.end();
}

json planValue(const PlanElement& e) {
    if (e.type == PlanValueType::Empty) return nullptr;
    return e.value;
}

std::string planText(const PlanElement& e) {
    if (e.type == PlanValueType::Empty) return "-";
    return fmt::format("{}", e.value);
}

void printPlan(const PlanFile& plan, const DumpOptions& o, std::ostream& out) {
    RecordPrinter p(out, o.json);
    const std::size_t metres = plan.first.size();
    p.begin({{"file", o.file}, {"fileType", "line data"}, {"metreCount", metres}}, "metres",
            fmt::format("{}: line data file, plan of metres 0 to {}", o.file, metres - 1),
            " metre firstType first secondType second");
    for (std::size_t m = 0; m < metres; ++m) {
        const PlanElement& a = plan.first[m];
        const PlanElement& b = plan.second[m];
        if (!o.all && a.type == PlanValueType::Empty && b.type == PlanValueType::Empty) continue;
        p.row(
            [&] {
                return json{{"metre", m},
                            {"firstType", typeName(a.type)},
                            {"first", planValue(a)},
                            {"secondType", typeName(b.type)},
                            {"second", planValue(b)}};
            },
            [&] {
                return fmt::format("{:>6} {:>9} {} {:>10} {}", m, typeName(a.type), planText(a),
                                   typeName(b.type), planText(b));
            });
    }
    p.end();
}

int refuse(const DumpOptions& o, const std::string& why, std::ostream& err) {
    err << fmt::format("scenario dump: {}: {}\n", o.file, why);
    return kExitFileFailure;
}

}  // namespace

void declareDumpOptions(CLI::App& command, DumpOptions& options) {
    command.description(
        "Decodes a line data file (NAME_linea.dat), a station table file (NAME_NUMBER.sim) or a\n"
        "track cell file (NAME_NUMBER.dat), recognised by its name and checked against its\n"
        "size, into a table with the model's field names. Cells and entries that are all zero,\n"
        "and empty plan metres, are left out unless --all. Names are shown in UTF-8.");
    command.add_option("FILE", options.file, "The file to decode")->required();
    command.add_flag("--json", options.json, "Print JSON instead of a table");
    command.add_flag("--all", options.all, "Include the records that are all zero or empty");
    command.footer("Exit status: 0 decoded, 2 unreadable, unrecognised, truncated or wrong size.");
}

int runDumpCommand(const DumpOptions& options, std::ostream& out, std::ostream& err) {
    const ScenarioFileKind kind = scenarioFileKindOf(options.file);
    if (kind == ScenarioFileKind::Unknown)
        return refuse(options,
                      "not a scenario file name (NAME_linea.dat, NAME_NUMBER.sim or "
                      "NAME_NUMBER.dat)",
                      err);
    const std::optional<std::string> bytes = readWholeFile(pathFromText(options.file));
    if (!bytes) return refuse(options, "cannot read the file", err);
    return printScenarioFile(kind, *bytes, options, out, err);
}

int printScenarioFile(ScenarioFileKind kind, std::string_view bytes, const DumpOptions& options,
                      std::ostream& out, std::ostream& err) {
    if (kind == ScenarioFileKind::TrackCells) {
        const Decoded<std::vector<TrackCell>> d = decodeTrackCells(bytes);
        if (!d.ok()) return refuse(options, d.error, err);
        printCells(d.records, options, out);
    } else if (kind == ScenarioFileKind::StationTable) {
        const Decoded<StationTable> d = decodeStationTable(bytes);
        if (!d.ok()) return refuse(options, d.error, err);
        printStations(d.records, options, out);
    } else {
        const Decoded<PlanFile> d = decodeLinePlan(bytes);
        if (!d.ok()) return refuse(options, d.error, err);
        printPlan(d.records, options, out);
    }
    return kExitClean;
}

}  // namespace scenario
