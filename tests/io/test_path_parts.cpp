#include "io/disk/path_parts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velmora {
namespace {

struct PathRow {
    std::string path;
    std::string root;
    std::string folder;
};

// The watch walks a path from its root; a wrong root sends it to another
// folder altogether.
const std::vector<PathRow> kRows = {
    {"/notes/Splines.xml", "/", "/notes"},
    {"/Splines.xml", "/", "/"},
    {"notes/Splines.xml", "", "notes"},
    {"Splines.xml", "", "."},
#ifdef _WIN32
    {"C:\\Notes\\Splines.xml", "C:", "C:\\Notes"},
    {"C:/Notes/Splines.xml", "C:", "C:/Notes"},
    {"C:Splines.xml", "", "."},
    {"\\\\server\\share\\Notes\\Splines.xml", "\\\\server\\share", "\\\\server\\share\\Notes"},
    {"//server/share/Splines.xml", "//server/share", "//server/share"},
    {"\\\\server\\share", "\\\\server\\share", "\\\\server"},
    {"\\\\?\\C:\\Notes\\Splines.xml", "\\\\?\\C:", "\\\\?\\C:\\Notes"},
    {"\\\\?\\UNC\\server\\share\\Splines.xml", "\\\\?\\UNC\\server\\share",
     "\\\\?\\UNC\\server\\share"},
#endif
};

TEST(PathParts, RootAndFolderOfEveryForm) {
    for (const PathRow& row : kRows) {
        EXPECT_EQ(RootOf(row.path), row.root) << row.path;
        EXPECT_EQ(FolderOf(row.path), row.folder) << row.path;
    }
}

}  // namespace
}  // namespace velmora
