// The train the running times assume: a traction unit and cars, with one table of the stock
// file's keys (default, unit, meaning) that the reader, the writer and the docs all walk.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace scenario::timing {

struct Stock {
    double locomotiveMassT = 80;
    double locomotiveLengthM = 20;
    double carMassT = 45;
    double carLengthM = 26;
    double powerKw = 3000;
    double maxForceKn = 200;
    double maxSpeedKmh = 160;
    double rotatingMass = 0.06;
    double resistanceA = 1.5;
    double resistanceB = 0;
    double resistanceC = 0.00025;
    double serviceDeceleration = 0.6;
};

struct StockKey {
    std::string_view name;
    double Stock::*member;
    std::string_view unit;
    std::string_view comment;
    bool positive;  // 0 is refused as well as a negative value
};

std::span<const StockKey> stockKeys();
inline constexpr double kLargestStockValue = 1e6;
double defaultOf(const StockKey& key);

// A stock file: one JSON object whose members are the keys. A key's value is a number or an
// object {"value": number, "unit": ..., "comment": ...}, which is how the file carries its
// comments; keys left out keep their defaults.
struct StockRead {
    Stock stock;
    std::string error;  // names the key it refuses
    bool ok() const { return error.empty(); }
};
StockRead readStock(std::string_view text);

// The defaults as a stock file, every key with its unit and comment.
std::string defaultStockText();

// The stock file the tools look for beside a scenario's files.
inline constexpr std::string_view kStockFileEnding = ".stock.json";

}  // namespace scenario::timing
