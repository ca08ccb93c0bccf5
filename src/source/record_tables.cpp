// The keyword tests of every record of both source files, and the notes for a record's first field
// that stands where its file's reader does not look for it.
#include "source/record_tables.h"

#include "base/code_page.h"

namespace scenario {
namespace {

enum class RecordHome { LineGeneral, LineRoute, Train };

struct RecordKeyword {
    RecordHome home;
    std::string_view keyword;
    std::string_view alsoNeeded;  // empty when one keyword is enough
    bool exact;                   // letter case counts
};

constexpr RecordKeyword kRecords[] = {
    {RecordHome::LineGeneral, "lunghezza", "percorso", false},
    {RecordHome::LineGeneral, "progressiva", "tre", true},
    {RecordHome::LineGeneral, "progressiva", "due", true},
    {RecordHome::LineGeneral, "progressiva", "uno", true},
    {RecordHome::LineGeneral, "sfondo", "uno", true},
    {RecordHome::LineGeneral, "sfondo", "due", true},
    {RecordHome::LineGeneral, "sfondo", "tre", true},
    {RecordHome::LineGeneral, "segnali", "ripetizione", true},
    {RecordHome::LineRoute, "pendenza", "", false},
    {RecordHome::LineRoute, "curva", "", false},
    {RecordHome::LineRoute, "montagna", "", false},
    {RecordHome::LineRoute, "indicatori_v", "", false},
    {RecordHome::LineRoute, "indicat", "cartello", false},
    {RecordHome::Train, "massa", "frenata", false},
    {RecordHome::Train, "vetture", "", false},
    {RecordHome::Train, "velocit", "", false},
    {RecordHome::Train, "aderenza", "", false},
    {RecordHome::Train, "orologio", "", false},
    {RecordHome::Train, "sabbia", "", false},
    {RecordHome::Train, "segnale", "", false},
    {RecordHome::Train, "rallentamento", "", false},
    {RecordHome::Train, "abbattimento", "", false},
    {RecordHome::Train, "stazione", "", false},
};

// A first field as written and folded to small letters; the keywords are all small letters, so
// folding the field once serves every case-free test, however long the field.
struct Field {
    std::string_view written;
    std::string folded;
};

bool holds(const Field& field, std::string_view keyword, bool exact) {
    return contains(exact ? field.written : field.folded, keyword);
}

bool matches(const Field& field, const RecordKeyword& r, bool exact) {
    return holds(field, r.keyword, exact) &&
           (r.alsoNeeded.empty() || holds(field, r.alsoNeeded, exact));
}

bool readsHere(RecordHome home, SourcePlace place) {
    switch (place) {
        case SourcePlace::LineGeneral:
            return home == RecordHome::LineGeneral;
        case SourcePlace::LineRoute:
            return home == RecordHome::LineRoute;
        case SourcePlace::TrainRecords:
            return home == RecordHome::Train;
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

std::string_view whyPassedOver(RecordHome home, SourcePlace place) {
    if (isPreamble(place)) return "stands before [generale] and is passed over";
    if (readsHere(home, place))
        return "is passed over: this record's keywords must be written in lower case";
    if (home == RecordHome::Train) return "is a train source record, passed over in this file";
    if (!isLineFile(place)) return "is a line source record, passed over in this file";
    if (home == RecordHome::LineGeneral)
        return "is a [generale] record, passed over after that section";
    return "is a route record, passed over inside the [generale] section";
}

}  // namespace

std::string misplacedKeywordNote(std::string_view field, SourcePlace place) {
    // Comments are meant to be passed over, whatever words they hold.
    if (contains(field, "-")) return {};
    const Field f{field, toLowerText(field)};
    for (const RecordKeyword& r : kRecords)
        if (readsHere(r.home, place) && matches(f, r, r.exact)) return {};
    for (const RecordKeyword& r : kRecords) {
        if (!matches(f, r, false)) continue;
        const std::string shown(field.substr(0, 40));
        return "\"" + shown + "\" " + std::string(whyPassedOver(r.home, place));
    }
    return {};
}

}  // namespace scenario
