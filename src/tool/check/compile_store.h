// The compile step over an author's sources held in memory, its outputs going to a directory or
// nowhere, and how it ended.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/diagnostic.h"
#include "base/file_store.h"
#include "compiler/track_model.h"

namespace scenario {

// Sources in memory, outputs in a directory or nowhere; the directory and its parents are made
// at the first write, so a build that writes nothing leaves no empty directory behind. Nothing the
// compile step reads, tests or deletes ever reaches the directory, so a file there with a source's
// name is never touched.
class CompileStore : public FileStore {
  public:
    explicit CompileStore(const std::optional<std::string>& directory);

    bool exists(const std::string& name) const override { return sources.exists(name); }
    std::optional<std::string> read(const std::string& name) const override {
        return sources.read(name);
    }
    void remove(const std::string& name) override { sources.remove(name); }
    void write(const std::string& name, std::string_view bytes) override;
    void writeInPieces(const std::string& name, const FileContent& content) override;

    // The two sources under the names the compile step reads them by.
    void holdSources(const ScenarioIdentity& names, std::string_view line, std::string_view train);

    // Asked before each write: a build that recorded an error writes nothing.
    std::function<bool()> mayWrite = [] { return true; };
    // The model stores the names as Windows-1252; the files keep them as the author gave them.
    std::function<std::string(const std::string&)> fileNameOf = [](const std::string& name) {
        return name;
    };

    // Left false, an output whose bytes would stay the same is left untouched, time included,
    // so that whatever watches the files redoes nothing.
    bool alwaysWrite = false;

    MemoryStore sources;
    std::vector<std::string> written;    // every output, written or left as it was
    std::vector<std::string> unchanged;  // those left as they were

  private:
    void makeDirectory();

    std::optional<DirectoryStore> directory_;
    std::filesystem::path directoryPath_;
    bool directoryMade_ = false;
};

struct CompileOutcome {
    int status;
    std::string failure;  // the message of a stamping error or a file failure
    std::int32_t stampingError = 0;
    Location stampingPlace = {};  // the record whose object stands where the stamp goes
};

// Runs the compile driver over the sources in `files` and says how it ended.
CompileOutcome compileBuild(ScenarioBuild& build, FileStore& files, bool buildPlan);

// The same over two source texts, under the names `build` holds, writing nothing.
CompileOutcome compileInMemory(ScenarioBuild& build, std::string_view line, std::string_view train,
                               bool buildPlan = true);

}  // namespace scenario
