#pragma once

#include <cstddef>
#include <string_view>

namespace velmora::tool {

// Bytes written to a file descriptor in chunks as they are produced, so that
// an output of any size needs no more memory than one chunk. It has what
// RapidJSON's writer asks of an output stream (Ch, Put, Flush).
class OutputStream {
public:
    using Ch = char;

    explicit OutputStream(int fd) : m_fd(fd) {}
    OutputStream(const OutputStream&) = delete;
    OutputStream& operator=(const OutputStream&) = delete;

    void Put(char c) {
        if (m_used == sizeof m_buffer)
            Flush();
        m_buffer[m_used++] = c;
    }
    void Write(std::string_view bytes);
    // Writes `value` in decimal.
    void WriteInt(long long value);
    // Hands what is buffered to the descriptor.
    void Flush();

    // 0 while every byte has arrived, else the errno of the first failed
    // write; nothing more is written after one.
    int Error() const { return m_error; }

private:
    int m_fd;
    int m_error = 0;
    std::size_t m_used = 0;
    char m_buffer[64 * 1024];
};

}  // namespace velmora::tool
