// The writers of the built-in scenario's text files: the two source files and the three crew
// documents, each written whole from its line table.
#pragma once

#include <string>

#include "base/file_store.h"
#include "source/file_names.h"
#include "source/line_table.h"

namespace scenario {

// Writes the table's lines, each with CR LF, up to the sentinel, as one whole file.
void writeLineTable(FileStore& files, const LineTable& table, const std::string& fileName);

void dati_linea(FileStore& files, const ScenarioIdentity& names);
void dati_treno(FileStore& files, const ScenarioIdentity& names);
void dati_note(FileStore& files, const ScenarioIdentity& names);
void dati_rallentamenti(FileStore& files, const ScenarioIdentity& names);
void dati_scheda(FileStore& files, const ScenarioIdentity& names);

}  // namespace scenario
