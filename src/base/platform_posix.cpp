// The platform interface on POSIX systems: file names are bytes, the console takes them as they
// are, and a replacement file is renamed over its target.
#include <fcntl.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>
#include <string>
#include <system_error>
#include <utility>

#include "base/failures.h"
#include "base/platform.h"

extern char** environ;

namespace scenario {
namespace {

[[noreturn]] void fail(const std::string& what, const std::filesystem::path& path, int error) {
    throw FileFailure("cannot " + what + " " + path.string() + ": " + std::strerror(error));
}

}  // namespace

std::filesystem::path applicationDirectory() {
    std::error_code ec;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) throw FileFailure("cannot find the program's directory: " + ec.message());
    return program.parent_path();
}

std::filesystem::path pathFromText(std::string_view text) {
    return std::filesystem::path(text);
}

std::string textFromPath(const std::filesystem::path& path) {
    return path.string();
}

bool fileExists(const std::filesystem::path& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

std::optional<std::string> readRegularFile(const std::filesystem::path& path) {
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

void preferLargePages([[maybe_unused]] void* block, [[maybe_unused]] std::size_t bytes) {
#ifdef MADV_HUGEPAGE
    // Only whole large pages inside the block can be large.
    constexpr std::uintptr_t kLargePage = std::uintptr_t{2} << 20;
    const auto begin = reinterpret_cast<std::uintptr_t>(block);
    const std::uintptr_t first = (begin + kLargePage - 1) & ~(kLargePage - 1);
    const std::uintptr_t last = (begin + bytes) & ~(kLargePage - 1);
    if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#endif
}

void removeFile(const std::filesystem::path& path) {
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) fail("delete", path, errno);
}

void createDirectories(const std::filesystem::path& directory) {
    std::error_code ec;
    if (directory.empty() || std::filesystem::create_directories(directory, ec) || !ec) return;
    fail("create", directory, ec.value());
}

// The file is made without a name where the file system allows it, so that a run killed while
// writing leaves nothing behind; it gets a name only to be renamed over the target. Elsewhere it
// is a named temporary file beside the target.
ReplacementFile::ReplacementFile(const std::filesystem::path& target) : target_(target) {
    const std::filesystem::path directory =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    // An unnamed file is named through /proc, which a chroot may lack.
    static const bool canBeNamed = ::access("/proc/self/fd", X_OK) == 0;
    if (canBeNamed) {
        const int fd = ::open(directory.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        if (fd >= 0) {
            handle_ = fd;
            open_ = true;
            return;
        }
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
            fail("create", target, errno);
    }
    std::string name = target.string() + ".XXXXXX";
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) fail("create", target, errno);
    temporary_ = name;
    handle_ = fd;
    open_ = true;
    // mkstemp makes the file private; give it the usual permissions of a new file.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    if (::fchmod(fd, 0666 & ~mask) != 0) {
        const int error = errno;
        discard();
        fail("create", target, error);
    }
}

ReplacementFile::~ReplacementFile() {
    discard();
}

void ReplacementFile::discard() {
    if (!open_) return;
    ::close(static_cast<int>(handle_));
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
    open_ = false;
}

void ReplacementFile::write(std::string_view bytes) {
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(static_cast<int>(handle_), data, left);
        if (written < 0) {
            if (errno == EINTR) continue;
            const int error = errno;
            discard();
            fail("write", target_, error);
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
}

void ReplacementFile::commit() {
    if (temporary_.empty()) giveName();
    open_ = false;
    if (::close(static_cast<int>(handle_)) != 0) {
        const int error = errno;
        ::unlink(temporary_.c_str());
        fail("write", target_, error);
    }
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary_.c_str());
        fail("write", target_, error);
    }
}

// linkat refuses a name that exists, so a name taken meanwhile only costs another try.
void ReplacementFile::giveName() {
    static constexpr char kLetters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
    const std::string self = "/proc/self/fd/" + std::to_string(handle_);
    for (int attempt = 0;; ++attempt) {
        std::string name = target_.string() + ".";
        for (int i = 0; i < 6; ++i) name += kLetters[pick(random)];
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            temporary_ = std::move(name);
            return;
        }
        if (errno != EEXIST || attempt == 100) {
            const int error = errno;
            discard();
            fail("write", target_, error);
        }
    }
}

void startConsoleProgram() {}

void useBinaryStandardStreams() {}

void openInBrowser(const std::string& url) {
#ifdef __APPLE__
    const char* opener = "open";
#else
    const char* opener = "xdg-open";
#endif
    std::string program = opener, address = url;
    char* arguments[] = {program.data(), address.data(), nullptr};
    // Not waited for: an opener may stay as long as the browser it started.
    pid_t child = 0;
    posix_spawnp(&child, opener, nullptr, nullptr, arguments, environ);
}

}  // namespace scenario
