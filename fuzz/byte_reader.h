#pragma once

#include <cstddef>
#include <cstdint>

namespace velmora::fuzz {

// Reads a fuzz input front to back as small integers. Once the bytes run out
// every read returns 0, so a decoder never has to check the length itself.
class ByteReader {
public:
    ByteReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    // True when every byte has been read.
    bool Empty() const { return m_pos >= m_size; }

    // The next byte, or 0 at the end.
    uint8_t Byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }

    // The next two bytes, little-endian.
    uint16_t U16() {
        const uint16_t low = Byte();
        return static_cast<uint16_t>(low | (Byte() << 8));
    }

    // The next four bytes, little-endian, as any int32_t value.
    int32_t I32() {
        const uint32_t low = U16();
        return static_cast<int32_t>(low | (static_cast<uint32_t>(U16()) << 16));
    }

    // A value in [0, bound) from one byte; bound must be 1..256.
    uint32_t Below(uint32_t bound) { return Byte() % bound; }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

}  // namespace velmora::fuzz
