// Directory-backed and in-memory file stores, and the one function each that writes and reads a
// whole file.
#include "base/file_store.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <optional>
#include <utility>
#include <vector>

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

// Compares the pieces with the file already there and starts the replacement only at the first
// difference, with the equal part copied from the old file: it is the same bytes.
class ComparingSink : public ByteSink {
  public:
    explicit ComparingSink(std::filesystem::path target)
        : target_(std::move(target)), old_(target_, std::ios::binary) {}

    void append(std::string_view piece) override {
        if (!replacement_) {
            skipMatching(piece);
            if (piece.empty()) return;
            startReplacement();
        }
        replacement_->write(piece);
    }

    // True when the file was replaced; false when it already held exactly these bytes.
    bool finish() {
        if (!replacement_ && old_ && old_.peek() == std::ifstream::traits_type::eof()) return false;
        if (!replacement_) startReplacement();
        replacement_->commit();
        return true;
    }

  private:
    static constexpr std::size_t kChunk = 1 << 16;

    // Drops from the piece the chunks that the old file holds at the same place; what is left
    // starts at or before the first difference.
    void skipMatching(std::string_view& piece) {
        while (!piece.empty() && old_) {
            const std::size_t n = std::min(piece.size(), kChunk);
            buffer_.resize(n);
            old_.read(buffer_.data(), static_cast<std::streamsize>(n));
            if (static_cast<std::size_t>(old_.gcount()) != n ||
                !std::equal(buffer_.begin(), buffer_.end(), piece.begin())) {
                old_.setstate(std::ios::failbit);  // no longer in step with the pieces
                return;
            }
            matched_ += n;
            piece.remove_prefix(n);
        }
    }

    void startReplacement() {
        replacement_.emplace(target_);
        std::ifstream same(target_, std::ios::binary);
        for (std::size_t left = matched_; left > 0;) {
            const std::size_t n = std::min(left, kChunk);
            buffer_.resize(n);
            same.read(buffer_.data(), static_cast<std::streamsize>(n));
            if (static_cast<std::size_t>(same.gcount()) != n)
                throw FileFailure("cannot read " + textFromPath(target_) + " while replacing it");
            replacement_->write(std::string_view(buffer_.data(), n));
            left -= n;
        }
        old_.close();
    }

    std::filesystem::path target_;
    std::ifstream old_;
    std::size_t matched_ = 0;
    std::vector<char> buffer_;
    std::optional<ReplacementFile> replacement_;
};

}  // namespace

bool writeFileInPiecesIfChanged(const std::filesystem::path& path, const FileContent& content) {
    ComparingSink sink(path);
    try {
        content(sink);
    } catch (const StorageFailure& e) {
        throw FileFailure("cannot write " + textFromPath(path) + ": " + std::strerror(e.error));
    }
    return sink.finish();
}

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
