// The source file the compile step is reading ("file number 1"): opens it from the file store,
// hands its fields to the passes, and records what is found wrong at the record being read.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "base/file_store.h"
#include "compiler/track_model.h"
#include "source/field_reader.h"
#include "source/record_tables.h"

namespace scenario {

class SourceInput {
  public:
    SourceInput(ScenarioBuild& build, FileStore& files) : build_(build), files_(files) {}

    FileStore& files() { return files_; }

    void open(const std::string& fileName);  // RunTimeFailure when it cannot be opened
    // Closes the file, keeping the reader's warnings.
    void close();
    // Closes the file being read and deletes it.
    void closeAndDelete();
    FieldReader& reader();  // RunTimeFailure when no file is open
    bool atEnd() const { return reader_ && reader_->atEnd(); }

    // Reads a first field into currentLine, and returns it; its place is the record's for what
    // follows.
    std::string_view readFirstField();
    // Tells the watcher that the first field just read is examined at `place`, and warns when it
    // names a record that is passed over there.
    void noteMisplacedKeyword(SourcePlace place);

    // Records a data error at the record being read, with or without a new position.
    void recordError(std::int32_t code);
    void recordError(std::int32_t code, std::int32_t position);
    // Records error 25 for a run-time failure caught by the trap, at the field being read.
    void recordFailure(const std::string& reason);
    // Records the error that `code` names without a file: the file itself is missing.
    void recordMissingFile(std::int32_t code, const std::string& fileName);

  private:
    void warnAtRecord(std::string_view name, std::string message);

    ScenarioBuild& build_;
    FileStore& files_;
    std::optional<FieldReader> reader_;
    std::string fileName_;  // the file open, or last opened
    Location record_;       // where the last first field stood
};

}  // namespace scenario
