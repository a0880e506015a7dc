#pragma once

#include <string>

#include "model/note_set.h"

namespace velmora::test {

// A fresh folder under the system temporary folder, removed with its
// content when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return m_path; }
    // `name` inside the folder.
    std::string File(const std::string& name) const { return m_path + "/" + name; }
    // Names of the entries in the folder, sorted.
    std::string Listing() const;

private:
    std::string m_path;
};

// The bytes of a file; "<missing>" when it cannot be read.
std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
// The text of a file in tests/data.
std::string DataFile(const std::string& name);

// The start-up note set for a client area: every note one default spline.
NoteSet DefaultNotes(const Rect& client);

// Notes that differ from anything a test file holds: note n is [(n, -n)].
NoteSet MarkedNotes();

constexpr Rect kClient480{0, 0, 480, 360};

}  // namespace velmora::test
