// Which of up to 64 bytes are blanks and which end a text field, one bit a byte with the first
// byte in the lowest bit: the field reader finds a field's edges by counting zero bits, not by a
// test and a branch on each byte.
#pragma once

#include <cstddef>
#include <cstdint>

namespace scenario {

inline constexpr std::size_t kMaskBytes = 64;

struct SeparatorMasks {
    // ' ' and '\t'.
    std::uint64_t blanks = 0;
    // ',', '\r' and '\n', and every bit past the bytes given: a search stops at their end.
    std::uint64_t textEnds = 0;

    bool operator==(const SeparatorMasks&) const = default;
};

// The masks of bytes[0, count), count at most kMaskBytes.
SeparatorMasks separatorMasks(const char* bytes, std::size_t count);
// The same, one byte at a time: what the vector form is held to.
SeparatorMasks separatorMasksByteByByte(const char* bytes, std::size_t count);

}  // namespace scenario
