// Reads the binary scenario files back, by the fixed layout of their records and independently of
// the writers, and names the first record and field in which a file differs from what is expected.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "compiler/track_model.h"

namespace scenario::testing {

class LittleEndianReader {
  public:
    explicit LittleEndianReader(const std::string& bytes) : bytes_(bytes) {}
    bool has(std::size_t count) const { return pos_ + count <= bytes_.size(); }
    bool atEnd() const { return pos_ == bytes_.size(); }
    std::uint64_t unsignedValue(int size) {
        std::uint64_t v = 0;
        for (int i = 0; i < size; ++i)
            v |= std::uint64_t{static_cast<unsigned char>(bytes_[pos_ + i])} << (8 * i);
        pos_ += static_cast<std::size_t>(size);
        return v;
    }
    std::uint8_t u8() { return static_cast<std::uint8_t>(unsignedValue(1)); }
    std::uint16_t u16() { return static_cast<std::uint16_t>(unsignedValue(2)); }
    std::int16_t i16() { return static_cast<std::int16_t>(u16()); }
    std::int32_t i32() { return static_cast<std::int32_t>(unsignedValue(4)); }
    double f64() {
        const std::uint64_t bits = unsignedValue(8);
        double v;
        std::memcpy(&v, &bits, sizeof v);
        return v;
    }
    std::string text(std::size_t size) {
        std::string t = bytes_.substr(pos_, size);
        pos_ += size;
        return t;
    }

