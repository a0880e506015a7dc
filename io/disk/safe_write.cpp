#include "io/disk/safe_write.h"

#include <cerrno>
#include <optional>
#include <utility>

#include "io/disk/backup.h"
#include "io/disk/file_identity.h"
#include "io/disk/file_steps.h"
#include "io/disk/link_target.h"
#include "io/disk/path_parts.h"

namespace velmora {

namespace {

WriteOutcome Refused(Status status, std::string backup = {}) {
    return WriteOutcome{std::move(status), {}, std::move(backup)};
}

WriteOutcome Refused(std::string reason, std::string backup = {}) {
    return Refused(Failed(std::move(reason)), std::move(backup));
}

WriteOutcome FailedTo(const std::string& step, const std::string& path, const Status& why) {
    return Refused(CouldNot(step, path, why));
}

WriteOutcome Written(const std::string& path) { return WriteOutcome{{}, path, {}}; }

std::string NoFileThere(const std::string& path, const FileInfo& info) {
    return NotAFileText("\"" + path + "\"", info.kind == FileKind::kFolder) +
           ", so nothing can be saved under that name";
}

// An output replaced whole has no versions worth keeping.
bool KeepNothing(const ReadOutcome&, const FileInfo&, bool) { return false; }

// After a failure, swaps the version looked at back into place. Whatever has
// the temporary name then is removed with it only if it is the new file:
// were it another program's version written meanwhile, it stays.
void SwapBack(const FileSystem& fs, TempFile& temp, const std::string& file, const FileInfo& ours) {
    FileInfo now;
    if (!fs.Exchange(temp.Name(), file).ok() ||
        !fs.Inspect(temp.Name(), Links::kNoFollow, &now).ok() || !SameFile(now, ours)) {
        temp.Release();
    }
}

// Whether another program has `file` open for writing; where the system
// cannot tell, nobody is taken to.
bool HeldByWriter(const FileSystem& fs, const FileHandle& file) {
    bool held = false;
    return file.IsOpen() && fs.HeldForWriting(file, &held).ok() && held;
}

// The version just swapped out now has the temporary name. It is locked at
// once (no clean-up of leftovers runs meanwhile: see LiveSaveMark); where
// the lock cannot be had its name cannot be trusted, and it is copied from
// the open handle instead. Whether a writer holds it is asked before it is
// read: once nobody does, its content can change no more, as its name is no
// longer the file's.
WriteOutcome LookAtSwappedOut(const FileSystem& fs, TempFile& temp, const std::string& file,
                              const FileInfo& ours, const std::string& base, const KeepTest& keep) {
    const std::string& aside = temp.Name();
    FileHandle swapped;
    const bool opened = fs.OpenForReading(aside, Links::kNoFollow, &swapped).ok();
    const bool locked = opened && LockTemporary(fs, swapped).ok();
    FileInfo info;
    const Status looked =
        opened ? fs.InspectOpen(swapped, &info) : fs.Inspect(aside, Links::kNoFollow, &info);
    const bool inspected = looked.ok();
    WriteOutcome out = Written(file);
    if (!inspected && looked.code == StatusCode::kNotFound) {
        // Another program removed it from its hidden name: as if it had
        // deleted the file right before the save, there is nothing to keep.
        temp.Release();
    } else if (!inspected) {
        out = FailedTo("inspect", aside, looked);
    } else if (info.kind != FileKind::kRegular) {
        out = Refused(NoFileThere(file, info));
    } else if (const bool held = HeldByWriter(fs, swapped);
               keep(ReadWholeFile(aside, fs), info, held)) {
        const WriteOutcome kept =
            KeepAside(fs, swapped, locked ? aside : std::string(), info, base);
        out = kept.status.ok() ? Written(file) : kept;
        out.backup = kept.status.ok() ? kept.path : std::string();
    }
    if (swapped.IsOpen()) {
        fs.Close(swapped);
    }
    if (!out.status.ok()) {
        SwapBack(fs, temp, file, ours);
    }
    return out;
}

// Puts the finished temporary file in place by exchange; none when the file
// system cannot exchange.
std::optional<WriteOutcome> SwapIn(const FileSystem& fs, TempFile& temp, const std::string& file,
                                   const FileInfo& ours, const std::string& base,
                                   const KeepTest& keep) {
    for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
        const Status swapped = fs.Exchange(temp.Name(), file);
        if (swapped.ok()) {
            return LookAtSwappedOut(fs, temp, file, ours, base, keep);
        }
        if (swapped.code != StatusCode::kNotFound) {
            if (swapped.code == StatusCode::kNotSupported) {
                return std::nullopt;
            }
            return FailedTo("replace", file, swapped);
        }
        // Nothing to swap with: the new file takes the free name without
        // replacing, so a file that appears meanwhile is swapped with instead.
        const Status placed = fs.RenameNew(temp.Name(), file);
        if (placed.ok()) {
            temp.Release();
            return Written(file);
        }
        if (placed.code != StatusCode::kExists) {
            return std::nullopt;
        }
    }
    return Refused("could not replace \"" + file + "\": another program keeps changing it");
}

// Keeps the version in place at `file` (status `info`, read as `version`)
// as the next backup of `base`. While another program holds it for writing
// it is given the backup's name as a second name, so that what it still
// writes lands in the backup after the rename; else it is copied. `linked`
// notes the file so linked.
WriteOutcome KeepInPlaceVersion(const FileSystem& fs, const std::string& file, const FileInfo& info,
                                const ReadOutcome& version, const FileHandle& handle, bool held,
                                const std::string& base, std::optional<FileInfo>& linked) {
    const bool read = version.found == ReadStatus::kRead;
    if (!held) {
        return KeepBackup(file, base, read ? &version.bytes : nullptr, fs);
    }
    // Set-id bits and capabilities are not dropped from the file in place:
    // should the rename fail, it must stay as it was.
    const bool plain =
        (info.permissions & kSpecialPermissions) == 0 && !CarriesCapabilities(fs, handle);
    WriteOutcome kept = KeepAside(fs, handle, plain ? file : std::string(), info, base);
    if (kept.status.ok() && plain) {
        linked = info;
    }
    return kept;
}

// Without the exchange: look, keep, and rename only while the file is still
// the version looked at.
WriteOutcome ReplaceLooking(const FileSystem& fs, TempFile& temp, const std::string& file,
                            const std::string& base, const KeepTest& keep) {
    std::string backup;
    std::optional<std::string> kept;  // seen again after a change that left its bytes
    std::optional<FileInfo> linked;   // kept under a second name: changes land there
    for (int look = 0; look < kMaxAttempts; ++look) {
        FileInfo before;
        const bool existed = fs.Inspect(file, Links::kNoFollow, &before).ok();
        if (existed && before.kind != FileKind::kRegular) {
            return Refused(NoFileThere(file, before), backup);
        }
        if (existed && !(linked && SameFile(*linked, before))) {
            FileHandle handle;
            fs.OpenForReading(file, Links::kNoFollow, &handle);
            const bool held = HeldByWriter(fs, handle);
            ReadOutcome version = ReadWholeFile(file, fs);
            const bool read = version.found == ReadStatus::kRead;
            // Bytes seen before may be only the start of a version still
            // being written.
            std::optional<WriteOutcome> copy;
            if ((held || !(read && kept == version.bytes)) && keep(version, before, held)) {
                copy = KeepInPlaceVersion(fs, file, before, version, handle, held, base, linked);
            }
            if (handle.IsOpen()) {
                fs.Close(handle);
            }
            if (copy && !copy->status.ok()) {
                copy->backup = backup;
                return *copy;
            }
            if (copy) {
                backup = copy->path;
                kept = read ? std::optional<std::string>(std::move(version.bytes)) : std::nullopt;
            }
        }
        FileInfo now;
        const bool exists = fs.Inspect(file, Links::kNoFollow, &now).ok();
        const bool sameFile =
            exists && (linked && SameFile(*linked, now) ? SameFile(now, before)
                                                        : IdentityOf(now) == IdentityOf(before));
        if (exists != existed || (exists && !sameFile)) {
            continue;
        }
        if (const Status renamed = fs.Rename(temp.Name(), file); !renamed.ok()) {
            return Refused(CouldNot("replace", file, renamed), backup);
        }
        temp.Release();  // that name is gone with the rename
        WriteOutcome out = Written(file);
        out.backup = backup;
        return out;
    }
    return Refused("could not replace \"" + file + "\": another program keeps changing it", backup);
}

}  // namespace

