// Directory-backed and in-memory file stores, and the one function each that writes and reads a
// whole file.
#include "base/file_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>
#include <utility>

#include "base/failures.h"

namespace scenario {
namespace {

[[noreturn]] void fail(const std::string& what, const std::filesystem::path& path, int error) {
    throw FileFailure("cannot " + what + " " + path.string() + ": " + std::strerror(error));
}

// Writes each piece to the open temporary file as it comes.
class DescriptorSink : public ByteSink {
  public:
    explicit DescriptorSink(int fd) : fd_(fd) {}

    void append(std::string_view piece) override {
        const char* data = piece.data();
        std::size_t left = piece.size();
        while (left > 0) {
            const ssize_t written = ::write(fd_, data, left);
            if (written < 0) {
                if (errno == EINTR) continue;
                throw WriteError{errno};
            }
            data += written;
            left -= static_cast<std::size_t>(written);
        }
    }

    struct WriteError {
        int error;
    };

  private:
    int fd_;
};

}  // namespace

void writeFileInPieces(const std::filesystem::path& path, const FileContent& content) {
    std::string temporary = path.string() + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) fail("create", path, errno);

    auto discard = [&] {
        ::close(fd);
        ::unlink(temporary.c_str());
    };
    // mkstemp makes the file private; give it the usual permissions of a new file.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    if (::fchmod(fd, 0666 & ~mask) != 0) {
        const int error = errno;
        discard();
        fail("create", path, error);
    }

    DescriptorSink sink(fd);
    try {
        content(sink);
    } catch (const DescriptorSink::WriteError& e) {
        discard();
        fail("write", path, e.error);
    } catch (...) {
        discard();  // the content could not be made: the previous file stays
        throw;
    }
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        fail("write", path, error);
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        fail("write", path, error);
    }
}

void writeWholeFile(const std::filesystem::path& path, std::string_view bytes) {
    writeFileInPieces(path, [bytes](ByteSink& sink) { sink.append(bytes); });
}

std::optional<std::string> readWholeFile(const std::filesystem::path& path) {
    // Non-blocking, so that a FIFO given as a source is refused rather than waited on.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return std::nullopt;
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    // One read of the size the file has; a file that grows meanwhile is read on to its end.
    std::string bytes(static_cast<std::size_t>(status.st_size) + 1, '\0');
    std::size_t got = 0;
    for (;;) {
        if (got == bytes.size()) bytes.resize(bytes.size() * 2);
        const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    bytes.resize(got);
    return bytes;
}

void FileStore::writeInPieces(const std::string& name, const FileContent& content) {
    StringSink sink;
    content(sink);
    write(name, sink.bytes);
}

DirectoryStore::DirectoryStore(std::filesystem::path directory)
    : directory_(std::move(directory)) {}

bool DirectoryStore::exists(const std::string& name) const {
    std::error_code ec;
    return std::filesystem::is_regular_file(pathOf(name), ec);
}

std::optional<std::string> DirectoryStore::read(const std::string& name) const {
    return readWholeFile(pathOf(name));
}

void DirectoryStore::remove(const std::string& name) {
    const std::filesystem::path path = pathOf(name);
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) fail("delete", path, errno);
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
