// The source files an editor works on: open buffers over the files on disk, the pairing of a
// line file with a train file of the same scenario, and the check of a file with its partner.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "report/diagnostic.h"
#include "source/file_names.h"
#include "tool/check/compile_session.h"

namespace scenario {

// What the workspace needs of the disk, so that tests and fuzzers give it files in memory.
class SourceDisk {
  public:
    virtual ~SourceDisk() = default;
    virtual std::optional<std::string> read(const std::string& path) const = 0;
    // The names of the files in a folder with their modification times; larger is newer.
    virtual std::map<std::string, std::int64_t> filesIn(const std::string& folder) const = 0;
};

class RealDisk : public SourceDisk {
  public:
    std::optional<std::string> read(const std::string& path) const override;
    std::map<std::string, std::int64_t> filesIn(const std::string& folder) const override;
};

// The diagnostics of one file, with their locations' file set to its path.
struct FileDiagnostics {
    std::string path;
    std::vector<Diagnostic> diagnostics;
};

class SourceWorkspace {
  public:
    explicit SourceWorkspace(const SourceDisk& disk) : disk_(disk) {}

    // Texts are Windows-1252 bytes.
    void open(const std::string& path, std::string text);
    void change(const std::string& path, std::string text);
    void close(const std::string& path);
    const std::string* openText(const std::string& path) const;
    // The open buffer's text, else the file on disk.
    std::optional<std::string> text(const std::string& path) const;

    // The partner a file is checked with, when one is open or on disk.
    std::optional<std::string> partnerOf(const std::string& path) const;

    // Checks a line or train file with its partner and returns the diagnostics of both files
    // (the file's own first). Without a partner the file is checked with a minimal one and only
    // its own diagnostics are given. Nothing for any other file. `watch`, when given, watches the
    // compile of a file checked with its partner.
    std::vector<FileDiagnostics> check(const std::string& path, BuildWatch* watch = nullptr) const;

  private:
    struct Buffer {
        std::string text;
        std::uint64_t opened = 0;
    };
    std::optional<std::string> newestOf(const std::vector<std::string>& candidates) const;
    std::optional<std::string> trainPartnerOf(const std::string& linePath) const;
    std::optional<std::string> linePartnerOf(const std::string& trainPath) const;

    const SourceDisk& disk_;
    std::map<std::string, Buffer> buffers_;
    std::uint64_t openings_ = 0;
    // The last line text checked: most edits are to the train file.
    mutable KeptLineModel kept_;
};

}  // namespace scenario
