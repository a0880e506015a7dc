#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "io/disk/file_system.h"

namespace velmora::tool {

// Bytes written in chunks as they are produced, to a file through the file
// system, so that an output of any size needs no more memory than one chunk,
// or kept in memory. It has what RapidJSON's writer asks of an output
// stream (Ch, Put, Flush).
class OutputStream {
public:
    using Ch = char;

    OutputStream(const FileSystem& fs, const FileHandle& file) : m_fs(&fs), m_file(&file) {}
    // Appends everything to `memory`.
    explicit OutputStream(std::string* memory) : m_memory(memory) {}
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
    // Hands what is buffered to the file.
    void Flush();

    // Ok while every byte has arrived, else why the first failed write
    // failed; nothing more is written after one.
    const Status& Error() const { return m_error; }

private:
    const FileSystem* m_fs = nullptr;
    const FileHandle* m_file = nullptr;
    std::string* m_memory = nullptr;
    Status m_error;
    std::size_t m_used = 0;
    char m_buffer[64 * 1024];
};

}  // namespace velmora::tool
