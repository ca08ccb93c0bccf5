// The platform interface on Windows: paths are UTF-16 and go through the wide API, text on the
// command line and the console is UTF-8, and a replacement file is moved over its target.
#include <fcntl.h>
#include <io.h>
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <system_error>

#include "base/failures.h"
#include "base/platform.h"

namespace scenario {
namespace {

std::string utf8FromWide(std::wstring_view wide) {
    if (wide.empty()) return {};
    const int length = static_cast<int>(wide.size());
    const int size =
        ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, text.data(), size, nullptr, nullptr);
    return text;
}

std::string systemMessage(DWORD error) {
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring_view text(buffer, length);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L'.'))
        text.remove_suffix(1);
    std::string message =
        text.empty() ? "Windows error " + std::to_string(error) : utf8FromWide(text);
    ::LocalFree(buffer);
    return message;
}

[[noreturn]] void fail(const std::string& what, const std::filesystem::path& path, DWORD error) {
    throw FileFailure("cannot " + what + " " + textFromPath(path) + ": " + systemMessage(error));
}

HANDLE handleOf(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

UINT consoleCodePageAtStart = 0;

void restoreConsoleCodePage() {
    ::SetConsoleOutputCP(consoleCodePageAtStart);
}

}  // namespace

std::filesystem::path applicationDirectory() {
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD size = static_cast<DWORD>(name.size());
        const DWORD length = ::GetModuleFileNameW(nullptr, name.data(), size);
        if (length == 0) {
            throw FileFailure("cannot find the program's directory: " +
                              systemMessage(::GetLastError()));
        }
        if (length < size) {
            name.resize(length);
            return std::filesystem::path(name).parent_path();
        }
        name.resize(name.size() * 2);  // the name was cut short
    }
}

std::filesystem::path pathFromText(std::string_view text) {
    if (text.empty()) return {};
    const int length = static_cast<int>(text.size());
    const int size = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), length, wide.data(), size);
    return std::filesystem::path(wide);
}

std::string textFromPath(const std::filesystem::path& path) {
    return utf8FromWide(path.native());
}

bool fileExists(const std::filesystem::path& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    return (attributes &
            (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0;
}

std::optional<std::string> readRegularFile(const std::filesystem::path& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return bytes;
}

void preferLargePages(void*, std::size_t) {}

void removeFile(const std::filesystem::path& path) {
    if (::DeleteFileW(path.c_str())) return;
    const DWORD error = ::GetLastError();
    if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) fail("delete", path, error);
}

void createDirectories(const std::filesystem::path& directory) {
    std::error_code ec;
    if (directory.empty() || std::filesystem::create_directories(directory, ec) || !ec) return;
    // The library's error may be the C library's number rather than the system's: its own text.
    throw FileFailure("cannot create " + textFromPath(directory) + ": " + ec.message());
}

ReplacementFile::ReplacementFile(const std::filesystem::path& target) : target_(target) {
    // A name no other writer uses: this process's number and a count of its own.
    static std::atomic<unsigned> count{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::wstring name = target.native() + L"." + std::to_wstring(::GetCurrentProcessId()) +
                            L"-" + std::to_wstring(count++) + L".tmp";
        const HANDLE file = ::CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            temporary_ = std::move(name);
            handle_ = reinterpret_cast<std::intptr_t>(file);
            open_ = true;
            return;
        }
        const DWORD error = ::GetLastError();
        if (error != ERROR_FILE_EXISTS) fail("create", target, error);
    }
    fail("create", target, ERROR_FILE_EXISTS);
}

ReplacementFile::~ReplacementFile() {
    discard();
}

void ReplacementFile::discard() {
    if (!open_) return;
    ::CloseHandle(handleOf(handle_));
    ::DeleteFileW(temporary_.c_str());
    open_ = false;
}

void ReplacementFile::write(std::string_view bytes) {
    constexpr std::size_t kLargestPiece = 1u << 30;
    while (!bytes.empty()) {
        const DWORD piece =
            static_cast<DWORD>(bytes.size() < kLargestPiece ? bytes.size() : kLargestPiece);
        DWORD written = 0;
        if (!::WriteFile(handleOf(handle_), bytes.data(), piece, &written, nullptr)) {
            const DWORD error = ::GetLastError();
            discard();
            fail("write", target_, error);
        }
        bytes.remove_prefix(written);
    }
}

void ReplacementFile::commit() {
    open_ = false;
    if (!::CloseHandle(handleOf(handle_))) {
        const DWORD error = ::GetLastError();
        ::DeleteFileW(temporary_.c_str());
        fail("write", target_, error);
    }
    // One step from the old content to the new; it returns once the move is on the disk.
    if (!::MoveFileExW(temporary_.c_str(), target_.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = ::GetLastError();
        ::DeleteFileW(temporary_.c_str());
        fail("write", target_, error);
    }
}

void startConsoleProgram() {
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    consoleCodePageAtStart = ::GetConsoleOutputCP();
    // 0: no console to set up.
    if (consoleCodePageAtStart == 0 || consoleCodePageAtStart == CP_UTF8) return;
    // The console keeps its code page after the program: give it back as it was.
    if (::SetConsoleOutputCP(CP_UTF8)) std::atexit(restoreConsoleCodePage);
}

void openInBrowser(const std::string& url) {
    const std::wstring address = pathFromText(url).wstring();
    ShellExecuteW(nullptr, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void useBinaryStandardStreams() {
    ::_setmode(::_fileno(stdin), _O_BINARY);
    ::_setmode(::_fileno(stdout), _O_BINARY);
}

std::vector<std::string> argumentsAsText(int argc, wchar_t** argv) {
    std::vector<std::string> arguments;
    arguments.reserve(static_cast<std::size_t>(argc));
    for (int i = 1; i < argc; ++i) arguments.push_back(utf8FromWide(argv[i]));
    return arguments;
}

}  // namespace scenario
