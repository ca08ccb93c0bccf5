// Reads and writes stock files, refusing a key that is unknown, not a number, or out of range.
#include "tool/timing/stock.h"

#include <cmath>
#include <nlohmann/json.hpp>

namespace scenario::timing {
namespace {

using nlohmann::ordered_json;

constexpr StockKey kKeys[] = {
    {"locomotive_mass_t", &Stock::locomotiveMassT, "t",
     "the traction unit, which is also the mass its adhesion acts on", true},
    {"locomotive_length_m", &Stock::locomotiveLengthM, "m", "the traction unit's length", false},
    {"car_mass_t", &Stock::carMassT, "t", "one car; the train file gives the number of cars", true},
    {"car_length_m", &Stock::carLengthM, "m", "one car's length", false},
    {"power_kw", &Stock::powerKw, "kW", "power at the wheel", false},
    {"max_force_kn", &Stock::maxForceKn, "kN", "starting tractive force", false},
    {"max_speed_kmh", &Stock::maxSpeedKmh, "km/h", "the train's own top speed", false},
    {"rotating_mass", &Stock::rotatingMass, "", "rho: the train accelerates as a mass m(1 + rho)",
     false},
    {"resistance_a", &Stock::resistanceA, "N/kN",
     "running resistance a + b V + c V^2 per kN of weight, V in km/h", false},
    {"resistance_b", &Stock::resistanceB, "N/kN per km/h", "the resistance's linear term", false},
    {"resistance_c", &Stock::resistanceC, "N/kN per (km/h)^2", "the resistance's quadratic term",
     false},
    {"service_deceleration", &Stock::serviceDeceleration, "m/s^2",
     "planning braking on level track", false},
};

const StockKey* keyNamed(std::string_view name) {
    for (const StockKey& key : kKeys)
        if (key.name == name) return &key;
    return nullptr;
}

std::string readValue(const StockKey& key, const ordered_json& given, Stock& stock) {
    const ordered_json* value = &given;
    if (given.is_object()) {
        for (const auto& [member, part] : given.items())
            if (member != "value" && member != "unit" && member != "comment")
                return "stock key " + std::string(key.name) + ": unknown member \"" + member + "\"";
        if (!given.contains("value"))
            return "stock key " + std::string(key.name) + " has no \"value\"";
        value = &given["value"];
    }
    if (!value->is_number()) return "stock key " + std::string(key.name) + " is not a number";
    const double number = value->get<double>();
    if (!std::isfinite(number) || number < 0)
        return "stock key " + std::string(key.name) + " is negative";
    if (key.positive && number == 0) return "stock key " + std::string(key.name) + " is 0";
    // Far beyond any train, and low enough that no force or mass overflows.
    if (number > kLargestStockValue)
        return "stock key " + std::string(key.name) + " is above " +
               std::to_string(static_cast<long>(kLargestStockValue));
    stock.*key.member = number;
    return {};
}

}  // namespace

std::span<const StockKey> stockKeys() {
    return kKeys;
}

double defaultOf(const StockKey& key) {
    return Stock{}.*key.member;
}

StockRead readStock(std::string_view text) {
    StockRead read;
    const ordered_json file = ordered_json::parse(text, nullptr, false);
    if (file.is_discarded()) {
        read.error = "the stock file is not JSON";
        return read;
    }
    if (!file.is_object()) {
        read.error = "the stock file is not a JSON object";
        return read;
    }
    for (const auto& [name, given] : file.items()) {
        const StockKey* key = keyNamed(name);
        if (key == nullptr) {
            read.error = "unknown stock key \"" + name + "\"";
            return read;
        }
        read.error = readValue(*key, given, read.stock);
        if (!read.ok()) return read;
    }
    return read;
}

std::string defaultStockText() {
    ordered_json file = ordered_json::object();
    for (const StockKey& key : kKeys) {
        ordered_json entry = {{"value", defaultOf(key)}};
        if (!key.unit.empty()) entry["unit"] = key.unit;
        entry["comment"] = key.comment;
        file[std::string(key.name)] = entry;
    }
    return file.dump(2) + "\n";
}

}  // namespace scenario::timing
