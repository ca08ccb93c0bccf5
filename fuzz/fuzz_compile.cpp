// Compiles the input's line and train source files in memory through the whole compile driver, on
// routes of at most 1 km and without encoding the plan, so that the passes get many runs a second.
// The plan is still computed, over the route and its 7 km tail. fuzz_compile_long keeps the long
// routes and encodes the plan.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "compile_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    scenario::fuzz::compileOneInput(std::string_view(reinterpret_cast<const char*>(data), size),
                                    {scenario::fuzz::kShortRoute, false});
    return 0;
}
