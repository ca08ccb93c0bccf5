// scenario import: the options, and the run when the build has the import family (the Windows
// build lacks GeographicLib, and with it the import).
#include "tool/cli/import_command.h"

#include "report/exit_status.h"
#include "tool/check/file_name_part.h"
#if SCENARIO_WITH_IMPORT
#include "tool/import/import_run.h"
#endif

namespace scenario {

void declareImportOptions(CLI::App& command, ImportOptions& options) {
    command.description(
        "Writes NAME_linea.txt and NAME_NUMBER-.txt into DIR: the route length along the track,\n"
        "curves chosen by running the line pass's plan steps along it, gradients from its\n"
        "heights, tunnels from its tags, and stations from its named points. Prints how far\n"
        "the compiled plan strays from the track. From OpenStreetMap data, the track is the\n"
        "shortest rail path between two stations, or a train route relation, and its maxspeed\n"
        "tags become speed limits.");
    command
        .add_option("TRACK", options.track, "GPX 1.1, GeoJSON, or OpenStreetMap XML or PBF file")
        ->required();
    command.add_option("--name", options.scenarioName, "Scenario name")
        ->required()
        ->check(fileNamePart());
    command.add_option("--train", options.trainNumber, "Train number")
        ->required()
        ->check(fileNamePart());
    command
        .add_option("--out", options.outDirectory, "Directory for the two files, made if missing")
        ->capture_default_str();
    command.add_option("--speed", options.speed, "Speed limit over the whole line, km/h")
        ->check(CLI::Range(5, 300))
        ->check([](const std::string& text) {
            return std::stoi(text) % 5 == 0 ? std::string() : "must be a multiple of 5";
        })
        ->capture_default_str();
    command.add_option("--from", options.from, "OpenStreetMap: the station the line starts at");
    command.add_option("--to", options.to, "OpenStreetMap: the station it ends at")
        ->needs("--from");
    command
        .add_option("--relation", options.relation,
                    "OpenStreetMap: a route=train relation's id or name, instead")
        ->excludes("--from");
    command.add_option("--elevation", options.elevationTable,
                       "Heights from a CSV file of route metre, metres (over the track's own)");
    command
        .add_option("--dem", options.demDirectory,
                    "Heights from a folder of SRTM .hgt tiles, 1 or 3 arc-seconds")
        ->excludes("--elevation");
    command.add_flag("--json", options.json, "Print the report as one JSON object");
    command.footer(
        "Exit status: 0, or 2 when the track cannot be read or is beyond the format, or a file "
        "cannot be written; nothing is written then.");
}

int runImportCommand(const ImportOptions& options, std::ostream& out, std::ostream& err) {
#if SCENARIO_WITH_IMPORT
    return runImport(options, out, err);
#else
    (void)options;
    (void)out;
    err << "scenario import: not in this build (it needs GeographicLib, which the Windows build "
           "lacks)\n";
    return kExitFileFailure;
#endif
}

}  // namespace scenario
