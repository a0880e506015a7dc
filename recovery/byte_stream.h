#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace velmora {

// Appends fixed-size numbers to a byte string, least significant byte first,
// so that a recovery copy reads the same wherever it was written.
class ByteWriter {
public:
    explicit ByteWriter(std::string& out) : m_out(out) {}

    void U8(uint8_t value) { m_out.push_back(static_cast<char>(value)); }
    void U32(uint32_t value) { Put(value, 4); }
    void U64(uint64_t value) { Put(value, 8); }
    void I32(int32_t value) { U32(static_cast<uint32_t>(value)); }
    void I64(int64_t value) { U64(static_cast<uint64_t>(value)); }
    // A length (32 bits) and the bytes.
    void Text(std::string_view text);

private:
    void Put(uint64_t value, int bytes);

    std::string& m_out;
};

// Reads what a ByteWriter wrote. Reading past the end gives zeros and makes
// the reader fail for good, so a caller may read a whole record and check
// Ok() once at the end.
class ByteReader {
public:
    explicit ByteReader(std::string_view bytes) : m_bytes(bytes) {}

    uint8_t U8() { return static_cast<uint8_t>(Get(1)); }
    uint32_t U32() { return static_cast<uint32_t>(Get(4)); }
    uint64_t U64() { return Get(8); }
    int32_t I32() { return static_cast<int32_t>(U32()); }
    int64_t I64() { return static_cast<int64_t>(U64()); }
    std::string Text();
    // The next `size` bytes, or none (and failure) when fewer are left.
    std::string_view Bytes(std::size_t size);

    // A count of items of `itemBytes` bytes each that are to follow: fails
    // the reader when fewer bytes are left than they need, so that a damaged
    // count never makes a caller reserve more memory than the input holds.
    uint32_t Count(std::size_t itemBytes);

    bool Ok() const { return m_ok; }
    std::size_t Left() const { return m_bytes.size() - m_at; }
    // Fails the reader, for content that is read whole but makes no sense.
    void Fail() { m_ok = false; }

private:
    uint64_t Get(int bytes);

    std::string_view m_bytes;
    std::size_t m_at = 0;
    bool m_ok = true;
};

}  // namespace velmora
