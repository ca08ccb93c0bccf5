// How a fuzz input's bytes are laid out for each target, shared by the targets and by the
// program that writes their seed corpora, so that a seed means what its target reads.
#pragma once

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
