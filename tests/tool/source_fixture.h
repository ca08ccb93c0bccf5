// Source files for the editor features' tests: the built-in pair as texts, and a disk in memory.
#pragma once

#include <filesystem>
#include <map>
#include <string>

#include "base/file_store.h"
#include "source/source_writers.h"
#include "tool/editor/workspace.h"

namespace scenario::testing {

struct BuiltinTexts {
    std::string line;
    std::string train;
};

inline BuiltinTexts builtinTexts() {
    MemoryStore files;
    const ScenarioIdentity names{"Alderi_Moncasta", "30752"};
    dati_linea(files, names);
    dati_treno(files, names);
    return {*files.read(names.lineSourceFile()), *files.read(names.trainSourceFile())};
}

// The text with its first `from` replaced.
inline std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

class MemoryDisk : public SourceDisk {
  public:
    std::optional<std::string> read(const std::string& path) const override {
        const auto it = files.find(path);
        if (it == files.end()) return std::nullopt;
        return it->second.first;
    }
    std::map<std::string, std::int64_t> filesIn(const std::string& folder) const override {
        std::map<std::string, std::int64_t> in;
        for (const auto& [path, file] : files)
            if (std::filesystem::path(path).parent_path() == folder)
                in[std::filesystem::path(path).filename().string()] = file.second;
        return in;
    }
    void put(const std::string& path, std::string text, std::int64_t time = 0) {
        files[path] = {std::move(text), time};
    }
    std::map<std::string, std::pair<std::string, std::int64_t>> files;
};

}  // namespace scenario::testing
