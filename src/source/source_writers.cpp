// The five text-file writers: each writes its built-in table with the one writing procedure.
#include "source/source_writers.h"

#include "source/builtin_tables.h"

namespace scenario {

void writeLineTable(FileStore& files, const LineTable& table, const std::string& fileName) {
    std::string text;
    for (const std::string& line : table) {
        if (line == kEndSentinel) break;
        text += line;
        text += "\r\n";
    }
    files.write(fileName, text);
}

void dati_linea(FileStore& files, const ScenarioIdentity& names) {
    writeLineTable(files, lineSourceTable(), names.lineSourceFile());
}
void dati_treno(FileStore& files, const ScenarioIdentity& names) {
    writeLineTable(files, trainSourceTable(), names.trainSourceFile());
}
void dati_note(FileStore& files, const ScenarioIdentity& names) {
    writeLineTable(files, notesTable(), names.notesFile());
}
void dati_rallentamenti(FileStore& files, const ScenarioIdentity& names) {
    writeLineTable(files, slowOrderNoticeTable(), names.slowOrderNoticeFile());
}
void dati_scheda(FileStore& files, const ScenarioIdentity& names) {
    writeLineTable(files, trainCardTable(), names.trainCardFile());
}

}  // namespace scenario
