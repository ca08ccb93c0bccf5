// Decodes the line data file, the station table file and the track cell file: little-endian
// records read byte by byte, each read checked against the bytes left.
#include "output/scenario_file_reader.h"

#include <cstdint>

#include "base/code_page.h"
#include "output/binary_files.h"
#include "output/little_endian.h"

namespace scenario {
namespace {

std::string truncatedAt(std::size_t offset, std::size_t needed, std::size_t size,
                        const std::string& what) {
    return "truncated: " + what + " at offset " + std::to_string(offset) + " needs " +
           std::to_string(needed) + " bytes, the file ends at " + std::to_string(size);
}

TrackCell readCell(ByteReader& in) {
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
    return c;
}

// False when the entry is cut short; the fields before the name come first, so the name's length
// is known before its bytes are taken.
bool readStation(ByteReader& in, StationRecord& r) {
    constexpr std::size_t kBeforeName = 16;
    if (!in.has(kBeforeName)) return false;
    r.stationKind = in.u8();
    r.platformStart = in.i32();
    r.platformEnd = in.i32();
    r.position = in.i32();
    r.flagA = in.u8();
    const std::size_t nameLength = in.u16();
    if (!in.has(nameLength + kStationRecordFixedSize - kBeforeName)) return false;
    r.name = in.text(nameLength);
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
    return true;
}

std::size_t planValueSize(std::uint16_t type) {
    return type == 2 ? 2 : type == 5 ? 8 : 0;
}

}  // namespace

Decoded<std::vector<TrackCell>> decodeTrackCells(std::string_view bytes) {
    Decoded<std::vector<TrackCell>> out;
    if (bytes.empty()) {
        out.error = "empty file: a track cell file holds 15-byte cell records";
        return out;
    }
    if (bytes.size() % kTrackCellRecordSize != 0) {
        out.error = "wrong size: " + std::to_string(bytes.size()) +
                    " bytes is not a whole number of 15-byte cell records (" +
                    std::to_string(bytes.size() / kTrackCellRecordSize) + " records and " +
                    std::to_string(bytes.size() % kTrackCellRecordSize) +
                    " bytes over): the file is truncated or not a track cell file";
        return out;
    }
    ByteReader in(bytes);
    out.records.reserve(bytes.size() / kTrackCellRecordSize);
    while (in.left() > 0) out.records.push_back(readCell(in));
    return out;
}

Decoded<StationTable> decodeStationTable(std::string_view bytes) {
    Decoded<StationTable> out;
    ByteReader in(bytes);
    for (std::size_t entry = 0; entry < out.records.size(); ++entry) {
        const std::size_t offset = in.offset();
        if (readStation(in, out.records[entry])) continue;
        out.error = "truncated: station table entry " + std::to_string(entry) + " at offset " +
                    std::to_string(offset) + " runs past the end of the file (" +
                    std::to_string(bytes.size()) + " bytes)";
        return out;
    }
    if (in.left() > 0)
        out.error = "wrong size: " + std::to_string(in.left()) + " bytes after the " +
                    std::to_string(kStationTableSize) +
                    " entries of a station table: not a station table file";
    return out;
}

Decoded<PlanFile> decodeLinePlan(std::string_view bytes) {
    Decoded<PlanFile> out;
    if (bytes.empty()) {
        out.error = "empty file: a line data file holds the plan's records";
        return out;
    }
    std::vector<PlanElement> elements;
    ByteReader in(bytes);
    while (in.left() > 0) {
        const std::size_t offset = in.offset();
        if (!in.has(2)) {
            out.error = truncatedAt(offset, 2, bytes.size(), "the type code");
            return out;
        }
        const std::uint16_t type = in.u16();
        if (type != 0 && type != 2 && type != 5) {
            out.error = "unknown type code " + std::to_string(type) + " at offset " +
                        std::to_string(offset) + ": not a line data file";
            return out;
        }
        if (!in.has(planValueSize(type))) {
            out.error = truncatedAt(offset, 2 + planValueSize(type), bytes.size(), "the record");
            return out;
        }
        PlanElement e{static_cast<PlanValueType>(type), 0.0};
        if (type == 2) e.value = in.i16();
        if (type == 5) e.value = in.f64();
        elements.push_back(e);
    }
    if (elements.size() % 2 != 0) {
        out.error = "wrong size: " + std::to_string(elements.size()) +
                    " records do not split into the plan's two coordinates: the file is "
                    "truncated or not a line data file";
        return out;
    }
    const auto half = static_cast<std::ptrdiff_t>(elements.size() / 2);
    out.records.first.assign(elements.begin(), elements.begin() + half);
    out.records.second.assign(elements.begin() + half, elements.end());
    // Both coordinates of a metre are always set together: halves that disagree come from a
    // file cut short by a whole number of records.
    for (std::size_t m = 0; m < out.records.first.size(); ++m) {
        if (out.records.first[m].type == out.records.second[m].type) continue;
        out.error = "the two coordinates differ in type at metre " + std::to_string(m) +
                    ": the file is truncated or not a line data file";
        return out;
    }
    return out;
}

ScenarioFileKind scenarioFileKindOf(std::string_view fileName) {
    if (endsWith(fileName, "_linea.dat")) return ScenarioFileKind::LineData;
    if (endsWith(fileName, ".sim")) return ScenarioFileKind::StationTable;
    if (endsWith(fileName, ".dat")) return ScenarioFileKind::TrackCells;
    return ScenarioFileKind::Unknown;
}

}  // namespace scenario
