// Drives the field reader with the input's bytes: which reads to make, and the file they read.
// A read either gives a field that keeps the field rules or fails as a run-time failure, and
// every read gives what the rules read one byte at a time give.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "fuzz_inputs.h"
#include "source/field_reader.h"
#include "source/field_rules_model.h"

namespace {

using namespace scenario;
using namespace scenario::fuzz;

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

void checkText(const std::string& text) {
    require(text.find_first_of(",\r\n") == std::string::npos, "a text field holds no separator");
    require(text.empty() || (!isBlank(text.front()) && !isBlank(text.back())),
            "a text field is trimmed");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ReaderInput input =
        splitReaderInput(std::string_view(reinterpret_cast<const char*>(data), size));
    // The two name the five reads in the same order.
    std::vector<model::Read> kinds;
    for (const ReadOp op : input.ops) kinds.push_back(static_cast<model::Read>(op));

    FieldReader reader(input.file);
    // Every read takes at least one byte, so the file is read in at most its size in reads.
    std::size_t reads = 0;
    std::int32_t lastLine = 1;
    bool failed = false;
    while (!reader.atEnd()) {
        require(reads <= input.file.size(), "every read moves on");
        const model::Read kind = kinds[reads % kinds.size()];
        const model::ReadResult read = model::readWith(reader, kind);
        ++reads;
        failed = read.failed;
        if (failed) break;
        if (kind == model::Read::Text || kind == model::Read::Name) checkText(read.text);
        if (kind == model::Read::Name)
            require(read.text.size() <= 65535, "a name fits its length field");
        require(reader.line() >= lastLine, "field lines never go back");
        require(reader.currentLine() >= reader.line(), "the reader stands at or after its field");
        lastLine = reader.line();
    }
    // Past the end every read fails.
    if (!failed)
        require(model::readWith(reader, model::Read::Text).failed, "a read past the end fails");
    require(reader.warnings().size() <= reads + 1, "at most one warning a read");
    require(model::firstDifference(input.file, kinds).empty(), "the fields are the rules' fields");
    return 0;
}
