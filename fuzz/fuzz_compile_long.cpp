// The compile target on routes of any length, with the plan file encoded: slow, so run only now
// and then (fuzz/run runs it when asked by name).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "compile_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    scenario::fuzz::compileOneInput(std::string_view(reinterpret_cast<const char*>(data), size),
                                    {0, true});
    return 0;
}
