#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/win32/win32_api.h"

namespace velmora::win32 {

// The Windows file calls the file layer makes, in the terms it needs: paths
// are UTF-8 (as everywhere in the program) and reach the system as UTF-16 in
// their extended form, so neither the 260-character limit nor the current
// folder applies; the result of a call is a Win32 error code, 0 for success.

// UTF-16 of UTF-8 `text`; false when `text` is not UTF-8.
bool WideFromUtf8(std::string_view text, std::wstring& wide);
std::string Utf8FromWide(std::wstring_view wide);

// `path` made absolute (against the current folder), with "\" for "/", "."
// and ".." resolved, in the extended form "\\?\C:\..." or
// "\\?\UNC\server\share\..."; empty when it cannot be made (not UTF-8, a NUL,
// a name the system refuses).
std::wstring ExtendedPath(const std::string& path);

// Whether two names of the same folder name one file, as Windows compares
// them: case aside (Splines.xml is splines.xml).
bool SameName(std::string_view a, std::string_view b);

// Virus scanners, search indexers and sync clients open a fresh file for a
// moment, and an open or rename fails meanwhile with a sharing violation
// or "access denied". Runs `attempt` again after such a failure, waiting
// 10 ms, then twice as long each time (at most 500 ms), until about 2 s have
// passed; any other error, or success, ends it at once. `sleep` waits the
// milliseconds given (a test's clock need not).
using Sleep = std::function<void(uint32_t milliseconds)>;
uint32_t Retrying(const std::function<uint32_t()>& attempt, const Sleep& sleep);
constexpr uint32_t kRetryBudgetMs = 2000;

// Whether `error` is one that Retrying tries again: another program holds
// the file.
bool HeldByAnotherProgram(uint32_t error);

// Opens `path` sharing reading, writing and deleting with every other
// program, so that the editor never blocks one. INVALID_HANDLE_VALUE and
// `error` set on failure.
HANDLE OpenShared(const std::string& path, DWORD access, DWORD disposition, DWORD attributes,
                  uint32_t& error);

// Puts the file at `from` in the place of `to` in one step, replacing it:
// the rename of POSIX semantics where the system offers it (the old file's
// open handles keep the old file), else MoveFileEx with write-through.
uint32_t Replace(const std::string& from, const std::string& to);

// Whether another program has `path` open for writing: an open that shares
// reading but not writing fails while a writer has it. 0 no, 1 yes, -1 the
// question cannot be answered (the file is gone, no rights), `error` set.
int HeldForWriting(const std::string& path, uint32_t& error);

// What tells one version of a file from another without reading it.
struct Identity {
    uint32_t volume = 0;
    uint64_t index = 0;
    uint64_t size = 0;
    uint64_t lastWrite = 0;  // FILETIME, 100 ns since 1601
    bool readOnly = false;
    bool operator==(const Identity& other) const {
        return volume == other.volume && index == other.index && size == other.size &&
               lastWrite == other.lastWrite;
    }
};
uint32_t IdentityOf(const std::string& path, Identity& identity);

// Keeps the file `from` also as `to`, a name that must not exist: a hard
// link where the file system has them, else a copy (FAT, some shares).
uint32_t LinkOrCopy(const std::string& from, const std::string& to);

}  // namespace velmora::win32
