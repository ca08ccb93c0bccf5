// The separator masks of the last bytes of a file, and of any bytes one at a time.
#include "source/separator_masks.h"

#include <cstring>

namespace scenario {
namespace {

// Bits from `count` on: the bytes past the end.
std::uint64_t pastTheEnd(std::size_t count) {
    return count >= kMaskBytes ? 0 : ~std::uint64_t{0} << count;
}

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
    if (count >= kMaskBytes) return wholeBlockMasks(bytes);
    // The last bytes of a file, copied where a whole block can be read; a zero byte is neither.
    char block[kMaskBytes] = {};
    if (count > 0) std::memcpy(block, bytes, count);
    SeparatorMasks masks = wholeBlockMasks(block);
    masks.textEnds |= pastTheEnd(count);
    return masks;
#else
    return separatorMasksByteByByte(bytes, count);
#endif
}

}  // namespace scenario
