#pragma once

#include <cstdint>

namespace velmora {

class FileSystem;

// A file or folder held open through a FileSystem. It closes itself through
// that file system when it goes; FileSystem::Close closes it earlier and
// tells whether that worked. Moves, never copies.
class FileHandle {
public:
    FileHandle() = default;
    FileHandle(const FileSystem& fs, std::intptr_t native) : m_fs(&fs), m_native(native) {}
    FileHandle(FileHandle&& other) noexcept : m_fs(other.m_fs), m_native(other.Release()) {}
    FileHandle& operator=(FileHandle&& other) noexcept;
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle();
    // A handle this program did not open and never closes (a standard stream).
    static FileHandle Borrowed(std::intptr_t native) {
        FileHandle handle;
        handle.m_native = native;
        return handle;
    }

    bool IsOpen() const { return m_native != kNone; }
    // The system's own handle, for the file system that made it.
    std::intptr_t Native() const { return m_native; }
    // Lets go of the system's handle without closing it.
    std::intptr_t Release() {
        const std::intptr_t native = m_native;
        m_native = kNone;
        return native;
    }

    static constexpr std::intptr_t kNone = -1;

private:
    void CloseQuietly();

    const FileSystem* m_fs = nullptr;
    std::intptr_t m_native = kNone;
};

}  // namespace velmora
