// Short meanings of the build's error numbers, for the one line that reports a recorded error,
// and what the tool adds where the meaning leaves out what the author needs.
#pragma once

#include <string_view>

#include "base/diagnostic.h"

namespace scenario {

// The meaning of an error number; "unknown error" for a number the build never records.
std::string_view errorMeaning(int code);

// True for the errors that record a route position with them; for the others the recorded
// position is whatever an earlier step left.
bool errorHasPosition(int code);

// What the checker counted in the sources, for saying what to do about an error.
struct SourceCounts {
    int signRecords = 0;     // the line file's sign records, which share the station table
    int stationRecords = 0;  // the train file's station records
    bool filesLookSwapped = false;
};

// Adds to the error's detail what to do: the table's capacity and the counts, the allowed class
// digits, that the files were given the wrong way round.
void sayWhatToDo(Diagnostic& error, const SourceCounts& counts);

}  // namespace scenario
