// Which of up to 64 bytes are blanks and which end a text field, one bit a byte with the first
// byte in the lowest bit: the field reader finds a field's edges by counting zero bits, not by a
// test and a branch on each byte.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// The masks of 64 bytes, all of which can be read: sixteen compared at once where the processor
// has SSE2, as every 64-bit x86 has.
inline SeparatorMasks wholeBlockMasks(const char* bytes) {
#if defined(__SSE2__)
    SeparatorMasks masks;
    for (int piece = 0; piece < 4; ++piece) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + 16 * piece));
        const __m128i blanks = _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8(' ')),
                                            _mm_cmpeq_epi8(v, _mm_set1_epi8('\t')));
        const __m128i lineEnds = _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('\r')),
                                              _mm_cmpeq_epi8(v, _mm_set1_epi8('\n')));
        const __m128i textEnds = _mm_or_si128(lineEnds, _mm_cmpeq_epi8(v, _mm_set1_epi8(',')));
        const auto bits = [piece](__m128i matches) {
            return std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(matches))}
                   << (16 * piece);
        };
        masks.blanks |= bits(blanks);
        masks.textEnds |= bits(textEnds);
    }
    return masks;
#else
    return separatorMasks(bytes, kMaskBytes);
#endif
}
// The same, one byte at a time: what the vector form is held to.
SeparatorMasks separatorMasksByteByByte(const char* bytes, std::size_t count);

}  // namespace scenario