// A file with no write bit at all is refused even where the caller's rights
// would let it through (root): someone made it read-only on purpose.
WriteOutcome CheckReplaceable(const std::string& path, const FileSystem& fs) {
    const LinkTarget target = FollowLinks(path, fs);
    if (!target.status.ok()) {
        return Refused(target.status);
    }
    WriteOutcome out = Written(target.path);
    FileInfo info;
    if (const Status found = fs.Inspect(target.path, Links::kFollow, &info); !found.ok()) {
        if (found.code != StatusCode::kNotFound) {
            out = FailedTo("inspect", target.path, found);
        }
    } else if (info.kind != FileKind::kRegular) {
        out = Refused(NoFileThere(target.path, info));
    } else if ((info.permissions & 0222u) == 0) {
        out = Refused(CouldNot("write", target.path, EACCES));
    } else if (const Status may = fs.MayWrite(target.path); !may.ok()) {
        out = FailedTo("write", target.path, may);
    }
    out.path = target.path;
    return out;
}

WriteOutcome ReplaceFile(const std::string& path, const std::string& text, const FileSystem& fs) {
    const WriteOutcome check = CheckReplaceable(path, fs);
    if (!check.status.ok()) {
        return check;
    }
    return ReplaceKeeping(check.path, text, {}, KeepNothing, fs);
}

