// The meanings of the cell fields, as the line and train passes fill them.
#include "tool/route/cell_meanings.h"

namespace scenario {
namespace {

using nlohmann::json;

// One value of an object: the record field (or the formula over fields) it is made from.
json value(const char* from, const char* unit = "") {
    return {{"from", from}, {"unit", unit}};
}

json object(const char* name, const char* record, json values) {
    return {{"object", name}, {"record", record}, {"values", std::move(values)}};
}

// An object drawn on a row of the page, standing `cellsAfter` cells after its route position.
json drawn(json kind, const char* row, int cellsAfter) {
    kind["row"] = row;
    kind["cellsAfterPosition"] = cellsAfter;
    return kind;
}

// A value that is the index of a station-table entry: a station, or the text of a sign.
json entry(const char* from) {
    json v = value(from);
    v["entry"] = true;
    return v;
}

json profile(const char* record, const char* from, const char* unit, int scale, int offset) {
    return {
        {"record", record}, {"from", from}, {"unit", unit}, {"scale", scale}, {"offset", offset}};
}

json slowOrderBoard(const char* name) {
    return drawn(object(name, "rallentamento",
                        {{"value1", value("v, the slow order's speed", "km/h")},
                         {"value2", value("d_v, the second value (0 for none)")},
                         {"value3", value("f_tt")}}),
                 "slow", 1);
}

}  // namespace

json cellMeanings() {
    json kinds;
    kinds["0"] = object("none", "", json::object());
    kinds["1"] =
        drawn(object("signal", "segnale",
                     {{"value1", value("s1 \u00d7 10 + d1")},
                      {"value2", value("s2 \u00d7 10 + d2")},
                      {"value3", value("s3 \u00d7 10 + d3")},
                      {"value4", value("rapp \u00d7 10 + sx \u00d7 3 + dx")},
                      {"signalTime", value("tempo, kept when sx is 2 (1 to 100 raised to 101)")}}),
              "signal", 1);
    kinds["2"] = slowOrderBoard("slow-order end board");
    kinds["3"] = slowOrderBoard("slow-order start");
    kinds["4"] = drawn(object("slow-order warning board, 1200 m before the start", "rallentamento",
                              {{"value1", value("v, the slow order's speed", "km/h")},
                               {"value2", value("d_v, the second value (0 for none)")}}),
                       "slow", 1);
    kinds["5"] = drawn(object("marker before a warning board (f_ta not 0)", "rallentamento",
                              {{"value1", value("marker number, 1 to 4")},
                               {"value2", value("the same when d_v is not 0")}}),
                       "slow", 1);
    kinds["6"] = drawn(object("maximum-speed board group", "indicatori_vmax",
                              {{"value1", value("vad / 5 + 20 \u00d7 vas")},
                               {"value2", value("vbd / 5 + 20 \u00d7 vbs")},
                               {"value3", value("vcd / 5 + 20 \u00d7 vcs")},
                               {"value4", value("10 \u00d7 strisces + strisced")}}),
                       "board", 1);
    kinds["10"] = object("station", "stazione", {{"value1", entry("station table entry")}});
    kinds["11"] = object("tunnel marker (every fourth cell of a tunnel of type above 10)",
                         "montagna", json::object());
    // A speed-cut point stands in the cell of its position; the other objects one cell after.
    kinds["12"] = drawn(object("speed-cut point", "abbattimento (or the signal-spacing check)",
                               {{"value1", value("cut speed", "km/h")}}),
                        "cut", 0);
    kinds["13"] =
        drawn(object("speed-cut point without speed", "abbattimento", json::object()), "cut", 0);
    kinds["14"] = drawn(object("indicator sign", "cartello_indicatore",
                               {{"value1", entry("station table entry of the sign text")}}),
                        "sign", 1);

    json profiles;
    profiles["approachCode"] = profile("segnale or stazione",
                                       "(sx \u00d7 3 + dx) \u00d7 10 + n, n cells of 100 m before "
                                       "a signal; 80 + n before a station",
                                       "", 1, 0);
    profiles["tunnelKind"] = profile("montagna", "tipo (less 10 when above 10)", "", 1, 0);
    profiles["speedLimit"] = profile("velocita", "speed limit \u00f7 5", "km/h", 5, 0);
    profiles["gradient"] = profile("pendenza", "gradient + 100", "\u2030", 1, -100);
    profiles["adhesion"] = profile("aderenza", "adhesion, low 8 bits", "", 1, 0);

    return {{"fields",
             {"kind", "value1", "value2", "value3", "value4", "signalTime", "approachCode",
              "tunnelKind", "speedLimit", "gradient", "adhesion"}},
            {"profiles", std::move(profiles)},
            {"kinds", std::move(kinds)}};
}

}  // namespace scenario
