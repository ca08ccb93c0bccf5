// The separator masks made sixteen bytes at a time against the same masks made byte by byte.
#include "source/separator_masks.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace scenario {
namespace {

TEST(SeparatorMasks, AgreeWithTheBytesOneByOne) {
    std::mt19937 random(5);
    // Every separator, its neighbours in the code page, and bytes with the high bit set.
    const std::string alphabet = std::string(" \t,\r\n\x0b\x0c\x1f!+-09aZ\x80\xa0\xff", 18) + '\0';
    for (int round = 0; round < 2000; ++round) {
        std::string bytes(kMaskBytes, ' ');
        for (char& c : bytes) c = alphabet[random() % alphabet.size()];
        const std::size_t count = round % 3 == 0 ? random() % (kMaskBytes + 1) : kMaskBytes;
        EXPECT_EQ(separatorMasks(bytes.data(), count),
                  separatorMasksByteByByte(bytes.data(), count))
            << round;
        if (count == kMaskBytes) {
            EXPECT_EQ(wholeBlockMasks(bytes.data()), separatorMasksByteByByte(bytes.data(), count));
        }
    }
    // Past the bytes given, every bit ends a text.
    const SeparatorMasks none = separatorMasks("", 0);
    EXPECT_EQ(none.blanks, 0u);
    EXPECT_EQ(none.textEnds, ~std::uint64_t{0});
}

}  // namespace
}  // namespace scenario
