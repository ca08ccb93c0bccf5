// Runs the real scenario program from a directory of its own, as a user starts it.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>

#include "base/file_store.h"

namespace {

namespace fs = std::filesystem;

const char* kProgram = "Alderi_Moncasta_30752";

struct ProgramDirectory {
    fs::path path;
    ProgramDirectory() {
        std::string pattern = (fs::temp_directory_path() / "program-XXXXXX").string();
        path = ::mkdtemp(pattern.data());
        fs::copy_file(SCENARIO_PROGRAM, path / kProgram);
    }
    ~ProgramDirectory() {
        fs::permissions(path, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(path);
    }

    // Runs the program from another working directory; returns its exit status and stderr.
    int run(std::string& errors, const std::string& prefix = "") const {
        const fs::path log = fs::temp_directory_path() / (path.filename().string() + ".err");
        const std::string command =
            "cd / && " + prefix + "'" + (path / kProgram).string() + "' 2>'" + log.string() + "'";
        const int status = std::system(command.c_str());
        errors = read(log);
        fs::remove(log);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::set<std::string> files() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(path))
            if (entry.path().filename() != kProgram) names.insert(entry.path().filename().string());
        return names;
    }

    static std::string read(const fs::path& file) {
        return scenario::readWholeFile(file).value_or("");
    }
};

TEST(ScenarioProgram, ABuildLeavesTheCrewDocumentsAndTheThreeBinaryFiles) {
    ProgramDirectory dir;
    std::string errors;
    ASSERT_EQ(dir.run(errors), 0) << errors;
    EXPECT_EQ(errors, "Attendere\n");
    const std::set<std::string> expected = {
        "Alderi_Moncasta_30752_scheda_treno.txt",
        "Alderi_Moncasta_30752_rallentamenti.txt",
        "Alderi_Moncasta_30752_note.txt",
        "Alderi_Moncasta_linea.dat",
        "Alderi_Moncasta_30752.sim",
        "Alderi_Moncasta_30752.dat",
    };
    EXPECT_EQ(dir.files(), expected);
    EXPECT_EQ(fs::file_size(dir.path / "Alderi_Moncasta_30752.dat"), 12315u);
    EXPECT_EQ(fs::file_size(dir.path / "Alderi_Moncasta_linea.dat"), 819964u);

    std::map<std::string, std::string> first;
    for (const std::string& name : expected) first[name] = ProgramDirectory::read(dir.path / name);
    ASSERT_EQ(dir.run(errors), 0) << errors;
    EXPECT_EQ(dir.files(), expected);
    for (const std::string& name : expected)
        EXPECT_EQ(ProgramDirectory::read(dir.path / name), first[name]) << name;
}

TEST(ScenarioProgram, AReadOnlyDirectoryGivesTheFailureReportAndNoFile) {
    ProgramDirectory dir;
    fs::permissions(dir.path, fs::perms::owner_read | fs::perms::owner_exec |
                                  fs::perms::group_read | fs::perms::group_exec |
                                  fs::perms::others_read | fs::perms::others_exec);
    std::string errors;
    // Root writes anywhere: run as an ordinary user when we are root.
    const std::string prefix =
        ::geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
    const int status = dir.run(errors, prefix);
    EXPECT_NE(status, 0);
    EXPECT_NE(errors.find("Alderi_Moncasta_linea.txt"), std::string::npos) << errors;
    EXPECT_NE(errors.find("Permission denied"), std::string::npos) << errors;
    EXPECT_TRUE(dir.files().empty());
}

TEST(ScenarioProgram, ADirectoryTurnedReadOnlyKeepsTheFilesOfTheEarlierBuild) {
    ProgramDirectory dir;
    std::string errors;
    ASSERT_EQ(dir.run(errors), 0) << errors;
    const std::set<std::string> names = dir.files();
    std::map<std::string, std::string> first;
    for (const std::string& name : names) first[name] = ProgramDirectory::read(dir.path / name);

    fs::permissions(dir.path,
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    const std::string prefix =
        ::geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
    EXPECT_EQ(dir.run(errors, prefix), 2);
    // The first file written is the line source: the build ends there, before any deletion.
    EXPECT_NE(errors.find("Alderi_Moncasta_linea.txt: Permission denied"), std::string::npos)
        << errors;
    EXPECT_EQ(dir.files(), names);
    for (const std::string& name : names)
        EXPECT_EQ(ProgramDirectory::read(dir.path / name), first[name]) << name;
}

TEST(ScenarioProgram, AnOutputNameTakenByADirectoryKeepsTheEarlierFiles) {
    ProgramDirectory dir;
    std::string errors;
    ASSERT_EQ(dir.run(errors), 0) << errors;
    const std::string cells = ProgramDirectory::read(dir.path / "Alderi_Moncasta_30752.dat");
    fs::remove(dir.path / "Alderi_Moncasta_30752.sim");
    fs::create_directory(dir.path / "Alderi_Moncasta_30752.sim");
    EXPECT_NE(dir.run(errors), 0);
    EXPECT_NE(errors.find("Alderi_Moncasta_30752.sim"), std::string::npos) << errors;
    EXPECT_EQ(ProgramDirectory::read(dir.path / "Alderi_Moncasta_30752.dat"), cells);
    EXPECT_EQ(dir.files().size(), 6u);  // no temporary file left behind
}

}  // namespace
