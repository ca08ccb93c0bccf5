// The authors' checker: the warnings a compile does not give, found by reading both source texts
// as the passes read them and comparing what they hold with the record tables. It works on texts
// in memory, so an editor can call it on unsaved buffers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "report/diagnostic.h"
#include "source/record_walker.h"

namespace scenario {

struct SourceText {
    std::string name;  // the name locations carry
    std::string bytes;
};

// Names of the checker's warnings.
inline constexpr std::string_view kUnknownRecordWarning = "unknown-record";
inline constexpr std::string_view kUnknownSectionWarning = "unknown-section";
inline constexpr std::string_view kCommentStyleWarning = "comment-style";
inline constexpr std::string_view kImplausibleValueWarning = "implausible-value";
inline constexpr std::string_view kOrderWarning = "order";
inline constexpr std::string_view kNoRecordsWarning = "no-records";
inline constexpr std::string_view kEncodingWarning = "encoding";
inline constexpr std::string_view kSwappedFilesWarning = "swapped-files";
inline constexpr std::string_view kCurveKeywordWarning = "curve-keyword";
inline constexpr std::string_view kMissingFieldWarning = "missing-field";
inline constexpr std::string_view kZeroSpeedWarning = "zero-speed";
inline constexpr std::string_view kTimetableWarning = "timetable";  // check --timing's

// Every warning name, the compile's and the checker's.
std::vector<std::string_view> warningNames();

// The checker's warnings for a line and a train source text. Set `suggestion` on the
// unknown-record and unknown-section warnings that have a nearest keyword or header.
struct CheckResult {
    std::vector<Diagnostic> warnings;
    bool filesLookSwapped = false;
    int signRecords = 0;     // the line file's sign records, which share the station table
    int stationRecords = 0;  // the train file's station records
};
// `examined`, when given, receives the first fields each file's reading examined.
struct ExaminedFields {
    std::vector<ExaminedField> line;
    std::vector<ExaminedField> train;
};
CheckResult checkSourceTexts(const SourceText& line, const SourceText& train,
                             ExaminedFields* examined = nullptr);

// What the checker finds in the line text alone, kept beside the line model so that a train-file
// edit reads only the train text.
struct LineTextCheck {
    Location start;                    // the text's first line
    std::vector<Diagnostic> encoding;  // its encoding warning, if any
    std::vector<Diagnostic> records;   // the warnings of its records
    std::int32_t routeLength = 0;      // 0 when none was read
    int signRecords = 0;
    int ownRecords = 0;
    int otherRecords = 0;
};
LineTextCheck checkLineText(const SourceText& line, std::vector<ExaminedField>* examined = nullptr);
// checkSourceTexts with the line text's part already found.
CheckResult checkSourceTexts(const LineTextCheck& line, const SourceText& train,
                             std::vector<ExaminedField>* examined = nullptr);

// The nearest of `candidates` to `text` by edit distance, without regard to letter case; empty
// when none is near enough to be a slip.
std::string_view nearestKeyword(std::string_view text,
                                const std::vector<std::string_view>& candidates);

}  // namespace scenario
