// The separator masks: sixteen bytes compared at once where the processor has SSE2, which every
// 64-bit x86 has, one byte at a time elsewhere.
#include "source/separator_masks.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace scenario {
namespace {

// Bits from `count` on: the bytes past the end.
std::uint64_t pastTheEnd(std::size_t count) {
    return count >= kMaskBytes ? 0 : ~std::uint64_t{0} << count;
}

#if defined(__SSE2__)
std::uint64_t bitsOf(__m128i matches, int piece) {
    return std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(matches))} << (16 * piece);
}

SeparatorMasks wholeBlock(const char* bytes) {
    SeparatorMasks masks;
    for (int piece = 0; piece < 4; ++piece) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + 16 * piece));
        const __m128i blanks = _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8(' ')),
                                            _mm_cmpeq_epi8(v, _mm_set1_epi8('\t')));
        const __m128i lineEnds = _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('\r')),
                                              _mm_cmpeq_epi8(v, _mm_set1_epi8('\n')));
        const __m128i textEnds = _mm_or_si128(lineEnds, _mm_cmpeq_epi8(v, _mm_set1_epi8(',')));
        masks.blanks |= bitsOf(blanks, piece);
        masks.textEnds |= bitsOf(textEnds, piece);
    }
    return masks;
}
#endif

}  // namespace

SeparatorMasks separatorMasksByteByByte(const char* bytes, std::size_t count) {
    SeparatorMasks masks;
    for (std::size_t i = 0; i < count && i < kMaskBytes; ++i) {
        const char c = bytes[i];
        if (c == ' ' || c == '\t') masks.blanks |= std::uint64_t{1} << i;
        if (c == ',' || c == '\r' || c == '\n') masks.textEnds |= std::uint64_t{1} << i;
    }
    masks.textEnds |= pastTheEnd(count);
    return masks;
}

SeparatorMasks separatorMasks(const char* bytes, std::size_t count) {
#if defined(__SSE2__)
    if (count >= kMaskBytes) return wholeBlock(bytes);
    // The last bytes of a file, copied where a whole block can be read; a zero byte is neither.
    char block[kMaskBytes] = {};
    if (count > 0) std::memcpy(block, bytes, count);
    SeparatorMasks masks = wholeBlock(block);
    masks.textEnds |= pastTheEnd(count);
    return masks;
#else
    return separatorMasksByteByByte(bytes, count);
#endif
}

}  // namespace scenario
