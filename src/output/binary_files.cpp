// The three binary scenario files that the simulator loads: line data, station table, track
// cells. The line data file goes to the file store in pieces as it is encoded; the two small files
// are built whole.
#include "output/binary_files.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <memory>
#include <string_view>
#include <utility>

#include "base/failures.h"
#include "base/file_store.h"
#include "output/little_endian.h"

namespace scenario {
namespace {

constexpr std::size_t kLongestName = 65535;
constexpr std::size_t kPieceSize = std::size_t{64} << 10;
constexpr std::size_t kDoubleRecord = 10;

// Gathers the plan's records into pieces of a fixed size and hands each full piece on.
class PieceWriter {
  public:
    explicit PieceWriter(ByteSink& sink)
        : sink_(sink), piece_(std::make_unique_for_overwrite<char[]>(kPieceSize)) {}

    // How many more records of `size` bytes the piece takes, at least one: a piece too full for
    // one is handed on first.
    std::size_t recordsThatFit(std::size_t size) {
        if (used_ + size > kPieceSize) flush();
        return (kPieceSize - used_) / size;
    }
    // Room for the next `size` bytes (at most a piece), after handing on a piece too full.
    char* room(std::size_t size) {
        if (used_ + size > kPieceSize) flush();
        char* at = piece_.get() + used_;
        used_ += size;
        return at;
    }
    void flush() {
        if (used_ > 0) sink_.append(std::string_view(piece_.get(), used_));
        used_ = 0;
    }

  private:
    ByteSink& sink_;
    std::unique_ptr<char[]> piece_;
    std::size_t used_ = 0;
};

void putType(char* at, PlanValueType type) {
    storeLE(at, static_cast<std::uint16_t>(type), 2);
}

// The plan holds Integer seeds at metres 0 and 1, one run of Doubles from metre 2, then empty
// metres; each run is written in its own loop.
void encodePlanHalf(PieceWriter& out, const LinePlan& plan, bool second) {
    const std::int32_t upper = plan.upperBound();
    std::int32_t m = 0;
    for (; m <= upper && m < 2; ++m) {
        const PlanValueType type = plan.typeAt(m);
        const double value = second ? plan.second(m) : plan.first(m);
        if (type == PlanValueType::Integer) {
            // Integer elements are only the seeds 0 and 1 of the first two metres.
            char* at = out.room(4);
            putType(at, type);
            storeLE(at + 2, static_cast<std::uint16_t>(static_cast<std::int16_t>(value)), 2);
        } else {
            putType(out.room(2), PlanValueType::Empty);
        }
    }
    // The Doubles are most of the file: as many as the piece takes go in one tight loop.
    auto putDoubles = [&](auto coordinate) {
        while (m < plan.doubleEnd()) {
            const std::size_t left = static_cast<std::size_t>(plan.doubleEnd() - m);
            const std::size_t count = std::min(left, out.recordsThatFit(kDoubleRecord));
            char* at = out.room(count * kDoubleRecord);
            for (std::size_t i = 0; i < count; ++i, ++m, at += kDoubleRecord) {
                putType(at, PlanValueType::Double);
                storeLE(at + 2, std::bit_cast<std::uint64_t>(coordinate(m)), 8);
            }
        }
    };
    if (second)
        putDoubles([&plan](std::int32_t metre) { return plan.second(metre); });
    else
        putDoubles([&plan](std::int32_t metre) { return plan.first(metre); });
    for (; m <= upper; ++m) putType(out.room(2), PlanValueType::Empty);
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

// Bytes of one half: two seeds or two empty metres, the Doubles, then the empty metres.
std::size_t planHalfSize(const LinePlan& plan) {
    const std::size_t metres = static_cast<std::size_t>(plan.upperBound()) + 1;
    const std::size_t seeds = metres < 2 ? metres : 2;
    const std::size_t doubles = static_cast<std::size_t>(plan.doubleEnd()) - 2;
    const std::size_t seedSize = plan.typeAt(0) == PlanValueType::Integer ? 4 : 2;
    return seeds * seedSize + doubles * kDoubleRecord + (metres - seeds - doubles) * 2;
}

}  // namespace

void encodeLinePlan(const LinePlan& plan, ByteSink& out) {
    if (!plan.exists()) return;
    out.expectSize(2 * planHalfSize(plan));
    PieceWriter pieces(out);
    encodePlanHalf(pieces, plan, false);
    encodePlanHalf(pieces, plan, true);
    pieces.flush();
}

std::string encodeLinePlan(const LinePlan& plan) {
    StringSink out;
    encodeLinePlan(plan, out);
    return std::move(out.bytes);
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

void writeScenarioFiles(const ScenarioBuild& build, FileStore& files) {
    const ScenarioIdentity names = build.identity();
    if (build.buildLinePlan != 0)
        files.writeInPieces(names.lineDataFile(),
                            [&build](ByteSink& out) { encodeLinePlan(build.linePlan, out); });
    files.write(names.stationTableFile(), encodeStationTable(build.stationTable));
    // Encoded only for a store that keeps it: an editor's check writes nowhere.
    files.writeInPieces(names.trackCellFile(), [&build](ByteSink& out) {
        out.append(encodeTrackCells(build.trackCells));
    });
}

}  // namespace scenario
