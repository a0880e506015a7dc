#include "io/disk/temp_file.h"

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <thread>
#include <utility>
#include <vector>

#include "io/disk/file_identity.h"
#include "io/disk/file_steps.h"

namespace velmora {

namespace {

constexpr char kTempEnding[] = ".velmora-save";
constexpr std::size_t kRandomLetters = 6;
constexpr std::size_t kNameMax = 255;  // bytes of one folder entry, as on every Linux file system
// ".", ".", the letters and the ending around the name's part.
constexpr std::size_t kFamilyMax = kNameMax - 2 - kRandomLetters - (sizeof kTempEnding - 1);
constexpr std::size_t kDigestLetters = 8;

bool IsLetterOrDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// The part of hidden names that stands for `name`: the name itself, or,
// when that is too long, its first bytes and a digest of all of it, so that
// two long names alike at the start still get temporaries of their own.
std::string FamilyOf(const std::string& name) {
    if (name.size() <= kFamilyMax) {
        return name;
    }
    std::uint32_t digest = 2166136261u;  // FNV-1a
    for (const char c : name) {
        digest = (digest ^ static_cast<unsigned char>(c)) * 16777619u;
    }
    static const char kHex[] = "0123456789abcdef";
    std::string out = name.substr(0, kFamilyMax - 1 - kDigestLetters) + "~";
    for (int shift = 28; shift >= 0; shift -= 4) {
        out += kHex[(digest >> shift) & 0xF];
    }
    return out;
}

// Letters and digits from the system's random source; the clock stands in
// when that fails, the name is still checked for being free.
std::string RandomLetters(const FileSystem& fs) {
    static const char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    unsigned char raw[kRandomLetters] = {};
    if (!fs.RandomBytes(raw, sizeof raw).ok()) {
        auto seed = static_cast<unsigned long long>(
            std::chrono::steady_clock::now().time_since_epoch().count());
        for (unsigned char& r : raw) {
            r = static_cast<unsigned char>(seed >> 33);
            seed = seed * 6364136223846793005ull + 1442695040888963407ull;
        }
    }
    std::string letters;
    for (const unsigned char r : raw) {
        letters += kAlphabet[r % (sizeof kAlphabet - 1)];
    }
    return letters;
}

}  // namespace

bool IsTemporaryOf(const std::string& entry, const std::string& name) {
    const std::string head = "." + FamilyOf(name) + ".";
    const std::size_t tail = sizeof kTempEnding - 1;
    if (entry.size() != head.size() + kRandomLetters + tail ||
        entry.compare(0, head.size(), head) != 0 ||
        entry.compare(head.size() + kRandomLetters, tail, kTempEnding) != 0) {
        return false;
    }
    for (std::size_t i = head.size(); i < head.size() + kRandomLetters; ++i) {
        if (!IsLetterOrDigit(entry[i])) {
            return false;
        }
    }
    return true;
}

// The system drops a lock when its process ends, however it ends, so a
// temporary file that can be locked at once belongs to a save that was
// killed half-way, unless a live save holds the folder.
void RemoveStaleTemporaries(const FileSystem& fs, const std::string& folder,
                            const std::string& name) {
    FileHandle held;
    if (!fs.OpenFolder(folder, &held).ok()) {
        return;
    }
    std::vector<std::string> entries;
    if (!fs.Lock(held, LockKind::kExclusive).ok() || !fs.ListFolder(folder, &entries).ok()) {
        fs.Close(held);
        return;
    }
    for (const std::string& entry : entries) {
        if (!IsTemporaryOf(entry, name)) {
            continue;
        }
        const std::string temp = folder + "/" + entry;
        FileHandle file;
        if (!fs.OpenForReading(temp, Links::kNoFollow, &file).ok()) {
            continue;
        }
        FileInfo info;
        if (fs.InspectOpen(file, &info).ok() && info.kind == FileKind::kRegular &&
            fs.Lock(file, LockKind::kExclusive).ok()) {
            fs.Remove(temp);
        }
        fs.Close(file);
    }
    fs.Close(held);  // the folder's lock goes with it
}

// A clean-up holds the folder only for as long as it reads it, so a save
// waits for it briefly; one that never lets go (another program's lock)
// keeps every clean-up out as well, and the save goes on without the mark.
LiveSaveMark::LiveSaveMark(const FileSystem& fs, const std::string& folder) : m_fs(fs) {
    if (!fs.OpenFolder(folder, &m_folder).ok()) {
        return;
    }
    constexpr int kTries = 1000;
    for (int attempt = 0; attempt < kTries; ++attempt) {
        const Status locked = fs.Lock(m_folder, LockKind::kShared);
        if (locked.ok() ||
            (locked.code != StatusCode::kBusy && locked.code != StatusCode::kInterrupted)) {
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

LiveSaveMark::~LiveSaveMark() {
    if (m_folder.IsOpen()) {
        m_fs.Close(m_folder);
    }
}

TempFile::TempFile(const FileSystem& fs, std::string folder, std::string name)
    : m_fs(fs), m_folder(std::move(folder)), m_family(FamilyOf(name)) {}

TempFile::~TempFile() {
    if (m_file.IsOpen()) {
        m_fs.Close(m_file);
    }
    if (!m_name.empty()) {
        m_fs.Remove(m_name);
    }
    if (m_lock.IsOpen()) {
        m_fs.Close(m_lock);
    }
}

Status LockTemporary(const FileSystem& fs, const FileHandle& file) {
    Status locked;
    do {
        locked = fs.Lock(file, LockKind::kExclusive);
    } while (locked.code == StatusCode::kInterrupted);
    if (!locked.ok() && locked.code != StatusCode::kNotSupported) {
        return locked;
    }
    return {};
}

// The lock is held on a handle of its own, for reading only where the
// system gives one: it outlasts Close(), and once the file is in place a
// program that asks whether anybody still writes it must hear no.
Status TempFile::Lock() {
    if (Status reopened = m_fs.Reopen(m_file, &m_lock); !reopened.ok()) {
        return reopened;
    }
    return LockTemporary(m_fs, m_lock);
}

// A named file can be taken by another save's clean-up between its
// creation and the lock; then it is left to that clean-up and a new name
// tried.
Status TempFile::Open() {
    if (m_fs.CreateUnnamed(m_folder, &m_file).ok()) {
        return Lock();
    }
    for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
        const std::string name = FreshName();
        if (const Status created = m_fs.CreateNew(name, 0600, &m_file); !created.ok()) {
            if (created.code == StatusCode::kExists) {
                continue;
            }
            return created;
        }
        Status locked = Lock();
        FileInfo opened;
        FileInfo named;
        if (locked.ok() && m_fs.InspectOpen(m_file, &opened).ok() &&
            m_fs.Inspect(name, Links::kNoFollow, &named).ok() && SameFile(opened, named)) {
            m_name = name;
            return {};
        }
        m_fs.Close(m_file);
        if (m_lock.IsOpen()) {
            m_fs.Close(m_lock);
        }
        if (!locked.ok() && locked.code != StatusCode::kBusy) {
            m_fs.Remove(name);
            return locked;
        }
    }
    return SystemFailure(EEXIST);
}

std::string TempFile::FreshName() const {
    return m_folder + "/." + m_family + "." + RandomLetters(m_fs) + kTempEnding;
}

Status TempFile::GiveHiddenName() {
    for (int attempt = 1; m_name.empty(); ++attempt) {
        const std::string name = FreshName();
        if (Status named = NameUnnamed(name); !named.ok()) {
            if (named.code != StatusCode::kExists || attempt == kMaxAttempts) {
                return named;
            }
            continue;
        }
        m_name = name;
    }
    return {};
}

Status TempFile::NameUnnamed(const std::string& path) { return m_fs.NameUnnamed(m_file, path); }

// The file is closed even when closing fails.
Status TempFile::Close() { return m_fs.Close(m_file); }

}  // namespace velmora
