// Source files of any size for the benchmarks, laid out as the writers lay the built-in ones out,
// with every object on a cell of its own so that the passes run to the end without an error.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace scenario::bench {

// A line source file for a route of `routeMetres` (a multiple of 5000): a 50 m curve every 100 m
// over the whole route, a gradient every kilometre, a tunnel and a speed board every 10 km.
std::string generatedLineSource(std::int32_t routeMetres);

// A train source file with `stations` stations every 5 km (at most 78) and `signals` signals
// every 200 m, for a route of at least 5000 * stations and 200 * signals + 1000 metres.
std::string generatedTrainSource(std::int32_t stations, std::int32_t signals);

// A train source file with one slow order under 110 km/h every 5 km, each with a signal shortly
// before its warning board and one just after its end board: every rule of the signal-spacing
// pass places points. The route needs 5000 * slowOrders metres.
std::string generatedSlowOrderSource(std::int32_t slowOrders);

// At least `bytes` of source text cycling through the record forms of both files, and how many
// records it holds.
struct ReaderText {
    std::string text;
    std::size_t records = 0;
};
ReaderText generatedReaderText(std::size_t bytes);
// Reads the text of generatedReaderText as the passes do (a first field, then the record's
// values) and returns a sum of what it read, so that nothing is optimised away.
std::int64_t readWholeText(std::string text, std::size_t records);

}  // namespace scenario::bench
