// The fuzz targets' own checks: a broken promise aborts, so that libFuzzer keeps the input.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace scenario::fuzz {

inline void require(bool holds, const char* promise) {
    if (holds) return;
    std::fprintf(stderr, "broken promise: %s\n", promise);
    std::abort();
}

}  // namespace scenario::fuzz
