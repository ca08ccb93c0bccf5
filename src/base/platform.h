// What the operating system does its own way: the program's directory, file names, the existence
// test, deleting a file, making a directory, replacing a whole file at once, and the console. One
// implementation for POSIX systems and one for Windows; nothing else in the code depends on the
// platform.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace scenario {

// The directory that holds the running program. Throws FileFailure when it cannot be found.
std::filesystem::path applicationDirectory();

// A path from text as the command line and the messages carry it, and back: UTF-8 on Windows,
// the bytes themselves elsewhere. Every path made from a name or an argument goes through here.
std::filesystem::path pathFromText(std::string_view text);
std::string textFromPath(const std::filesystem::path& path);

// True when a regular file of that name exists. On Windows hidden and system files count as
// missing, as the simulator's own existence test has it.
bool fileExists(const std::filesystem::path& path);

// The whole content of a regular file, or nothing when it is missing, unreadable or not a
// regular file (a directory, a FIFO: never waited on).
std::optional<std::string> readRegularFile(const std::filesystem::path& path);

// Asks the system to back a large block of memory with large pages where it can, so that its
// first use costs a few page faults rather than one per small page. Only advice: nothing changes
// for the program but the time.
void preferLargePages(void* block, std::size_t bytes);

// Deletes a file; a missing file is passed over. Throws FileFailure when the file stays.
void removeFile(const std::filesystem::path& path);

// Makes a directory and the parents it lacks; one that exists is kept. Throws FileFailure when
// it cannot be made (a file of that name stands there, no permission).
void createDirectories(const std::filesystem::path& directory);

// A new file beside its target that takes the target's place at once when committed, so that
// the target is never half-written and its previous content is never lost. Destroyed without a
// commit, it goes away and leaves the target as it was.
class ReplacementFile {
  public:
    explicit ReplacementFile(const std::filesystem::path& target);  // FileFailure
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    void write(std::string_view bytes);  // FileFailure
    void commit();                       // FileFailure; the temporary file is then gone

  private:
    void discard();
    void giveName();  // POSIX: a name for a file made without one

    std::filesystem::path target_;
    std::filesystem::path temporary_;  // empty while the file has no name
    std::intptr_t handle_;             // a descriptor or a Windows handle
    bool open_ = false;
};

// Sets the process up as a console program that runs unattended: the console shows the UTF-8
// text the programs print, and the system shows no box that would wait for a click (a drive
// without a disk, a crash). Nothing to do on POSIX systems.
void startConsoleProgram();

// Standard input and output as bytes: a protocol that frames its messages with CR LF must not
// have Windows add a CR before each LF. Nothing to do on POSIX systems.
void useBinaryStandardStreams();

// Asks the desktop to open an address in the user's browser; nothing when it cannot.
void openInBrowser(const std::string& url);

#ifdef _WIN32
// The arguments after the program's name as UTF-8 text, from the UTF-16 ones wmain receives.
std::vector<std::string> argumentsAsText(int argc, wchar_t** argv);
#endif

}  // namespace scenario
