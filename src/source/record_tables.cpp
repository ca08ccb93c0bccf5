// The two record tables with the notes on their fields, and the notes for a record's first field
// that stands where its file's reader does not look for it.
#include "source/record_tables.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>

#include "base/code_page.h"
#include "source/record_walker.h"

namespace scenario {
namespace {

// A first field as written and folded to small letters: the keywords are all small letters, so
// folding the field once serves every case-free test, however long the field.
struct FirstField {
    explicit FirstField(std::string_view text);
    std::string_view written;
    std::string folded;
    // Which bytes each form holds, one bit per byte value modulo 64: a keyword with a byte the
    // field lacks is rejected without a search.
    std::uint64_t writtenBytes = 0;
    std::uint64_t foldedBytes = 0;
    // Every keyword holds a letter: a field without one (a number) matches none.
    bool holdsLetter = false;
};

constexpr std::int64_t kLongMin = INT32_MIN;
constexpr std::int64_t kLongMax = INT32_MAX;
constexpr std::int64_t kIntegerMin = INT16_MIN;
constexpr std::int64_t kIntegerMax = INT16_MAX;
constexpr std::int64_t kLongestRoute = 1000000;

using F = FieldType;

constexpr FieldSpec kRouteLength[] = {
    {"length", F::Long, "m", 1000, kLongestRoute,
     "stationTable(84).platformEnd; sizes trackCells and linePlan"}};
constexpr FieldSpec kKilometrePost[] = {
    {"position", F::Long, "m", 0, kLongestRoute,
     "stationTable(81 to 83).platformStart, ordered by position"},
    {"reference", F::Long, "m", kLongMin, kLongMax,
     "stationTable(81 to 83).platformEnd, plus 100 with the flag"},
    {"flag", F::Long, "", 0, 1, "stationTable(81 to 83).position"}};
constexpr FieldSpec kBackgroundOne[] = {
    {"background", F::Long, "", kLongMin, kLongMax, "stationTable(85).platformStart"}};
constexpr FieldSpec kBackgroundTwo[] = {
    {"background", F::Long, "", kLongMin, kLongMax, "stationTable(85).position"}};
constexpr FieldSpec kBackgroundThree[] = {
    {"background", F::Long, "", kLongMin, kLongMax, "stationTable(85).platformEnd"}};
constexpr FieldSpec kSignalRepetition[] = {
    {"first", F::Long, "m", 0, kLongestRoute, "stationTable(86).platformStart", {CellRule::Whole}},
    {"second",
     F::Long,
     "m",
     0,
     kLongestRoute,
     "stationTable(86).platformEnd, 0 for none",
     {CellRule::Whole}}};
constexpr FieldSpec kGradient[] = {
    {"position", F::Long, "m", 0, kLongestRoute, "the gradient holds from it", {CellRule::At}},
    {"gradient", F::Long, "per mille", -60, 60, "trackCells.gradient", {.offset = 100}}};
constexpr FieldSpec kCurve[] = {
    {"position", F::Long, "m", 0, kLongestRoute, "linePlan: the curve starts at this metre"},
    {"length", F::Long, "m", 0, kLongestRoute, "linePlan: the curve's metres"}};
constexpr FieldSpec kTunnel[] = {
    {"inizio", F::Long, "m", 0, kLongestRoute, "the tunnel's first", {CellRule::At}},
    {"fine", F::Long, "m", 0, kLongestRoute, "the tunnel's last", {CellRule::Before}},
    {"tipo", F::Long, "", 0, 255, "trackCells.tunnelKind; above 10 with markers (kind 11)"}};
constexpr FieldSpec kSpeedBoards[] = {
    {"posizione", F::Long, "m", 0, kLongestRoute, "kind 6", {CellRule::After, true}},
    {"vas", F::Long, "km/h", 0, 300, "value1 = vad / 5 + 20 vas"},
    {"vbs", F::Long, "km/h", 0, 300, "value2 = vbd / 5 + 20 vbs"},
    {"vcs", F::Long, "km/h", 0, 300, "value3 = vcd / 5 + 20 vcs"},
    {"strisces", F::Long, "", 0, 9, "value4 = 10 strisces + strisced"},
    {"vad", F::Long, "km/h", 0, 300, "value1"},
    {"vbd", F::Long, "km/h", 0, 300, "value2"},
    {"vcd", F::Long, "km/h", 0, 300, "value3"},
    {"strisced", F::Long, "", 0, 9, "value4"}};
constexpr FieldSpec kSign[] = {
    {"position", F::Long, "m", 0, kLongestRoute, "kind 14", {CellRule::After, true}},
    {"text", F::Name, "", 0, 65535, "stationTable(80 downward).name"}};

constexpr FieldSpec kBrakedMass[] = {
    {"percentage", F::Long, "%", 0, kLongMax, "stationTable(84).platformStart"}};
constexpr FieldSpec kCarCount[] = {{"cars", F::Long, "", 0, kLongMax, "stationTable(84).position"}};
constexpr FieldSpec kSpeedLimit[] = {
    {"position", F::Long, "m", 0, kLongestRoute, "the speed holds from it", {CellRule::At}},
    {"speed", F::Long, "km/h", 0, 300, "trackCells.speedLimit", {.scale = 5}}};
constexpr FieldSpec kAdhesion[] = {
    {"position", F::Long, "m", 0, kLongestRoute, "the adhesion holds from it", {CellRule::At}},
    {"adhesion", F::Long, "", 0, 255, "trackCells.adhesion"}};
constexpr FieldSpec kClock[] = {{"hours", F::Integer, "h", 0, 23, "stationTable(86).groupB1"},
                                {"minutes", F::Integer, "min", 0, 59, "stationTable(86).groupB2"},
                                {"seconds", F::Integer, "s", 0, 59, "stationTable(86).groupB3"}};
constexpr FieldSpec kSand[] = {
    {"sand", F::Integer, "", 0, kIntegerMax, "stationTable(86).groupA1"}};
constexpr FieldSpec kSignal[] = {
    {"posizione", F::Long, "m", 0, kLongestRoute, "kind 1", {CellRule::After, true}},
    {"sx", F::Long, "", 0, 2, "value4 = 10 rapp + 3 sx + dx; the left side's signal"},
    {"s1", F::Long, "", 0, 9, "value1 = 10 s1 + d1"},
    {"s2", F::Long, "", 0, 9, "value2 = 10 s2 + d2"},
    {"s3", F::Long, "", 0, 9, "value3 = 10 s3 + d3"},
    {"rapp", F::Long, "", 0, 9, "value4, its tens"},
    {"dx", F::Long, "", 0, 2, "value4; the right side's signal"},
    {"d1", F::Long, "", 0, 9, "value1, its units"},
    {"d2", F::Long, "", 0, 9, "value2, its units"},
    {"d3", F::Long, "", 0, 9, "value3, its units"},
    {"tempo", F::Long, "", 0, 255, "signalTime when sx is 2; 1 to 100 become 101"}};
constexpr FieldSpec kSlowOrder[] = {
    {"x", F::Long, "m", 0, kLongestRoute, "the start, kind 3", {CellRule::After, true}},
    {"v", F::Long, "km/h", 0, 300, "value1 of every board"},
    {"l", F::Long, "m", 0, kLongestRoute, "end cell round((x + l) / 50 + 1), kind 2"},
    {"f_tt", F::Long, "", kIntegerMin, kIntegerMax, "value3 of the start and end"},
    {"f_ta", F::Long, "", kLongMin, kLongMax,
     "not 0: four marker cells (kind 5) before the warning board"},
    {"d_v", F::Long, "km/h", 0, 300, "value2 of every board; 0 for none"}};
constexpr FieldSpec kSpeedCut[] = {
    {"position", F::Long, "m", 0, kLongestRoute, "kind 12 or 13", {CellRule::At, true}},
    {"speed", F::Long, "km/h", 0, 300, "value1; below 1 gives kind 13"}};
constexpr FieldSpec kStation[] = {
    {"position", F::Long, "m", 0, kLongestRoute, "position", {CellRule::Whole}},
    {"stationKind", F::Byte, "", 0, 255,
     "stationKind; 5 to 8 place the platform their own way, from 25 on no station cell"},
    {"platform length", F::Long, "m", 0, kLongestRoute,
     "platformStart and platformEnd; a multiple of 100"},
    {"flagA", F::Byte, "", 0, 255, "flagA, as written; its meaning is the simulator's"},
    {"flagB", F::Byte, "", 0, 255, "flagB; 0 below 600 m of platform and on station 1"},
    {"flagC", F::Byte, "", 0, 255,
     "flagC; not 0 moves platformEnd 50 m on; 0 for kinds 5 to 8 and on station 1"},
    {"groupA1", F::Integer, "", kIntegerMin, kIntegerMax, "groupA1, as written"},
    {"groupA2", F::Integer, "", kIntegerMin, kIntegerMax, "groupA2, as written"},
    {"groupA3", F::Byte, "", 0, 255, "groupA3, as written"},
    {"groupB1", F::Integer, "", kIntegerMin, kIntegerMax, "groupB1, as written"},
    {"groupB2", F::Integer, "", kIntegerMin, kIntegerMax, "groupB2, as written"},
    {"groupB3", F::Integer, "", kIntegerMin, kIntegerMax, "groupB3, as written"},
    {"dwellTime", F::Byte, "s", 0, 255, "dwellTime; 0 where the train does not stop"},
    {"hours", F::Long, "h", 0, 23, "departureTime = (hours * 60 + minutes) * 60 + seconds"},
    {"minutes", F::Long, "min", 0, 59, "departureTime"},
    {"seconds", F::Long, "s", 0, 59, "departureTime"},
    {"name", F::Name, "", 0, 65535, "name"}};

using S = RecordSection;
using R = RecordId;

// The general records' keywords are exact but for the route length's.
constexpr RecordSpec kLineRecords[] = {
    {R::RouteLength, "route length", S::LineGeneral, "lunghezza", "percorso", false, kRouteLength,
     "lunghezza percorso"},
    {R::KilometrePostThree, "kilometre post three", S::LineGeneral, "progressiva", "tre", true,
     kKilometrePost, "progressiva chilometrica tre"},
    {R::KilometrePostTwo, "kilometre post two", S::LineGeneral, "progressiva", "due", true,
     kKilometrePost, "progressiva chilometrica due"},
    {R::KilometrePostOne, "kilometre post one", S::LineGeneral, "progressiva", "uno", true,
     kKilometrePost, "progressiva chilometrica uno"},
    {R::BackgroundOne, "background one", S::LineGeneral, "sfondo", "uno", true, kBackgroundOne,
     "sfondo uno"},
    {R::BackgroundTwo, "background two", S::LineGeneral, "sfondo", "due", true, kBackgroundTwo,
     "sfondo due"},
    {R::BackgroundThree, "background three", S::LineGeneral, "sfondo", "tre", true,
     kBackgroundThree, "sfondo tre"},
    {R::SignalRepetition, "signal repetition", S::LineGeneral, "segnali", "ripetizione", true,
     kSignalRepetition, "ripetizione segnali 4 codici"},
    {R::Gradient, "gradient", S::LineRoute, "pendenza", "", false, kGradient, "pendenza"},
    {R::Curve, "curve", S::LineRoute, "curva", "", false, kCurve, "curvad5",
     "Write `curvas` (left) or `curvad` (right) and one class digit, 1 (the widest) to 6 (the "
     "sharpest). The whole first field is searched: the class is the first of the digits 1 to 6, "
     "in that order, that it holds anywhere (none is error 103), and the curve turns left when "
     "the field holds an `s` anywhere, in either case, right otherwise. So `curva destra 5` is a "
     "left curve, and `curvaX5` a right one; `scenario check` warns of any other spelling "
     "(`curve-keyword`)."},
    {R::Tunnel, "tunnel", S::LineRoute, "montagna", "", false, kTunnel, "montagna"},
    {R::SpeedBoards, "maximum-speed boards", S::LineRoute, "indicatori_v", "", false, kSpeedBoards,
     "indicatori_vmax"},
    {R::Sign, "indicator sign", S::LineRoute, "indicat", "cartello", false, kSign,
     "cartello_indicatore"},
};

constexpr RecordSpec kTrainRecords[] = {
    {R::BrakedMass, "braked mass", S::Train, "massa", "frenata", false, kBrakedMass,
     "percentuale massa frenata"},
    {R::CarCount, "number of cars", S::Train, "vetture", "", false, kCarCount, "numero vetture"},
    {R::SpeedLimit, "speed limit", S::Train, "velocit", "", false, kSpeedLimit, "velocita"},
    {R::Adhesion, "adhesion", S::Train, "aderenza", "", false, kAdhesion, "aderenza"},
    {R::Clock, "start clock", S::Train, "orologio", "", false, kClock, "orologio"},
    {R::Sand, "sand supply", S::Train, "sabbia", "", false, kSand, "sabbia"},
    {R::Signal, "signal", S::Train, "segnale", "", false, kSignal, "segnale"},
    {R::SlowOrder, "slow order", S::Train, "rallentamento", "", false, kSlowOrder, "rallentamento"},
    {R::SpeedCut, "speed-cut point", S::Train, "abbattimento", "", false, kSpeedCut,
     "abbattimento"},
    {R::Station, "station", S::Train, "stazione", "", false, kStation, "stazione"},
};

// What a record's fields do beyond their own cell in the table: the cases the compile tells
// apart, the values it forces, and where the meaning is left to the simulator, the values of the
// built-in run.
constexpr std::string_view kStationNotes[] = {
    "`stationKind`: the compile tells four classes apart. Kinds 5 and 6: the platform runs the "
    "platform length back from the position and ends 150 m after it; a station cell, but no "
    "approach codes. Kinds 7 and 8: the platform runs the platform length both ways from the "
    "position. Other kinds below 25: the platform is centred on the position. Kinds 25 and up: "
    "no station cell and no approach codes, yet the stop is spaced from the others and counted "
    "like a station. What a kind means beyond that is the simulator's; the built-in run uses 4 "
    "(first and last station), 12 and 22 (stations), 25 and 27 (stops without a station cell).",
    "`flagA`: stored as written; its meaning is the simulator's. The built-in run has 1 at the "
    "last station, 0 elsewhere.",
    "`flagB`: stored, but forced to 0 when the platform is shorter than 600 m, and at station 1; "
    "its meaning is the simulator's. The built-in run has 0 everywhere.",
    "`flagC`: not 0 moves `platformEnd` 50 m on, and the station cell and its approach codes "
    "with it; forced to 0 for kinds 5 to 8 (where it moves nothing), and at station 1 after it "
    "has moved that station's platform end. The built-in run has 0 everywhere.",
    "`groupA1` to `groupA3` and `groupB1` to `groupB3`: stored as written; their meaning is the "
    "simulator's. The built-in run has groupA 1, 1, 0 at the first and last stations and at the "
    "kind-12 station, 0, 0, 0 elsewhere; groupB 4, 1, 1 at the first station and the kind-12 and "
    "kind-22 stations, 2, 1, 1 at the last, and 0, 0, 0 at the stops of kinds 25 and 27.",
};
constexpr std::string_view kSignalNotes[] = {
    "`sx` and `dx`: the signal on the left and on the right side, 0 to 2. The approach codes "
    "100, 200, 300 and 400 m before the signal are 10 (3 sx + dx) + 1 to 4, whatever stands "
    "there. What 1 and 2 show is the simulator's; in the built-in run `sx` 1 is a distant signal, "
    "1000 to 1250 m before a signal with `sx` 2, and `dx` is 0 or 2.",
    "`s1` to `s3`, `d1` to `d3` and `rapp`: single digits, packed as above in 16 bits, so a value "
    "beyond 9 runs into the next digit. Their meaning is the simulator's; the built-in run uses "
    "`s1` 2 to 5, `s2` 0, 1, 3, 4 or 6, `d1` 0 or 2, `d2` 0 or 1, `s3` and `d3` 0, and `rapp` 0 "
    "or 1.",
    "`tempo`: kept as `signalTime` only when `sx` is 2, else 0; 1 to 100 become 101. The built-in "
    "run has 0.",
};

constexpr PackedDigit kValue1[] = {{"s1", 10}, {"d1", 1}};
constexpr PackedDigit kValue2[] = {{"s2", 10}, {"d2", 1}};
constexpr PackedDigit kValue3[] = {{"s3", 10}, {"d3", 1}};
constexpr PackedDigit kValue4[] = {{"rapp", 10}, {"sx", 3}, {"dx", 1}};
constexpr PackedValue kSignalPacking[] = {
    {"value1", kValue1}, {"value2", kValue2}, {"value3", kValue3}, {"value4", kValue4}};

constexpr std::string_view kLineHeaders[] = {
    "[generale]", "[curve]", "[pendenze]", "[montagne]", "[cartelli]", "[indicazioni]", "[fine]"};
constexpr std::string_view kTrainHeaders[] = {"[generale]", "[aderenze]",      "[vel_limite]",
                                              "[stazioni]", "[rallentamenti]", "[segnali]",
                                              "[codici]",   "[fine]"};

constexpr std::uint64_t bytesOf(std::string_view text) {
    std::uint64_t set = 0;
    for (const char c : text) set |= std::uint64_t{1} << (static_cast<unsigned char>(c) % 64);
    return set;
}

// The bits of a keyword's first and last bytes: cheap enough to take for every test.
std::uint64_t endsOf(std::string_view keyword) {
    return bytesOf(keyword.substr(0, 1)) | bytesOf(keyword.substr(keyword.size() - 1));
}

bool holds(const FirstField& field, std::string_view keyword, bool exact) {
    if (keyword.empty()) return true;
    const std::uint64_t needed = endsOf(keyword);
    if (((exact ? field.writtenBytes : field.foldedBytes) & needed) != needed) return false;
    return contains(exact ? field.written : field.folded, keyword);
}

bool readsHere(RecordSection section, SourcePlace place) {
    switch (place) {
        case SourcePlace::LineGeneral:
            return section == RecordSection::LineGeneral;
        case SourcePlace::LineRoute:
            return section == RecordSection::LineRoute;
        case SourcePlace::TrainRecords:
            return section == RecordSection::Train;
        default:
            return false;
    }
}

bool isPreamble(SourcePlace place) {
    return place == SourcePlace::LinePreamble || place == SourcePlace::TrainPreamble;
}

bool isLineFile(SourcePlace place) {
    return place == SourcePlace::LinePreamble || place == SourcePlace::LineGeneral ||
           place == SourcePlace::LineRoute;
}

std::string_view whyPassedOver(RecordSection section, SourcePlace place) {
    if (isPreamble(place)) return "stands before [generale] and is passed over";
    if (readsHere(section, place))
        return "is passed over: this record's keywords must be written in lower case";
    if (section == RecordSection::Train)
        return "is a train source record, passed over in this file";
    if (!isLineFile(place)) return "is a line source record, passed over in this file";
    if (section == RecordSection::LineGeneral)
        return "is a [generale] record, passed over after that section";
    return "is a route record, passed over inside the [generale] section";
}

// Both tables in one, as the notes search them: the line source's records first.
constexpr auto kAllRecords = [] {
    std::array<RecordSpec, std::size(kLineRecords) + std::size(kTrainRecords)> all{};
    std::size_t i = 0;
    for (const RecordSpec& r : kLineRecords) all[i++] = r;
    for (const RecordSpec& r : kTrainRecords) all[i++] = r;
    return all;
}();

}  // namespace

std::span<const RecordSpec> lineRecords() {
    return kLineRecords;
}
std::span<const RecordSpec> trainRecords() {
    return kTrainRecords;
}

std::span<const std::string_view> lineHeaders() {
    return kLineHeaders;
}
std::span<const std::string_view> trainHeaders() {
    return kTrainHeaders;
}

std::span<const std::string_view> recordNotes(RecordId id) {
    if (id == RecordId::Station) return kStationNotes;
    if (id == RecordId::Signal) return kSignalNotes;
    return {};
}

std::span<const PackedValue> signalPacking() {
    return kSignalPacking;
}

std::vector<std::int32_t> unpackDigits(const PackedValue& packed, std::int32_t value) {
    std::vector<std::int32_t> digits;
    for (const PackedDigit& d : packed.digits) {
        digits.push_back(value / d.weight);
        value %= d.weight;
    }
    return digits;
}

std::string fieldLabel(const RecordSpec& record, const FieldSpec& field) {
    const std::string_view name = record.name;
    for (std::size_t at = name.find(field.name); at != std::string_view::npos;
         at = name.find(field.name, at + 1)) {
        const std::size_t end = at + field.name.size();
        if ((at == 0 || name[at - 1] == ' ') && (end == name.size() || name[end] == ' '))
            return std::string(name);
    }
    return std::string(name) + " " + std::string(field.name);
}

namespace {

FirstField::FirstField(std::string_view text)
    : written(text),
      folded(toLowerText(text)),
      writtenBytes(bytesOf(written)),
      foldedBytes(bytesOf(folded)) {
    for (const char c : folded) holdsLetter = holdsLetter || (c >= 'a' && c <= 'z');
}

// The same test as matchesRecord without regard to letter case, even for a keyword written case
// by case.
bool matchesAnyCase(const FirstField& field, const RecordSpec& r) {
    return field.holdsLetter && holds(field, r.keyword, false) &&
           (r.alsoNeeded.empty() || holds(field, r.alsoNeeded, false));
}

bool matchesRecord(const FirstField& field, const RecordSpec& record) {
    return field.holdsLetter && holds(field, record.keyword, record.exact) &&
           (record.alsoNeeded.empty() || holds(field, record.alsoNeeded, record.exact));
}

static_assert(std::size(kAllRecords) <= 32, "a record's bit must fit RecordMatches");
static_assert(
    [] {
        std::uint32_t seen = 0;
        for (const RecordSpec& r : kAllRecords) {
            if ((seen & RecordMatches::bitOf(r)) != 0) return false;
            seen |= RecordMatches::bitOf(r);
        }
        return true;
    }(),
    "each record has its own RecordId");

RecordMatches matchesWorkedOut(std::string_view field) {
    const FirstField f(field);
    RecordMatches m;
    m.holdsLetter = f.holdsLetter;
    for (const RecordSpec& r : kAllRecords) {
        if (matchesRecord(f, r)) m.exact |= RecordMatches::bitOf(r);
        if (matchesAnyCase(f, r)) m.anyCase |= RecordMatches::bitOf(r);
    }
    return m;
}

// One remembered answer, as plain bytes: the per-thread table must need no destructor, since
// under MinGW a thread's destructors of its thread-local objects can run after their storage is
// freed.
struct KeptMatch {
    static constexpr std::size_t kLongestKept = 64;
    std::uint8_t length = 0;
    bool used = false;
    std::array<char, kLongestKept> text{};
    RecordMatches matches;

