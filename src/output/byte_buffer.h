// Builds a binary file's bytes in memory: little-endian, two's complement, byte by byte, so the
// layout never depends on the host's structures or byte order.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace scenario {

class ByteBuffer {
  public:
    explicit ByteBuffer(std::size_t expectedSize) { bytes_.reserve(expectedSize); }

    void u8(std::uint8_t v) { bytes_.push_back(static_cast<char>(v)); }
    void u16(std::uint16_t v) { unsignedLE(v, 2); }
    void i16(std::int16_t v) { unsignedLE(static_cast<std::uint16_t>(v), 2); }
    void i32(std::int32_t v) { unsignedLE(static_cast<std::uint32_t>(v), 4); }
    void f64(double v) { unsignedLE(std::bit_cast<std::uint64_t>(v), 8); }
    void text(std::string_view v) { bytes_.append(v); }

    std::string take() { return std::move(bytes_); }

  private:
    void unsignedLE(std::uint64_t v, int size) {
        char b[8];
        for (int i = 0; i < size; ++i) b[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
        bytes_.append(b, static_cast<std::size_t>(size));
    }

    std::string bytes_;
};

}  // namespace scenario