  private:
    const std::string& bytes_;
    std::size_t pos_ = 0;
};

// A list of the record's fields, each with its name and its value as a number or text.
template <typename Record>
using FieldList = std::vector<std::pair<const char*, std::function<std::string(const Record&)>>>;

inline std::string num(std::int64_t v) {
    return std::to_string(v);
}

inline const FieldList<TrackCell>& cellFields() {
    static const FieldList<TrackCell> fields = {
        {"kind", [](const TrackCell& c) { return num(c.kind); }},
        {"value1", [](const TrackCell& c) { return num(c.value1); }},
        {"value2", [](const TrackCell& c) { return num(c.value2); }},
        {"value3", [](const TrackCell& c) { return num(c.value3); }},
        {"value4", [](const TrackCell& c) { return num(c.value4); }},
        {"signalTime", [](const TrackCell& c) { return num(c.signalTime); }},
        {"approachCode", [](const TrackCell& c) { return num(c.approachCode); }},
        {"tunnelKind", [](const TrackCell& c) { return num(c.tunnelKind); }},
        {"speedLimit", [](const TrackCell& c) { return num(c.speedLimit); }},
        {"gradient", [](const TrackCell& c) { return num(c.gradient); }},
        {"adhesion", [](const TrackCell& c) { return num(c.adhesion); }},
    };
    return fields;
}

inline const FieldList<StationRecord>& stationFields() {
    static const FieldList<StationRecord> fields = {
        {"stationKind", [](const StationRecord& r) { return num(r.stationKind); }},
        {"platformStart", [](const StationRecord& r) { return num(r.platformStart); }},
        {"platformEnd", [](const StationRecord& r) { return num(r.platformEnd); }},
        {"position", [](const StationRecord& r) { return num(r.position); }},
        {"flagA", [](const StationRecord& r) { return num(r.flagA); }},
        {"name", [](const StationRecord& r) { return "\"" + r.name + "\""; }},
        {"groupA1", [](const StationRecord& r) { return num(r.groupA1); }},
        {"groupA2", [](const StationRecord& r) { return num(r.groupA2); }},
        {"groupB1", [](const StationRecord& r) { return num(r.groupB1); }},
        {"groupB2", [](const StationRecord& r) { return num(r.groupB2); }},
        {"groupB3", [](const StationRecord& r) { return num(r.groupB3); }},
        {"groupA3", [](const StationRecord& r) { return num(r.groupA3); }},
        {"dwellTime", [](const StationRecord& r) { return num(r.dwellTime); }},
        {"flagC", [](const StationRecord& r) { return num(r.flagC); }},
        {"flagB", [](const StationRecord& r) { return num(r.flagB); }},
        {"departureTime", [](const StationRecord& r) { return num(r.departureTime); }},
    };
    return fields;
}

// The track cell file as cells; false when its size is not a whole number of records.
inline bool readTrackCells(const std::string& bytes, std::vector<TrackCell>& cells) {
    LittleEndianReader in(bytes);
    cells.clear();
    while (in.has(15)) {
        TrackCell c;
        c.kind = in.u8();
        c.value1 = in.i16();
        c.value2 = in.i16();
        c.value3 = in.i16();
        c.value4 = in.i16();
        c.signalTime = in.u8();
        c.approachCode = in.u8();
        c.tunnelKind = in.u8();
        c.speedLimit = in.u8();
        c.gradient = in.u8();
        c.adhesion = in.u8();
        cells.push_back(c);
    }
    return in.atEnd();
}

// The station table file as entries; false when a record is cut short or bytes are left over.
inline bool readStationTable(const std::string& bytes, std::vector<StationRecord>& entries) {
    LittleEndianReader in(bytes);
    entries.clear();
    while (in.has(16)) {
        StationRecord r;
        r.stationKind = in.u8();
        r.platformStart = in.i32();
        r.platformEnd = in.i32();
        r.position = in.i32();
        r.flagA = in.u8();
        const std::size_t n = in.u16();
        if (!in.has(n + 18)) return false;
        r.name = in.text(n);
        r.groupA1 = in.i16();
        r.groupA2 = in.i16();
        r.groupB1 = in.i16();
        r.groupB2 = in.i16();
        r.groupB3 = in.i16();
        r.groupA3 = in.u8();
        r.dwellTime = in.u8();
        r.flagC = in.u8();
        r.flagB = in.u8();
        r.departureTime = in.i32();
        entries.push_back(r);
    }
    return in.atEnd();
}

// "" when equal; otherwise the first differing record and field.
template <typename Record>
std::string firstDifference(const std::function<std::string(std::size_t)>& recordName,
                            const std::vector<Record>& expected, const std::vector<Record>& actual,
                            const FieldList<Record>& fields) {
    for (std::size_t i = 0; i < expected.size() && i < actual.size(); ++i) {
        for (const auto& [field, value] : fields) {
            const std::string want = value(expected[i]), got = value(actual[i]);
            if (want != got)
                return recordName(i) + ", field " + field + ": expected " + want + ", got " + got;
        }
    }
    if (expected.size() != actual.size())
        return std::to_string(actual.size()) + " records, expected " +
               std::to_string(expected.size());
    return "";
}

inline std::string firstCellDifference(const std::string& fileBytes,
                                       const std::vector<TrackCell>& expected) {
    std::vector<TrackCell> actual;
    if (!readTrackCells(fileBytes, actual))
        return "track cell file of " + std::to_string(fileBytes.size()) +
               " bytes is not whole 15-byte records";
    return firstDifference([](std::size_t i) { return "cell " + std::to_string(i); }, expected,
                           actual, cellFields());
}

inline std::string firstStationDifference(const std::string& fileBytes,
                                          const std::vector<StationRecord>& expected) {
    std::vector<StationRecord> actual;
    if (!readStationTable(fileBytes, actual))
        return "station table file of " + std::to_string(fileBytes.size()) +
               " bytes is not whole records";
    return firstDifference([](std::size_t i) { return "entry " + std::to_string(i); }, expected,
                           actual, stationFields());
}

// One element of the plan as the line data file stores it.
struct PlanRecord {
    std::uint16_t type = 0;
    double value = 0;
};

inline const FieldList<PlanRecord>& planFields() {
    static const FieldList<PlanRecord> fields = {
        {"type", [](const PlanRecord& r) { return num(r.type); }},
        {"value",
         [](const PlanRecord& r) {
             char text[40];
             std::snprintf(text, sizeof text, "%.17g", r.value);
             return std::string(text);
         }},
    };
    return fields;
}

inline std::string firstPlanDifference(const std::string& fileBytes,
                                       const std::vector<PlanRecord>& expected) {
    LittleEndianReader in(fileBytes);
    std::vector<PlanRecord> actual;
    while (in.has(2)) {
        PlanRecord r;
        r.type = in.u16();
        const std::size_t size = r.type == 2 ? 2 : r.type == 5 ? 8 : 0;
        if (!in.has(size)) return "line data file cut short in a record";
        if (r.type == 2) r.value = in.i16();
        if (r.type == 5) r.value = in.f64();
        actual.push_back(r);
    }
    if (!in.atEnd()) return "line data file ends inside a type code";
    const std::size_t metres = expected.size() / 2;
    const auto name = [metres](std::size_t i) {
        return "plan record " + std::to_string(i) + " (metre " + std::to_string(i % metres) +
               (i < metres ? ", first coordinate)" : ", second coordinate)");
    };
    return firstDifference(name, expected, actual, planFields());
}

}  // namespace scenario::testing
