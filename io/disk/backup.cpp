#include "io/disk/backup.h"

#include <cerrno>
#include <functional>
#include <utility>
#include <vector>

#include "io/disk/file_steps.h"
#include "io/disk/link_target.h"
#include "io/disk/path_parts.h"
#include "io/disk/temp_file.h"

namespace velmora {

namespace {

constexpr long kNoBackupNumber = -1;
constexpr long kLastBackupNumber = 999999999;  // nine digits

// The number of the backup of `base` named `entry` (in the same folder), or
// kNoBackupNumber for any other name.
long NumberOf(const std::string& entry, const std::string& base) {
    if (entry == base) {
        return 0;
    }
    if (entry.size() <= base.size() + 1 || entry.size() > base.size() + 10 ||
        entry.compare(0, base.size(), base) != 0 || entry[base.size()] != '.' ||
        entry[base.size() + 1] == '0') {
        return kNoBackupNumber;
    }
    long n = 0;
    for (std::size_t i = base.size() + 1; i < entry.size(); ++i) {
        if (entry[i] < '0' || entry[i] > '9') {
            return kNoBackupNumber;
        }
        n = n * 10 + (entry[i] - '0');
    }
    return n;
}

// Drops the set-id bits and capabilities of the file open on `file`
// (information `info`) in place; false where it has some that cannot go
// that way.
bool DropPrivileges(const FileSystem& fs, const FileHandle& file, const FileInfo& info) {
    const bool setId = (info.permissions & kSpecialPermissions) != 0;
    const bool capabilities = CarriesCapabilities(fs, file);
    if (!setId && !capabilities) {
        return true;
    }
    if (info.links != 1) {
        return false;
    }
    if (capabilities && !fs.DropCapabilities(file).ok()) {
        return false;
    }
    return !setId || fs.SetPermissions(file, info.permissions & 0777u).ok();
}

// Gives the backup the first free name from the next number on: `place`
// names it, failing with kExists for a name taken meanwhile.
WriteOutcome PlaceFromNext(const FileSystem& fs, const std::string& base,
                           const std::function<Status(const std::string&)>& place) {
    std::string candidate = base;
    for (long n = NextBackupNumber(fs, base); n <= kLastBackupNumber; ++n) {
        candidate = BackupName(base, n);
        const Status placed = place(candidate);
        if (placed.code == StatusCode::kExists) {
            continue;
        }
        return WriteOutcome{
            placed.ok() ? Status{} : CouldNot("create", candidate, placed), candidate, {}};
    }
    return WriteOutcome{CouldNot("create", candidate, EEXIST), candidate, {}};
}

// The temporary files of a copy carry the name of the file the backups are
// of, so that the one clean-up pattern covers them too.
std::string FamilyOf(const std::string& base) {
    const std::string name = NameOf(base);
    const std::string ending = ".bak";
    if (name.size() > ending.size() &&
        name.compare(name.size() - ending.size(), ending.size(), ending) == 0) {
        return name.substr(0, name.size() - ending.size());
    }
    return name;
}

// Writes a copy into the folder of `base` and gives it the next backup name.
WriteOutcome CopyAsBackup(const FileSystem& fs, const Likeness& like, const Filler& fill,
                          const std::string& base) {
    const std::string folder = FolderOf(base);
    RemoveStaleTemporaries(fs, folder, FamilyOf(base));
    TempFile temp(fs, folder, FamilyOf(base));
    if (const Status opened = temp.Open(); !opened.ok()) {
        return WriteOutcome{CouldNot("create a temporary file next to", base, opened), {}, {}};
    }
    Status filled = FillNewFile(fs, temp.File(), like, fill, base);
    if (filled.ok() && !temp.Name().empty()) {
        if (const Status closed = temp.Close(); !closed.ok()) {
            filled = CouldNot("finish writing", base, closed);
        }
    }
    if (!filled.ok()) {
        return WriteOutcome{std::move(filled), {}, {}};
    }
    const bool named = !temp.Name().empty();
    WriteOutcome out = PlaceFromNext(fs, base, [&](const std::string& candidate) {
        return named ? LinkNew(fs, temp.Name(), candidate) : temp.NameUnnamed(candidate);
    });
    if (out.status.ok() && !named) {
        if (const Status closed = temp.Close(); !closed.ok()) {
            fs.Remove(out.path);
            return WriteOutcome{CouldNot("finish writing", out.path, closed), {}, {}};
        }
    }
    if (out.status.ok()) {
        FlushFolder(fs, folder);
    }
    return out;
}

}  // namespace

std::string BackupName(const std::string& base, long n) {
    return n == 0 ? base : base + "." + std::to_string(n);
}

long NextBackupNumber(const FileSystem& fs, const std::string& base) {
    long highest = kNoBackupNumber;
    std::vector<std::string> entries;
    if (fs.ListFolder(FolderOf(base), &entries).ok()) {
        const std::string name = NameOf(base);
        for (const std::string& entry : entries) {
            const long n = NumberOf(entry, name);
            highest = n > highest ? n : highest;
        }
    }
    return highest + 1;
}

WriteOutcome KeepBackup(const std::string& path, const std::string& base, const std::string* bytes,
                        const FileSystem& fs) {
    if (bytes != nullptr) {
        FileInfo info;
        const Likeness like =
            fs.Inspect(path, Links::kFollow, &info).ok() ? LikenessOf(info) : NewFileLikeness(fs);
        return CopyAsBackup(fs, like, TextFiller(fs, *bytes, base), base);
    }
    FileHandle in;
    if (const Status opened = fs.OpenForReading(path, Links::kFollow, &in); !opened.ok()) {
        return WriteOutcome{CouldNot("keep a copy of", path, opened), {}, {}};
    }
    FileInfo info;
    WriteOutcome out;
    if (const Status inspected = fs.InspectOpen(in, &info); !inspected.ok()) {
        out = WriteOutcome{CouldNot("inspect", path, inspected), {}, {}};
    } else if (info.kind != FileKind::kRegular) {
        out = WriteOutcome{
            Failed("could not keep a copy of \"" + path + "\": it is not a regular file"), {}, {}};
    } else {
        out = CopyAsBackup(fs, LikenessOf(info), StreamFiller(fs, in, path, base), base);
    }
    fs.Close(in);
    return out;
}

bool CarriesCapabilities(const FileSystem& fs, const FileHandle& file) {
    bool has = true;
    return !fs.HasCapabilities(file, &has).ok() || has;
}

// The file is another program's version already on disk, so it keeps its
// owner and group; only the set-id bits and capabilities go. Dropping them
// from a file with other names would change those too, so such a file is
// copied instead.
WriteOutcome KeepAside(const FileSystem& fs, const FileHandle& file, const std::string& aside,
                       const FileInfo& info, const std::string& base) {
    if (!aside.empty() && DropPrivileges(fs, file, info)) {
        WriteOutcome linked = PlaceFromNext(
            fs, base, [&](const std::string& candidate) { return LinkNew(fs, aside, candidate); });
        if (linked.status.ok()) {
            FlushFolder(fs, FolderOf(base));
            return linked;
        }
    }
    if (!file.IsOpen()) {
        return WriteOutcome{CouldNot("keep a copy of", base, EACCES), {}, {}};
    }
    return CopyAsBackup(fs, LikenessOf(info), StreamFiller(fs, file, base, base), base);
}

}  // namespace velmora
