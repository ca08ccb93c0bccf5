// Directory-backed and in-memory file stores, and the one function each that writes and reads a
// whole file.
#include "base/file_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
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
                throw StorageFailure{errno};
            }
            data += written;
            left -= static_cast<std::size_t>(written);
        }
    }

  private:
    int fd_;
};

// A name beside the target that no other file is likely to have: the target's name and six
// random letters, as mkstemp makes them.
std::string temporaryNameFor(const std::filesystem::path& target) {
    static constexpr char kLetters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
    std::string name = target.string() + ".";
    for (int i = 0; i < 6; ++i) name += kLetters[pick(random)];
    return name;
}

// The file being written. It has no name where the file system allows that, so that a run killed
// while writing leaves nothing behind; elsewhere it is a named temporary file beside the target.
// It gets a name only to be renamed over the target.
class TemporaryFile {
  public:
    explicit TemporaryFile(const std::filesystem::path& target) : target_(target) {
        const std::filesystem::path directory =
            target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
        // An unnamed file is named through /proc, which a chroot may lack.
        static const bool canBeNamed = ::access("/proc/self/fd", X_OK) == 0;
        if (canBeNamed) {
            fd_ = ::open(directory.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
            if (fd_ >= 0) return;
            if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
                fail("create", target, errno);
        }
        name_ = target.string() + ".XXXXXX";
        fd_ = ::mkostemp(name_.data(), O_CLOEXEC);
        if (fd_ < 0) {
            name_.clear();
            fail("create", target, errno);
        }
        // mkstemp makes the file private; give it the usual permissions of a new file.
        const mode_t mask = ::umask(0);
        ::umask(mask);
        if (::fchmod(fd_, 0666 & ~mask) == 0) return;
        const int error = errno;
        ::close(fd_);
        ::unlink(name_.c_str());
        fail("create", target, error);
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    // Whatever was not renamed over the target is thrown away.
    ~TemporaryFile() {
        if (fd_ >= 0) ::close(fd_);
        if (!name_.empty()) ::unlink(name_.c_str());
    }

    int fd() const { return fd_; }

    void replaceTarget() {
        if (name_.empty()) giveName();
        const int closed = ::close(fd_);
        fd_ = -1;
        if (closed != 0) fail("write", target_, errno);
        if (::rename(name_.c_str(), target_.c_str()) != 0) fail("write", target_, errno);
        name_.clear();
    }

  private:
    // linkat refuses a name that exists, so a name taken meanwhile only costs another try.
    void giveName() {
        const std::string self = "/proc/self/fd/" + std::to_string(fd_);
        for (int attempt = 0;; ++attempt) {
            std::string name = temporaryNameFor(target_);
            if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
                name_ = std::move(name);
                return;
            }
            if (errno != EEXIST || attempt == 100) fail("write", target_, errno);
        }
    }

    std::filesystem::path target_;
    std::string name_;  // empty while the file has no name
    int fd_ = -1;
};

}  // namespace

// The one place where a file of the build reaches the disk on POSIX systems.
void writeFileInPieces(const std::filesystem::path& path, const FileContent& content) {
    TemporaryFile file(path);
    DescriptorSink sink(file.fd());
    try {
        content(sink);
    } catch (const StorageFailure& e) {
        fail("write", path, e.error);
    }
    // Content that could not be made throws past here: the previous file stays.
    file.replaceTarget();
}

void writeWholeFile(const std::filesystem::path& path, std::string_view bytes) {
    writeFileInPieces(path, [bytes](ByteSink& sink) { sink.append(bytes); });
}

std::optional<std::string> readWholeFile(const std::filesystem::path& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
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
