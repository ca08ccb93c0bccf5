// The five text-file writers: each writes its built-in table with the one writing procedure.
#include "compiler/track_model.h"
#include "output/file_store.h"
#include "source/builtin_tables.h"

namespace scenario {

void ScenarioBuild::writeLineTable(const LineTable& table, const std::string& fileName) {
    std::string text;
    for (cursor = 0; cursor < static_cast<std::int32_t>(table.size()); ++cursor) {
        const std::string& line = table[static_cast<std::size_t>(cursor)];
        if (line == kEndSentinel) break;
        text += line;
        text += "\r\n";
    }
    files().write(fileName, text);
}

void ScenarioBuild::dati_linea() {
    writeLineTable(lineSourceTable(), identity().lineSourceFile());
}
void ScenarioBuild::dati_treno() {
    writeLineTable(trainSourceTable(), identity().trainSourceFile());
}
void ScenarioBuild::dati_note() {
    writeLineTable(notesTable(), identity().notesFile());
}
void ScenarioBuild::dati_rallentamenti() {
    writeLineTable(slowOrderNoticeTable(), identity().slowOrderNoticeFile());
}
void ScenarioBuild::dati_scheda() {
    writeLineTable(trainCardTable(), identity().trainCardFile());
}

}  // namespace scenario
