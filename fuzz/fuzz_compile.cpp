// Compiles the input's line and train source files in memory through the whole compile driver, on
// routes of at most 6 km and without encoding the plan, so that the passes get many runs a second.
// The plan of 6 km and its 7 km tail fits the sanitizer's pooled allocations; longer plans are
// mapped afresh for every input. fuzz_compile_long keeps the long routes.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "compile_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    scenario::fuzz::compileOneInput(std::string_view(reinterpret_cast<const char*>(data), size),
                                    {6000, false});
    return 0;
}
