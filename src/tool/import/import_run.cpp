// The import as a pipeline: read, project and resample, choose the records, write the texts,
// compile them in memory, and only when they compile clean write them and report.
#include "tool/import/import_run.h"

#include <fmt/format.h>

#include <algorithm>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <nlohmann/json.hpp>

#include "base/file_store.h"
#include "base/platform.h"
#include "base/text_encoding.h"
#include "report/diagnostic.h"
#include "report/exit_status.h"
#include "source/file_names.h"
#include "tool/check/compile_session.h"
#include "tool/import/elevation_source.h"
#include "tool/import/fidelity.h"
#include "tool/import/geojson_reader.h"
#include "tool/import/gpx_reader.h"
#include "tool/import/osm_reader.h"
#include "tool/import/source_texts.h"

namespace scenario {
namespace {

constexpr std::int32_t kLongestRoute = 1000000;

bool readTrackFile(const ImportOptions& options, TrackInput& track, std::string& error) {
    const std::string& path = options.track;
    std::ifstream in(pathFromText(path), std::ios::binary);
    if (!in) {
        error = "cannot read " + path;
        return false;
    }
    char head[1024] = {};
    in.read(head, sizeof head);
    if (looksLikeOsm(path, std::string_view(head, static_cast<std::size_t>(in.gcount()))))
        return readOsm(path, {options.from, options.to, options.relation}, track, error);
    in.clear();
    in.seekg(0);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t start = bytes.find_first_not_of(" \t\r\n\xEF\xBB\xBF");
    const bool json = start != std::string::npos && (bytes[start] == '{' || bytes[start] == '[');
    return json ? readGeoJson(bytes, track, error) : readGpx(bytes, track, error);
}

std::string originName(const std::string& path) {
    std::vector<std::string> ignored;
    return stationName(textFromPath(pathFromText(path).filename()), ignored);
}

void printReport(std::ostream& out, const ImportOptions& options, const ImportedLine& line,
                 const PlaneTrack& track, const CurveChoice& curves, const Fidelity& f,
                 const std::vector<std::string>& notes, const std::vector<std::string>& files) {
    const std::map<std::string, std::size_t> records = {{"curve", line.curves.size()},
                                                        {"gradient", line.profile.gradients.size()},
                                                        {"tunnel", line.profile.tunnels.size()},
                                                        {"station", line.stations.size()},
                                                        {"speed", line.speeds.size()}};
    if (options.json) {
        nlohmann::json report = {{"files", files},
                                 {"maxDeviation", f.maxDeviation},
                                 {"meanDeviation", f.meanDeviation},
                                 {"maxDeviationAt", f.maxDeviationAt},
                                 {"planStretch", f.planStretch},
                                 {"trackLength", track.length},
                                 {"routeLength", track.routeLength},
                                 {"flat", line.flat},
                                 {"noisy", curves.noisy},
                                 {"records", records},
                                 {"notes", notes}};
        report["elevationMaxError"] =
            line.flat ? nlohmann::json() : nlohmann::json(f.elevationMaxError);
        report["elevationRms"] = line.flat ? nlohmann::json() : nlohmann::json(f.elevationRms);
        out << report.dump(2) << '\n';
        return;
    }
    for (const std::string& file : files) out << file << '\n';
    out << fmt::format("track {:.1f} m along the geodesics, route {} m\n", track.length,
                       track.routeLength);
    out << fmt::format(
        "plan off the track: max {:.2f} m at plan metre {}, mean {:.2f} m; route metre {} lies "
        "{:.1f} m along the drawn plan\n",
        f.maxDeviation, f.maxDeviationAt, f.meanDeviation, track.routeLength, f.planStretch);
    if (curves.noisy)
        out << fmt::format("the points scatter: smoothed over {} m either side\n",
                           curves.smoothing);
    if (line.flat)
        out << "flat: the track has no elevation\n";
    else
        out << fmt::format("profile off the heights outside tunnels: max {:.2f} m, rms {:.2f} m\n",
                           f.elevationMaxError, f.elevationRms);
    out << fmt::format("records: {} curve, {} gradient, {} tunnel, {} station\n",
                       records.at("curve"), records.at("gradient"), records.at("tunnel"),
                       records.at("station"));
    for (const std::string& note : notes) out << "note: " << note << '\n';
}

}  // namespace

int runImport(const ImportOptions& options, std::ostream& out, std::ostream& err) {
    const auto refuse = [&](const std::string& message) {
        err << "scenario import: " << options.track << ": " << message << "; nothing written\n";
        return kExitFileFailure;
    };
    TrackInput input;
    std::string error;
    if (!readTrackFile(options, input, error)) return refuse(error);
    const LineProjection projection = LineProjection::centredOn(input.segments);
    PlaneTrack track;
    if (!buildPlaneTrack(input, projection, track, error)) return refuse(error);
    if (!options.elevationTable.empty() && !heightsFromTable(options.elevationTable, track, error))
        return refuse(error);
    if (!options.demDirectory.empty() &&
        !heightsFromTiles(options.demDirectory, projection, track, error))
        return refuse(error);
    if (track.routeLength > kLongestRoute)
        return refuse(fmt::format("the track is {} m long, beyond the {} m a route may be",
                                  track.routeLength, kLongestRoute));
    ImportedLine line;
    line.origin = originName(options.track);
    line.routeLength = track.routeLength;
    line.speed = options.speed;
    if (std::any_of(track.speed.begin(), track.speed.end(), [](auto kmh) { return kmh > 0; }))
        line.speeds = speedLimits(track.speed, options.speed);
    line.flat = !track.hasElevation;
    const CurveChoice curves = chooseCurves(track);
    line.curves = curves.records;
    if (!chooseProfile(track, line.profile, error)) return refuse(error);
    StationChoice stations;
    if (!chooseStations(input, projection, track, stations, error)) return refuse(error);
    line.stations = stations.stations;

    ScenarioBuild build;
    build.scenarioName = options.scenarioName;
    build.trainNumber = options.trainNumber;
    const ScenarioIdentity names = build.identity();
    const std::string lineText = importedLineSource(line);
    const std::string trainText = importedTrainSource(line, options.trainNumber);
    const CompileSession checked = compileSession(build, lineText, trainText);
    if (checked.outcome.status != kExitClean || !build.errors.empty() ||
        !checked.warnings.empty()) {
        for (const Diagnostic& d : build.errors) err << diagnosticText(d, d.location.file) << '\n';
        for (const Diagnostic& d : checked.warnings)
            err << diagnosticText(d, d.location.file) << '\n';
        return refuse("the files made from it do not check clean");
    }
    const Fidelity fidelity = measureFidelity(build, track, curves.frame, line.profile.startHeight);

    std::vector<std::string> files;
    try {
        const std::filesystem::path folder = pathFromText(options.outDirectory);
        createDirectories(folder);
        DirectoryStore directory(folder);
        directory.write(names.lineSourceFile(), lineText);
        directory.write(names.trainSourceFile(), trainText);
        files = {textFromPath(directory.pathOf(names.lineSourceFile())),
                 textFromPath(directory.pathOf(names.trainSourceFile()))};
    } catch (const std::exception& failure) {
        err << "scenario import: " << failure.what() << '\n';
        return kExitFileFailure;
    }
    std::vector<std::string> notes = track.warnings;
    notes.insert(notes.end(), stations.notes.begin(), stations.notes.end());
    printReport(out, options, line, track, curves, fidelity, notes, files);
    return kExitClean;
}

}  // namespace scenario
