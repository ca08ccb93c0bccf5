// A storage failure part-way through each file the scenario program writes, in turn: the build
// stops with a message that names the file and the reason, the files written before it are new,
// the failing one and those after it are as they were, and no temporary file is left.
#include <gtest/gtest.h>

#include <cerrno>
#include <map>
#include <string>

#include "app/form_load.h"
#include "base/failures.h"
#include "base/file_store.h"
#include "compiler/track_model.h"
#include "output/file_versions.h"

namespace scenario {
namespace {

using namespace scenario::testing;

// Passes the first `limit` bytes on, then fails as a full disk does.
class FailingSink : public ByteSink {
  public:
    FailingSink(ByteSink& out, std::size_t limit) : out_(out), left_(limit) {}
    void append(std::string_view piece) override {
        if (piece.size() <= left_) {
            out_.append(piece);
            left_ -= piece.size();
            return;
        }
        out_.append(piece.substr(0, left_));
        throw StorageFailure{ENOSPC};
    }

  private:
    ByteSink& out_;
    std::size_t left_;
};

// The directory store, with one file's bytes going through a failing sink.
class FailingDirectory : public DirectoryStore {
  public:
    FailingDirectory(const fs::path& dir, std::string failing, std::size_t limit)
        : DirectoryStore(dir), failing_(std::move(failing)), limit_(limit) {}

    void write(const std::string& name, std::string_view bytes) override {
        writeInPieces(name, [bytes](ByteSink& out) { out.append(bytes); });
    }
    void writeInPieces(const std::string& name, const FileContent& content) override {
        if (name != failing_) return DirectoryStore::writeInPieces(name, content);
        DirectoryStore::writeInPieces(name, [&](ByteSink& out) {
            FailingSink failing(out, limit_);
            content(failing);
        });
    }

  private:
    std::string failing_;
    std::size_t limit_;
};

TEST(WriteFaults, AFailureInAnyFileKeepsEveryFileWholeAndNamesTheFile) {
    const BuiltinFiles builtin = builtinFiles();
    ASSERT_EQ(builtin.outputs.size(), 6u);
    const std::map<std::string, std::string> previous = previousVersions(builtin.outputs);
    // A source written before the failure stays: the build that would read and delete it stopped.
    const std::map<std::string, std::string> nextOrSource = builtin.outputsOrSources();

    for (const std::string& failing : builtinWriteOrder()) {
        const std::size_t size = nextOrSource.at(failing).size();
        for (const std::size_t limit : {std::size_t{0}, size / 2}) {
            SCOPED_TRACE(failing + " failing after " + std::to_string(limit) + " bytes");
            TempDir dir;
            putFiles(dir.path, previous);
            FailingDirectory store(dir.path, failing, limit);
            try {
                ScenarioBuild build;
                Form_Load(build, store);
                ADD_FAILURE() << "the build went on";
            } catch (const FileFailure& failure) {
                EXPECT_EQ(
                    std::string(failure.what()),
                    "cannot write " + (dir.path / failing).string() + ": No space left on device");
            }
            const std::map<std::string, std::string> found = filesIn(dir.path);
            EXPECT_EQ(versionOf(found, failing), versionOf(previous, failing));
            EXPECT_EQ(expectPreviousOrNew(found, previous, nextOrSource, failing),
                      std::set<std::string>{});
        }
    }
}

}  // namespace
}  // namespace scenario
