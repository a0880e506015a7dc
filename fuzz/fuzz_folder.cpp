#include "fuzz/fuzz_folder.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace velmora::fuzz {

namespace {

// Owns the folder; the static instance removes it at exit.
class Folder {
public:
    Folder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "velmora-fuzz-XXXXXX").string();
        // Without a folder no input could be checked; stop at once.
        if (::mkdtemp(pattern.data()) == nullptr)
            std::abort();
        m_path = pattern;
    }
    ~Folder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

}  // namespace

// Creates the folder on the first call.
std::string FuzzFile(const std::string& name) {
    static const Folder folder;
    return (folder.Path() / name).string();
}

}  // namespace velmora::fuzz
