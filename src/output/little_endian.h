// The binary files' one byte order: little-endian, two's complement, byte by byte, so that the
// layout never depends on the host's structures or byte order. A writer that builds a file in
// memory, and a reader that takes records back out of one.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace scenario {

// The low `size` bytes of v, least significant first.
inline void storeLE(char* at, std::uint64_t v, int size) {
    for (int i = 0; i < size; ++i) at[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}
inline std::uint64_t loadLE(const char* at, int size) {
    std::uint64_t v = 0;
    for (int i = 0; i < size; ++i) v |= std::uint64_t{static_cast<unsigned char>(at[i])} << (8 * i);
    return v;
}

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
        storeLE(b, v, size);
        bytes_.append(b, static_cast<std::size_t>(size));
    }

    std::string bytes_;
};

class ByteReader {
  public:
    explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}

    std::size_t offset() const { return pos_; }
    std::size_t left() const { return bytes_.size() - pos_; }
    bool has(std::size_t count) const { return count <= left(); }

    // Callers test has() first: a record is read only when all of it is there.
    std::uint8_t u8() { return static_cast<std::uint8_t>(unsignedLE(1)); }
    std::uint16_t u16() { return static_cast<std::uint16_t>(unsignedLE(2)); }
    std::int16_t i16() { return static_cast<std::int16_t>(u16()); }
    std::int32_t i32() {
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(unsignedLE(4)));
    }
    double f64() { return std::bit_cast<double>(unsignedLE(8)); }
    std::string text(std::size_t size) {
        std::string t(bytes_.substr(pos_, size));
        pos_ += size;
        return t;
    }

  private:
    std::uint64_t unsignedLE(int size) {
        const std::uint64_t v = loadLE(bytes_.data() + pos_, size);
        pos_ += static_cast<std::size_t>(size);
        return v;
    }

    std::string_view bytes_;
    std::size_t pos_ = 0;
};

}  // namespace scenario
