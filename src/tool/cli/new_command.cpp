// scenario new: writes NAME_linea.txt and NAME_NUMBER-.txt, a 6 km line with a curve, a gradient
// and a speed-board group, and a train from ALFA to BETA past a signal. Comment lines hold a "-"
// and no comma, and never more than one stands in a row.
#include "tool/cli/new_command.h"

#include <fmt/format.h>

#include <exception>
#include <filesystem>

#include "base/file_store.h"
#include "base/platform.h"
#include "report/exit_status.h"
#include "source/file_names.h"
#include "tool/check/file_name_part.h"

namespace scenario {
namespace {

std::string withCrLf(std::initializer_list<const char*> lines) {
    std::string text;
    for (const char* line : lines) text.append(line).append("\r\n");
    return text;
}

}  // namespace

std::string starterLineSource() {
    return withCrLf({
        "[generale]",
        "- Linea di prova: 6000 m; ogni posizione in metri dall'inizio",
        "lunghezza percorso,    6000",
        "progressiva chilometrica uno,    0,    12000,    0",
        "progressiva chilometrica due,    0,    0,    0",
        "progressiva chilometrica tre,    0,    0,    0",
        "sfondo uno,    0",
        "sfondo due,    1",
        "sfondo tre,    0",
        "ripetizione segnali 4 codici,    0,    0",
        "[curve]",
        "- curva destra di classe 5: inizio e lunghezza",
        "curvad5,  1500,  300",
        "[pendenze]",
        "- pendenza in per mille da una posizione fino alla prossima",
        "pendenza,  1000,  8",
        "pendenza,  3000,  0",
        "[montagne]",
        "[cartelli]",
        "- tabelle di velocita massima: posizione e velocita",
        "indicatori_vmax,  1200,  80,  85,  90,  0,  ,  ,  ,  0",
        "[indicazioni]",
        "[fine]",
    });
}

std::string starterTrainSource() {
    return withCrLf({
        "[generale]",
        "- Treno di prova da ALFA a BETA",
        "numero vetture,    3",
        "percentuale massa frenata,    110",
        "sabbia,    300",
        "orologio,    8   15   0",
        "[aderenze]",
        "aderenza,    0,   100",
        "[vel_limite]",
        "- velocita massima in km/h da una posizione",
        "velocita,    0,    80",
        "velocita,    1200,    90",
        "[stazioni]",
        "- posizione tipo marciapiede ... sosta ora minuti secondi nome",
        "stazione,    0,  4,  500,  0, 0, 0,  1,1,0,  4,1,1,    1,   8,15, 0, ALFA",
        "stazione,    5500,  4,  500,  1, 0, 0,  1,1,0,  2,1,1,    0,   8,22, 0, BETA",
        "[rallentamenti]",
        "[segnali]",
        "segnale,    1000,   2, 4, 0,  0, 0,    0,  0,0,0, 0",
        "[codici]",
        "[fine]",
    });
}

void declareNewOptions(CLI::App& command, NewOptions& options) {
    command.description(
        "Writes NAME_linea.txt and NAME_NUMBER-.txt into DIR: a 6 km line with a curve, a\n"
        "gradient and speed boards, and a train from ALFA to BETA past a signal. They check\n"
        "clean; scenario check NAME_linea.txt NAME_NUMBER-.txt takes the names from them.");
    command.add_option("NAME", options.scenarioName, "Scenario name")
        ->required()
        ->check(fileNamePart());
    command.add_option("NUMBER", options.trainNumber, "Train number")
        ->required()
        ->check(fileNamePart());
    command
        .add_option("--out", options.outDirectory, "Directory for the two files, made if missing")
        ->capture_default_str();
    command.footer("Exit status: 0, or 2 when a file exists already or cannot be written.");
}

int runNewCommand(const NewOptions& options, std::ostream& out, std::ostream& err) {
    const ScenarioIdentity names{options.scenarioName, options.trainNumber};
    const std::filesystem::path folder = pathFromText(options.outDirectory);
    try {
        DirectoryStore directory(folder);
        for (const std::string& name : {names.lineSourceFile(), names.trainSourceFile()}) {
            if (!fileExists(directory.pathOf(name))) continue;
            err << fmt::format("scenario new: {} exists already\n",
                               textFromPath(directory.pathOf(name)));
            return kExitFileFailure;
        }
        createDirectories(folder);
        directory.write(names.lineSourceFile(), starterLineSource());
        directory.write(names.trainSourceFile(), starterTrainSource());
        out << textFromPath(directory.pathOf(names.lineSourceFile())) << '\n'
            << textFromPath(directory.pathOf(names.trainSourceFile())) << '\n';
    } catch (const std::exception& failure) {
        err << "scenario new: " << failure.what() << '\n';
        return kExitFileFailure;
    }
    return kExitClean;
}

}  // namespace scenario
