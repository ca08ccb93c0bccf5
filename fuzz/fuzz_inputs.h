// How a fuzz input's bytes are laid out for each target, shared by the targets and by the
// program that writes their seed corpora, so that a seed means what its target reads.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace scenario::fuzz {

// --- fuzz_compile: the line source, the separator line, the train source ------------------------

// Without the separator there is no train source file at all. A leading "@noplan\n" compiles
// without the line plan, as the driver does when asked not to build it.
inline constexpr std::string_view kTrainSeparator = "\n@@train@@\n";
inline constexpr std::string_view kNoPlanPrefix = "@noplan\n";

struct CompileInput {
    bool buildPlan = true;
    std::string lineSource;
    std::optional<std::string> trainSource;
};

inline CompileInput splitCompileInput(std::string_view bytes) {
    CompileInput input;
    if (bytes.substr(0, kNoPlanPrefix.size()) == kNoPlanPrefix) {
        input.buildPlan = false;
        bytes.remove_prefix(kNoPlanPrefix.size());
    }
    const std::size_t split = bytes.find(kTrainSeparator);
    input.lineSource = std::string(bytes.substr(0, split));
    if (split != std::string_view::npos)
        input.trainSource = std::string(bytes.substr(split + kTrainSeparator.size()));
    return input;
}

inline std::string joinCompileInput(const CompileInput& input) {
    std::string bytes = input.buildPlan ? "" : std::string(kNoPlanPrefix);
    bytes += input.lineSource;
    if (input.trainSource) bytes.append(kTrainSeparator).append(*input.trainSource);
    return bytes;
}

// Lowers a route length above `longest` to `longest` on every line whose first field names the
// route length, with its value after the first comma, as the writer lays the record out. Values
// beyond the longest route the line pass accepts stay, so that its refusal is still reached.
inline void clampRouteLength(std::string& lineSource, std::int32_t longest) {
    constexpr std::int64_t kLongestAccepted = 1000000;
    const auto holds = [](std::string_view text, std::string_view word) {
        return std::search(text.begin(), text.end(), word.begin(), word.end(), [](char a, char b) {
                   return (a >= 'A' && a <= 'Z' ? a - 'A' + 'a' : a) == b;
               }) != text.end();
    };
    for (std::size_t start = 0; start < lineSource.size();) {
        std::size_t end = std::min(lineSource.find_first_of("\r\n", start), lineSource.size());
        const std::size_t comma = lineSource.find(',', start);
        const std::string_view first = std::string_view(lineSource).substr(start, comma - start);
        if (comma < end && holds(first, "lunghezza") && holds(first, "percorso")) {
            std::size_t digits = std::min(lineSource.find_first_not_of(" \t", comma + 1), end);
            if (digits < end && lineSource[digits] == '+') ++digits;
            const std::size_t after =
                std::min(end, lineSource.find_first_not_of("0123456789", digits));
            const std::int64_t value = digits < after && after - digits <= 7
                                           ? std::stoll(lineSource.substr(digits, after - digits))
                                           : 0;
            if (value > longest && value <= kLongestAccepted) {
                const std::string lowered = std::to_string(longest);
                lineSource.replace(digits, after - digits, lowered);
                end = end - (after - digits) + lowered.size();
            }
        }
        start = end + 1;
    }
}

// --- fuzz_dump_print: a byte that chooses the file kind and the printer's flags, then the file --

struct PrintInput {
    int kind = 0;  // 0 track cells, 1 station table, 2 line data
    bool json = false;
    bool all = false;
    std::string_view file;
};

inline PrintInput splitPrintInput(std::string_view bytes) {
    PrintInput input;
    if (bytes.empty()) return input;
    const auto choice = static_cast<unsigned char>(bytes[0]);
    input.kind = choice % 4 % 3;
    input.json = (choice & 4) != 0;
    input.all = (choice & 8) != 0;
    input.file = bytes.substr(1);
    return input;
}

inline std::string joinPrintInput(int kind, bool json, bool all, std::string_view file) {
    const int choice = kind | (json ? 4 : 0) | (all ? 8 : 0);
    return std::string(1, static_cast<char>(choice)).append(file);
}

// --- fuzz_field_reader: a count byte, that many read operations, then the file's bytes ----------

enum class ReadOp : std::uint8_t { Text, Name, Long, Integer, Byte };
inline constexpr int kReadOpCount = 5;
inline constexpr std::size_t kMostReadOps = 16;

struct ReaderInput {
    std::vector<ReadOp> ops;  // applied in turn, round and round, until the file is read
    std::string file;
};

// The first byte gives 1 to 16 operations, each taken from one byte modulo the five reads.
inline ReaderInput splitReaderInput(std::string_view bytes) {
    ReaderInput input;
    if (bytes.empty()) {
        input.ops.push_back(ReadOp::Text);
        return input;
    }
    const std::size_t count = static_cast<unsigned char>(bytes[0]) % kMostReadOps + 1;
    bytes.remove_prefix(1);
    for (std::size_t i = 0; i < count && !bytes.empty(); ++i) {
        input.ops.push_back(
            static_cast<ReadOp>(static_cast<unsigned char>(bytes[0]) % kReadOpCount));
        bytes.remove_prefix(1);
    }
    if (input.ops.empty()) input.ops.push_back(ReadOp::Text);
    input.file = std::string(bytes);
    return input;
}

inline std::string joinReaderInput(const ReaderInput& input) {
    std::string bytes(1, static_cast<char>(input.ops.size() - 1));
    for (ReadOp op : input.ops) bytes += static_cast<char>(op);
    return bytes + input.file;
}

}  // namespace scenario::fuzz
