// The three binary scenario files that the simulator loads: line data, station table, track
// cells. Each is built whole in memory and handed to the file store in one write.
#include "output/binary_files.h"

#include "compiler/failures.h"
#include "output/byte_buffer.h"
#include "output/file_store.h"

namespace scenario {
namespace {

constexpr std::size_t kLargestPlanRecord = 10;
constexpr std::size_t kLongestName = 65535;

void encodePlanHalf(ByteBuffer& out, const LinePlan& plan, bool second) {
    for (std::int32_t m = 0; m <= plan.upperBound(); ++m) {
        const PlanValueType type = plan.typeAt(m);
        out.u16(static_cast<std::uint16_t>(type));
        const double value = second ? plan.second(m) : plan.first(m);
        if (type == PlanValueType::Double) out.f64(value);
        // Integer elements are only the seeds 0 and 1 of the first two metres.
        if (type == PlanValueType::Integer) out.i16(static_cast<std::int16_t>(value));
    }
}

void encodeStation(ByteBuffer& out, const StationRecord& r) {
    if (r.name.size() > kLongestName)
        throw FileFailure("a station table name is longer than 65535 bytes");
    out.u8(r.stationKind);
    out.i32(r.platformStart);
    out.i32(r.platformEnd);
    out.i32(r.position);
    out.u8(r.flagA);
    out.u16(static_cast<std::uint16_t>(r.name.size()));
    out.text(r.name);
    out.i16(r.groupA1);
    out.i16(r.groupA2);
    out.i16(r.groupB1);
    out.i16(r.groupB2);
    out.i16(r.groupB3);
    out.u8(r.groupA3);
    out.u8(r.dwellTime);
    out.u8(r.flagC);
    out.u8(r.flagB);
    out.i32(r.departureTime);
}

void encodeCell(ByteBuffer& out, const TrackCell& c) {
    out.u8(c.kind);
    out.i16(c.value1);
    out.i16(c.value2);
    out.i16(c.value3);
    out.i16(c.value4);
    out.u8(c.signalTime);
    out.u8(c.approachCode);
    out.u8(c.tunnelKind);
    out.u8(c.speedLimit);
    out.u8(c.gradient);
    out.u8(c.adhesion);
}

}  // namespace

std::string encodeLinePlan(const LinePlan& plan) {
    if (!plan.exists()) return {};
    const std::size_t metres = static_cast<std::size_t>(plan.upperBound()) + 1;
    ByteBuffer out(2 * metres * kLargestPlanRecord);
    encodePlanHalf(out, plan, false);
    encodePlanHalf(out, plan, true);
    return out.take();
}

std::string encodeStationTable(const std::array<StationRecord, kStationTableSize>& table) {
    std::size_t size = 0;
    for (const StationRecord& r : table) size += kStationRecordFixedSize + r.name.size();
    ByteBuffer out(size);
    for (const StationRecord& r : table) encodeStation(out, r);
    return out.take();
}

std::string encodeTrackCells(const std::vector<TrackCell>& cells) {
    ByteBuffer out(cells.size() * kTrackCellRecordSize);
    for (const TrackCell& c : cells) encodeCell(out, c);
    return out.take();
}

void ScenarioBuild::writeScenarioFiles() {
    const ScenarioIdentity names = identity();
    if (buildLinePlan != 0) files().write(names.lineDataFile(), encodeLinePlan(linePlan));
    files().write(names.stationTableFile(), encodeStationTable(stationTable));
    files().write(names.trackCellFile(), encodeTrackCells(trackCells));
}

}  // namespace scenario
