// What a directory of outputs holds after a run that failed or was stopped part-way: every file
// must be whole, either the version from before the run or the one the run meant to write.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/form_load.h"
#include "base/file_store.h"
#include "compiler/track_model.h"
#include "source/builtin_tables.h"
#include "source/file_names.h"
#include "source/source_writers.h"
#include "tool/tool_runner.h"

namespace scenario::testing {

// A directory's regular files by name, with their bytes; `skipped` names are left out.
inline std::map<std::string, std::string> filesIn(const fs::path& dir,
                                                  const std::set<std::string>& skipped = {}) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        if (!skipped.count(name)) files[name] = readFile(entry.path());
    }
    return files;
}

inline void putFiles(const fs::path& dir, const std::map<std::string, std::string>& files) {
    for (const auto& [name, bytes] : files) writeFile(dir / name, bytes);
}

inline std::optional<std::string> versionOf(const std::map<std::string, std::string>& files,
                                            const std::string& name) {
    const auto it = files.find(name);
    if (it == files.end()) return std::nullopt;
    return it->second;
}

// Names in `found` that are neither a previous nor a new file: temporary files left behind.
inline std::set<std::string> strayFiles(const std::map<std::string, std::string>& found,
                                        const std::map<std::string, std::string>& previous,
                                        const std::map<std::string, std::string>& next) {
    std::set<std::string> stray;
    for (const auto& [name, bytes] : found)
        if (!previous.count(name) && !next.count(name)) stray.insert(name);
    return stray;
}

// Each file known before or after is absent or whole in the version it had before or after the
// run (absent counts as a version where a side has no such file). Returns the stray names.
inline std::set<std::string> expectPreviousOrNew(const std::map<std::string, std::string>& found,
                                                 const std::map<std::string, std::string>& previous,
                                                 const std::map<std::string, std::string>& next,
                                                 const std::string& context) {
    std::set<std::string> names;
    for (const auto* side : {&previous, &next})
        for (const auto& [name, bytes] : *side) names.insert(name);
    for (const std::string& name : names) {
        const std::optional<std::string> now = versionOf(found, name);
        const bool asBefore = now == versionOf(previous, name);
        const bool asAfter = now == versionOf(next, name);
        EXPECT_TRUE(asBefore || asAfter)
            << context << ": " << name << " is neither its previous nor its new version ("
            << (now ? std::to_string(now->size()) + " bytes" : std::string("absent")) << ")";
    }
    return strayFiles(found, previous, next);
}

// The files a run of the scenario program leaves, and its two source files, which it deletes once
// read, so that a run stopped in between may leave them too; built in memory by the same code.
struct BuiltinFiles {
    std::map<std::string, std::string> outputs;
    std::map<std::string, std::string> sources;
    // The outputs and the sources: what a stopped run may leave besides the previous files.
    std::map<std::string, std::string> outputsOrSources() const {
        std::map<std::string, std::string> all = outputs;
        all.insert(sources.begin(), sources.end());
        return all;
    }
};

// The files the scenario program writes, in the order it writes them.
inline std::vector<std::string> builtinWriteOrder() {
    const ScenarioIdentity names{kBuiltinScenarioName, kBuiltinTrainNumber};
    return {names.lineSourceFile(),      names.trainSourceFile(), names.notesFile(),
            names.slowOrderNoticeFile(), names.trainCardFile(),   names.lineDataFile(),
            names.stationTableFile(),    names.trackCellFile()};
}

inline BuiltinFiles builtinFiles() {
    BuiltinFiles files;
    MemoryStore whole;
    ScenarioBuild build;
    Form_Load(build, whole);
    files.outputs = whole.files;
    MemoryStore sources;
    const ScenarioIdentity names{kBuiltinScenarioName, kBuiltinTrainNumber};
    dati_linea(sources, names);
    dati_treno(sources, names);
    files.sources = sources.files;
    return files;
}

// A stand-in for each file, so that a previous version never equals the new one.
inline std::map<std::string, std::string> previousVersions(
    const std::map<std::string, std::string>& files) {
    std::map<std::string, std::string> previous;
    for (const auto& [name, bytes] : files) previous[name] = "previous " + name;
    return previous;
}

}  // namespace scenario::testing