namespace {

// The temporary file gets a name before it is closed: the exchange and the
// rename need one, and an unnamed file can be named only while open.
WriteOutcome ReplaceKeepingWith(const std::string& file, const Filler& fill,
                                const std::string& backupBase, const KeepTest& keep,
                                const FileSystem& fs) {
    const std::string folder = FolderOf(file);
    RemoveStaleTemporaries(fs, folder, NameOf(file));
    const LiveSaveMark live(fs, folder);  // outlives `temp`, and the version it swaps out
    FileInfo info;
    const Likeness like =
        fs.Inspect(file, Links::kFollow, &info).ok() ? LikenessOf(info) : NewFileLikeness(fs);
    TempFile temp(fs, folder, NameOf(file));
    if (const Status opened = temp.Open(); !opened.ok()) {
        return FailedTo("create a temporary file next to", file, opened);
    }
    if (Status filled = FillNewFile(fs, temp.File(), like, fill, file); !filled.ok()) {
        return Refused(std::move(filled));
    }
    if (const Status named = temp.GiveHiddenName(); !named.ok()) {
        return FailedTo("name the temporary file for", file, named);
    }
    FileInfo ours;
    if (const Status inspected = fs.InspectOpen(temp.File(), &ours); !inspected.ok()) {
        return FailedTo("inspect", temp.Name(), inspected);
    }
    if (const Status closed = temp.Close(); !closed.ok()) {
        return FailedTo("finish writing", file, closed);
    }
    std::optional<WriteOutcome> out = SwapIn(fs, temp, file, ours, backupBase, keep);
    if (!out) {
        out = ReplaceLooking(fs, temp, file, backupBase, keep);
    }
    if (out->status.ok()) {
        FlushFolder(fs, folder);
    }
    return *out;
}

}  // namespace

WriteOutcome ReplaceKeeping(const std::string& file, const std::string& text,
                            const std::string& backupBase, const KeepTest& keep,
                            const FileSystem& fs) {
    return ReplaceKeepingWith(file, TextFiller(fs, text, file), backupBase, keep, fs);
}

WriteOutcome ReplaceFileWith(const std::string& path, const Filler& write, const FileSystem& fs) {
    const WriteOutcome check = CheckReplaceable(path, fs);
    if (!check.status.ok()) {
        return check;
    }
    return ReplaceKeepingWith(check.path, write, {}, KeepNothing, fs);
}

}  // namespace velmora
