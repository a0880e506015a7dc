#include "io_test_util.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace velmora::test {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "velmora-io-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    m_path = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(m_path, ignored);
}

std::string TempDir::Listing() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(m_path)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    std::string out;
    for (const auto& name : names) {
        out += name + ";";
    }
    return out;
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return "<missing>";
    }
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string DataFile(const std::string& name) {
    return ReadBytes(std::string(VELMORA_TEST_DATA) + "/io/" + name);
}

NoteSet DefaultNotes(const Rect& client) {
    NoteSet notes;
    for (int n = 0; n < kNoteCount; ++n) {
        notes[static_cast<std::size_t>(n)] = {DefaultSpline(client, kDesignTargets[static_cast<std::size_t>(n)])};
    }
    return notes;
}

NoteSet MarkedNotes() {
    NoteSet notes;
    for (int n = 0; n < kNoteCount; ++n) {
        notes[static_cast<std::size_t>(n)] = {{Point{n, -n}}};
    }
    return notes;
}

}  // namespace velmora::test
