// Rounding half to even and the conversions of computed values into the model's fields:
// wrapping to the field's low bits, or range-checked (a run-time failure when out of range).
#pragma once

#include <cmath>
#include <cstdint>
#include <string>

#include "base/failures.h"

namespace scenario {

// Round half to even, as the default floating-point rounding mode does.
inline double roundHalfEven(double x) {
    return std::nearbyint(x);
}

// Rounds a computed real to a whole number. Every value the passes round is far inside
// 64 bits; anything else (not finite, huge) is a run-time failure rather than undefined.
inline std::int64_t roundToWhole(double x) {
    const double r = roundHalfEven(x);
    if (!(r > -4.0e18 && r < 4.0e18)) throw RunTimeFailure("value out of range");
    return static_cast<std::int64_t>(r);
}

inline std::int16_t lowBits16(std::int64_t v) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(static_cast<std::uint64_t>(v)));
}
inline std::uint8_t lowBits8(std::int64_t v) {
    return static_cast<std::uint8_t>(static_cast<std::uint64_t>(v));
}
inline std::int32_t lowBits32(std::int64_t v) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(v)));
}

// `what` names the value for the author: "the platform's start or end is 2147483800, beyond
// -2147483648 to 2147483647".
[[noreturn, gnu::noinline]] inline void doesNotFit(const char* what, std::int64_t v,
                                                   std::int64_t lowest, std::int64_t highest) {
    throw RunTimeFailure(std::string(what) + " is " + std::to_string(v) + ", beyond " +
                         std::to_string(lowest) + " to " + std::to_string(highest));
}
inline std::int16_t checkedInteger(std::int64_t v, const char* what) {
    if (v < INT16_MIN || v > INT16_MAX) doesNotFit(what, v, INT16_MIN, INT16_MAX);
    return static_cast<std::int16_t>(v);
}
inline std::int32_t checkedLong(std::int64_t v, const char* what) {
    if (v < INT32_MIN || v > INT32_MAX) doesNotFit(what, v, INT32_MIN, INT32_MAX);
    return static_cast<std::int32_t>(v);
}
inline std::uint8_t checkedByte(std::int64_t v, const char* what) {
    if (v < 0 || v > UINT8_MAX) doesNotFit(what, v, 0, UINT8_MAX);
    return static_cast<std::uint8_t>(v);
}

}  // namespace scenario
