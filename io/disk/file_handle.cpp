#include "io/disk/file_handle.h"

#include "io/disk/file_system.h"

namespace velmora {

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
    if (this != &other) {
        CloseQuietly();
        m_fs = other.m_fs;
        m_native = other.Release();
    }
    return *this;
}

FileHandle::~FileHandle() { CloseQuietly(); }

// A failure to close is told only to those who close explicitly.
void FileHandle::CloseQuietly() {
    if (IsOpen() && m_fs != nullptr) {
        m_fs->Close(*this);
    }
}

}  // namespace velmora
