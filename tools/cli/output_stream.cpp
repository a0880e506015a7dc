#include "tools/cli/output_stream.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>

namespace velmora::tool {

void OutputStream::Write(std::string_view bytes) {
    while (!bytes.empty()) {
        if (m_used == sizeof m_buffer)
            Flush();
        const std::size_t n = std::min(bytes.size(), sizeof m_buffer - m_used);
        std::memcpy(m_buffer + m_used, bytes.data(), n);
        m_used += n;
        bytes.remove_prefix(n);
    }
}

void OutputStream::WriteInt(long long value) {
    char digits[24];
    const std::to_chars_result end = std::to_chars(digits, digits + sizeof digits, value);
    Write(std::string_view(digits, static_cast<std::size_t>(end.ptr - digits)));
}

// Resumes after short writes and interruptions; a write that makes no
// progress without an error counts as an I/O error rather than a spin.
void OutputStream::Flush() {
    const char* data = m_buffer;
    std::size_t left = m_error.ok() ? m_used : 0;
    m_used = 0;
    if (m_memory != nullptr) {
        m_memory->append(data, left);
        return;
    }
    while (left > 0) {
        std::size_t done = 0;
        const Status written = m_fs->Write(*m_file, data, left, &done);
        if (written.code == StatusCode::kInterrupted)
            continue;
        if (!written.ok() || done == 0) {
            m_error = written.ok() ? SystemFailure(EIO) : written;
            return;
        }
        data += done;
        left -= done;
    }
}

}  // namespace velmora::tool
