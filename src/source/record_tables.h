// The records' keywords of both source files, to tell an author when a first field names a record
// where the reader passes it over.
#pragma once

#include <string>
#include <string_view>

namespace scenario {

// Where a first field stands, as the passes read the two files.
enum class SourcePlace {
    LinePreamble,  // before the line source file's [generale]
    LineGeneral,   // inside the line source file's [generale] section
    LineRoute,     // after that section
    TrainPreamble,
    TrainRecords,
};

// Why a first field that holds a record's keyword is passed over where it stands; empty when it
// holds none, is a comment, or is read there.
std::string misplacedKeywordNote(std::string_view field, SourcePlace place);

}  // namespace scenario
