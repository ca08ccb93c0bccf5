// Directory-backed and in-memory file stores, and the one function each that writes and reads a
// whole file.
#include "base/file_store.h"

#include <cstring>
#include <utility>

#include "base/failures.h"
#include "base/platform.h"

namespace scenario {
namespace {

// Writes each piece to the replacement file as it comes.
class ReplacementSink : public ByteSink {
  public:
    explicit ReplacementSink(ReplacementFile& file) : file_(file) {}
    void append(std::string_view piece) override { file_.write(piece); }

  private:
    ReplacementFile& file_;
};

}  // namespace

// The one place where a file of the build reaches the disk.
void writeFileInPieces(const std::filesystem::path& path, const FileContent& content) {
    ReplacementFile file(path);
    ReplacementSink sink(file);
    try {
        content(sink);  // when it throws, the replacement file goes and the previous file stays
    } catch (const StorageFailure& e) {
        throw FileFailure("cannot write " + textFromPath(path) + ": " + std::strerror(e.error));
    }
    file.commit();
}

void writeWholeFile(const std::filesystem::path& path, std::string_view bytes) {
    writeFileInPieces(path, [bytes](ByteSink& sink) { sink.append(bytes); });
}

std::optional<std::string> readWholeFile(const std::filesystem::path& path) {
    return readRegularFile(path);
}

void FileStore::writeInPieces(const std::string& name, const FileContent& content) {
    StringSink sink;
    content(sink);
    write(name, sink.bytes);
}

DirectoryStore::DirectoryStore(std::filesystem::path directory)
    : directory_(std::move(directory)) {}

std::filesystem::path DirectoryStore::pathOf(const std::string& name) const {
    return directory_ / pathFromText(name);
}

bool DirectoryStore::exists(const std::string& name) const {
    return fileExists(pathOf(name));
}

std::optional<std::string> DirectoryStore::read(const std::string& name) const {
    return readWholeFile(pathOf(name));
}

void DirectoryStore::remove(const std::string& name) {
    removeFile(pathOf(name));
}

void DirectoryStore::write(const std::string& name, std::string_view bytes) {
    writeWholeFile(pathOf(name), bytes);
}

void DirectoryStore::writeInPieces(const std::string& name, const FileContent& content) {
    writeFileInPieces(pathOf(name), content);
}

bool MemoryStore::exists(const std::string& name) const {
    return files.count(name) != 0;
}

std::optional<std::string> MemoryStore::read(const std::string& name) const {
    const auto it = files.find(name);
    if (it == files.end()) return std::nullopt;
    return it->second;
}

void MemoryStore::remove(const std::string& name) {
    files.erase(name);
}

void MemoryStore::write(const std::string& name, std::string_view bytes) {
    files[name] = std::string(bytes);
}

void MemoryStore::writeInPieces(const std::string& name, const FileContent& content) {
    StringSink sink;
    content(sink);
    files[name] = std::move(sink.bytes);
}

}  // namespace scenario