    bool holds(std::string_view field) const {
        return used && length == field.size() && std::string_view(text.data(), length) == field;
    }
};

}  // namespace

RecordMatches recordMatches(std::string_view field) {
    // Bounded, whatever the file: long fields are worked out each time, and each distinct first
    // field has one slot, where a later one with the same slot replaces it.
    constexpr std::size_t kSlots = 1024;
    thread_local std::array<KeptMatch, kSlots> memo;
    if (field.size() > KeptMatch::kLongestKept) return matchesWorkedOut(field);
    KeptMatch& slot = memo[std::hash<std::string_view>{}(field) % kSlots];
    if (slot.holds(field)) return slot.matches;
    slot.matches = matchesWorkedOut(field);
    slot.length = static_cast<std::uint8_t>(field.size());
    std::copy(field.begin(), field.end(), slot.text.begin());
    slot.used = true;
    return slot.matches;
}

std::optional<CurveReading> readCurveField(std::string_view field) {
    static constexpr std::string_view kDigits[] = {"1", "2", "3", "4", "5", "6"};
    for (int i = 0; i < 6; ++i)
        if (contains(field, kDigits[i])) return CurveReading{i + 1, containsNoCase(field, "s")};
    return std::nullopt;
}

std::string misplacedKeywordNote(std::string_view field, SourcePlace place) {
    // Comments are meant to be passed over, whatever words they hold.
    if (isCommentField(field)) return {};
    const RecordMatches f = recordMatches(field);
    if (!f.holdsLetter) return {};
    for (const RecordSpec& r : kAllRecords)
        if (readsHere(r.section, place) && f.named(r)) return {};
    for (const RecordSpec& r : kAllRecords) {
        if (!f.namedAnyCase(r)) continue;
        const std::string shown(field.substr(0, 40));
        return "\"" + shown + "\" " + std::string(whyPassedOver(r.section, place));
    }
    return {};
}

}  // namespace scenario
