#include "recovery/byte_stream.h"

namespace velmora {

void ByteWriter::Put(uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        m_out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void ByteWriter::Text(std::string_view text) {
    U32(static_cast<uint32_t>(text.size()));
    m_out.append(text.data(), text.size());
}

uint64_t ByteReader::Get(int bytes) {
    if (!m_ok || Left() < static_cast<std::size_t>(bytes)) {
        m_ok = false;
        return 0;
    }
    uint64_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= static_cast<uint64_t>(static_cast<uint8_t>(m_bytes[m_at + i])) << (8 * i);
    m_at += static_cast<std::size_t>(bytes);
    return value;
}

std::string_view ByteReader::Bytes(std::size_t size) {
    if (!m_ok || Left() < size) {
        m_ok = false;
        return {};
    }
    const std::string_view out = m_bytes.substr(m_at, size);
    m_at += size;
    return out;
}

std::string ByteReader::Text() {
    const uint32_t size = U32();
    return std::string(Bytes(size));
}

uint32_t ByteReader::Count(std::size_t itemBytes) {
    const uint32_t count = U32();
    if (itemBytes > 0 && count > Left() / itemBytes) {
        m_ok = false;
        return 0;
    }
    return count;
}

}  // namespace velmora
