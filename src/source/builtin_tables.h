// The built-in scenario: its two source files and its three crew documents, as line tables.
// Text is Windows-1252 bytes; each table ends with kEndSentinel.
#pragma once

#include "source/line_table.h"

namespace scenario {

// The identity the built-in scenario is built under.
inline constexpr const char* kBuiltinScenarioName = "Alderi_Moncasta";
inline constexpr const char* kBuiltinTrainNumber = "30752";

LineTable lineSourceTable();       // the line source file, 127 lines
LineTable trainSourceTable();      // the train source file, 59 lines
LineTable trainCardTable();        // the train card, 38 lines
LineTable slowOrderNoticeTable();  // the slow-order notice, 5 lines
LineTable notesTable();            // the scenario notes, 15 lines

}  // namespace scenario
