// Generated source files for the benchmarks. Objects sit on fixed cells: speed boards and tunnel
// markers on odd cells, signals on cells 2 mod 4, stations on cells 0 mod 4, so no two of them
// ever meet; each slow order has a 5 km block of its own.
#include "generated_sources.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <utility>

#include "source/field_reader.h"

namespace scenario::bench {
namespace {

// Appends one formatted line and its CR LF.
[[gnu::format(printf, 2, 3)]] void line(std::string& text, const char* format, ...) {
    char buffer[256];
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (n > 0) text.append(buffer, std::min(static_cast<std::size_t>(n), sizeof buffer - 1));
    text += "\r\n";
}

void trainGeneralSection(std::string& text) {
    line(text, "[generale]");
    line(text, "numero vetture,    3");
    line(text, "percentuale massa frenata,    120");
    line(text, "sabbia,    300");
    line(text, "orologio,    14              22            30 ");
}

}  // namespace

std::string generatedLineSource(std::int32_t routeMetres) {
    std::string text;
    line(text, "[generale]");
    line(text, "lunghezza percorso,    %d", routeMetres);
    line(text, "progressiva chilometrica uno,    0,    0,    0");
    line(text, "progressiva chilometrica due,    2800,    1450,    0");
    line(text, "progressiva chilometrica tre,    0,    0,    0");
    line(text, "sfondo uno,    0");
    line(text, "sfondo due,    1");
    line(text, "sfondo tre,    0");
    line(text, "ripetizione segnali 4 codici,    0    ,0");
    // A 50 m curve in every 100 m, left and right in turn, through all six classes: ten curve
    // records a kilometre, so the per-record costs show.
    line(text, "[curve]");
    for (std::int32_t p = 100, n = 0; p + 200 <= routeMetres; p += 100, ++n)
        line(text, "curva%c%d,  %d , 50 ", n % 2 == 0 ? 's' : 'd', 1 + n % 6, p);
    line(text, "[pendenze]");
    line(text, "- Altitudine iniziale GEN. = 51 m.");
    for (std::int32_t p = 250, n = 0; p < routeMetres; p += 1000, ++n)
        line(text, "pendenza,  %d ,%d ", p, n % 31 - 15);
    line(text, "[montagne]");
    for (std::int32_t p = 3000; p + 350 < routeMetres; p += 10000)
        line(text, "montagna,  %d , %d , 12 ", p, p + 350);
    line(text, "[cartelli]");
    for (std::int32_t p = 500; p < routeMetres; p += 10000)
        line(text, "indicatori_vmax,  %d,  90,  95,  100,  0,  ,  ,  ,  0", p);
    line(text, "[indicazioni]");
    line(text, "[fine]");
    return text;
}

std::string generatedTrainSource(std::int32_t stations, std::int32_t signals) {
    std::string text;
    trainGeneralSection(text);
    line(text, "[aderenze]");
    for (std::int32_t s = 0; s < stations; ++s)
        line(text, "aderenza,   %d,   %d", 5000 * s, 80 + s % 3 * 10);
    line(text, "[vel_limite]");
    for (std::int32_t s = 0; s < stations; ++s)
        line(text, "velocita,   %d,   %d", 5000 * s, 60 + s % 4 * 20);
    line(text, "[stazioni]");
    // Kind 22 with a 300 m platform: the station cell is two cells after the position's.
    for (std::int32_t s = 0; s < stations; ++s)
        line(text,
             "stazione,  %6d, 22,  300,  0, 0, 0,  0,0,0,  4,1,1,   30,  %2d, %2d, 0, STAZIONE %d",
             5000 * s + 2500, 14 + s / 60, s % 60, s + 1);
    line(text, "[rallentamenti]");
    line(text, "[segnali]");
    for (std::int32_t i = 0; i < signals; ++i)
        line(text, "segnale,  %6d,   2, 3, 1,  0, 0,    0,  0,0,0, 0", 1050 + 200 * i);
    line(text, "[codici]");
    line(text, "[fine]");
    return text;
}

std::string generatedSlowOrderSource(std::int32_t slowOrders) {
    std::string text;
    trainGeneralSection(text);
    line(text, "[aderenze]");
    line(text, "aderenza,   0,   100");
    line(text, "[vel_limite]");
    line(text, "velocita,   0,   100");
    line(text, "[stazioni]");
    // Start cell 61 of the block, end board 81, warning board 37 and its markers 33 to 36.
    line(text, "[rallentamenti]");
    for (std::int32_t b = 0; b < slowOrders; ++b)
        line(text, "rallentamento,  %d,  60,  1000,  0,  1,  0", 5000 * b + 3000);
    // Cell 21, sixteen cells before the warning board, and cell 83, just after the end board.
    line(text, "[segnali]");
    for (std::int32_t b = 0; b < slowOrders; ++b) {
        line(text, "segnale,  %d,   2, 3, 1,  0, 0,    0,  0,0,0, 0", 5000 * b + 1000);
        line(text, "segnale,  %d,   2, 3, 1,  0, 0,    0,  0,0,0, 0", 5000 * b + 4100);
    }
    line(text, "[codici]");
    line(text, "[fine]");
    return text;
}

namespace {

// The record forms of both source files: the first field's text and how many numbers follow,
// then whether a text field ends the record.
struct RecordForm {
    const char* format;
    int numbers;
    bool endsWithText;
};

constexpr RecordForm kRecordForms[] = {
    {"pendenza,  %d ,-15 ", 2, false},
    {"curvad5,  %d , 350 ", 2, false},
    {"montagna,  %d , 3350 , 12 ", 3, false},
    {"indicatori_vmax,  %d,  65,  70,  75,  0,  ,  ,  ,  0", 9, false},
    {"cartello_indicatore,  %d,   (GALLERIA)( 366 m.  )", 1, true},
    {"stazione,  %6d, 27,  200,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, STAZIONE", 16, true},
    {"segnale,  %6d,   2, 4, 0,  0, 0,    2,  2,1,0, 0", 11, false},
    {"velocita,  %6d,    60", 2, false},
    {"orologio,    %d              22            30 ", 3, false},
};
constexpr std::size_t kFormCount = sizeof kRecordForms / sizeof kRecordForms[0];

}  // namespace

ReaderText generatedReaderText(std::size_t bytes) {
    ReaderText reader;
    line(reader.text, "[generale]");
    while (reader.text.size() < bytes) {
        const RecordForm& form = kRecordForms[reader.records % kFormCount];
        line(reader.text, form.format, static_cast<int>(reader.records % 1000000));
        ++reader.records;
    }
    line(reader.text, "[fine]");
    return reader;
}

std::int64_t readWholeText(std::string text, std::size_t records) {
    FieldReader reader(std::move(text));
    std::int64_t sum = static_cast<std::int64_t>(reader.readTextView().size());
    for (std::size_t r = 0; r < records; ++r) {
        const RecordForm& form = kRecordForms[r % kFormCount];
        sum += static_cast<std::int64_t>(reader.readTextView().size());
        for (int n = 0; n < form.numbers; ++n) sum += reader.readLong();
        if (form.endsWithText) sum += static_cast<std::int64_t>(reader.readNameView().size());
    }
    sum += static_cast<std::int64_t>(reader.readTextView().size());
    return reader.atEnd() ? sum : -1;
}

}  // namespace scenario::bench
