// Where a build's files live. The scenario program uses its own directory; the authors' tool and
// the tests can keep sources in memory, so that compiling never touches an author's own files.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace scenario {

class FileStore {
  public:
    virtual ~FileStore() = default;

    // True when a regular file of that name exists.
    virtual bool exists(const std::string& name) const = 0;
    // The whole file, or nothing when it cannot be opened.
    virtual std::optional<std::string> read(const std::string& name) const = 0;
    // Deletes the file; a missing file is passed over. Throws FileFailure when it stays.
    virtual void remove(const std::string& name) = 0;
    // Replaces the file with exactly these bytes, all or nothing. Throws FileFailure.
    virtual void write(const std::string& name, std::string_view bytes) = 0;
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

    std::filesystem::path pathOf(const std::string& name) const { return directory_ / name; }

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

    std::map<std::string, std::string> files;
};

// Writes bytes to a path whole, through a temporary file renamed over the target.
void writeWholeFile(const std::filesystem::path& path, std::string_view bytes);

}  // namespace scenario
