// Where a build's files live. The scenario program uses its own directory; the authors' tool and
// the tests can keep sources in memory, so that compiling never touches an author's own files.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace scenario {

// What a sink throws when the bytes cannot be stored, with the system's error number; the file's
// writer reports it as the failure to write that file, and the previous file stays.
struct StorageFailure {
    int error;
};

// Receives a file's bytes in order, one piece after another.
class ByteSink {
  public:
    // The size the pieces will add up to, told beforehand when known, so that a sink that
    // gathers them can make room once.
    virtual void expectSize(std::size_t /*total*/) {}
    virtual void append(std::string_view piece) = 0;

  protected:
    ~ByteSink() = default;
};

// Gathers the pieces into one string.
class StringSink : public ByteSink {
  public:
    void expectSize(std::size_t total) override { bytes.reserve(bytes.size() + total); }
    void append(std::string_view piece) override { bytes.append(piece); }
    std::string bytes;
};

// Hands a file's bytes to a sink in pieces, so that a large file is never held whole in memory.
using FileContent = std::function<void(ByteSink&)>;

class FileStore {
  public:
    virtual ~FileStore() = default;

    // True when a regular file of that name exists (on Windows, one neither hidden nor system).
    virtual bool exists(const std::string& name) const = 0;
    // The whole file, or nothing when it cannot be opened.
    virtual std::optional<std::string> read(const std::string& name) const = 0;
    // Deletes the file; a missing file is passed over. Throws FileFailure when it stays.
    virtual void remove(const std::string& name) = 0;
    // Replaces the file with exactly these bytes, all or nothing. Throws FileFailure.
    virtual void write(const std::string& name, std::string_view bytes) = 0;
    // Replaces the file with the bytes that `content` hands over, all or nothing: when `content`
    // throws, the file stays as it was. By default the pieces are gathered and written whole.
    virtual void writeInPieces(const std::string& name, const FileContent& content);
};

// Files in one directory. A write goes to a temporary file beside the target and is renamed over
// it, so a failure never leaves a half-written file and never loses the previous one.
class DirectoryStore : public FileStore {
  public:
    explicit DirectoryStore(std::filesystem::path directory);

    bool exists(const std::string& name) const override;
    std::optional<std::string> read(const std::string& name) const override;
    void remove(const std::string& name) override;
    void write(const std::string& name, std::string_view bytes) override;
    void writeInPieces(const std::string& name, const FileContent& content) override;

    std::filesystem::path pathOf(const std::string& name) const;

  private:
    std::filesystem::path directory_;
};

// Files held in memory, by name.
class MemoryStore : public FileStore {
  public:
    bool exists(const std::string& name) const override;
    std::optional<std::string> read(const std::string& name) const override;
    void remove(const std::string& name) override;
    void write(const std::string& name, std::string_view bytes) override;
    void writeInPieces(const std::string& name, const FileContent& content) override;

    std::map<std::string, std::string> files;
};

// Writes a file through a temporary file renamed over the target, from bytes held whole or from
// pieces, which go to the temporary file as they come.
void writeWholeFile(const std::filesystem::path& path, std::string_view bytes);
void writeFileInPieces(const std::filesystem::path& path, const FileContent& content);
// As writeFileInPieces, but a file whose bytes would stay the same is left untouched (no write,
// no rename, its time kept). The pieces are compared with the file as they come, so nothing is
// held whole; at the first difference the replacement starts. True when the file was written.
bool writeFileInPiecesIfChanged(const std::filesystem::path& path, const FileContent& content);

// The whole file, or nothing when it is not a regular file or cannot be read.
std::optional<std::string> readWholeFile(const std::filesystem::path& path);

}  // namespace scenario
