#include "io/disk/link_target.h"

#include <cerrno>
#include <utility>
#include <vector>

#include "io/disk/path_parts.h"

namespace velmora {

// As the system does: 40 links are followed, only a 41st is a loop.
LinkNames LinkChain(const std::string& path, const FileSystem& fs) {
    constexpr int kMaxLinks = 40;
    LinkNames chain;
    chain.names.push_back(path);
    for (int hops = 0;; ++hops) {
        const std::string current = chain.names.back();
        FileInfo info;
        if (!fs.Inspect(current, Links::kNoFollow, &info).ok() || info.kind != FileKind::kLink) {
            return chain;  // the file itself, or nothing yet
        }
        if (hops == kMaxLinks) {
            chain.status = CouldNot("follow the link", path, ELOOP);
            return chain;
        }
        std::string next;
        if (const Status read = fs.ReadLink(current, &next); !read.ok()) {
            chain.status = CouldNot("follow the link", path, read);
            return chain;
        }
        chain.names.push_back(!RootOf(next).empty() ? next : FolderOf(current) + "/" + next);
    }
}

namespace {

// The steps of `path` (split at '/'), appended last step first, so that
// the next step to take is at the back.
void PushSteps(const std::string& path, std::vector<std::string>& steps) {
    std::size_t end = path.size();
    for (;;) {
        const std::size_t slash =
            end == 0 ? std::string::npos : path.find_last_of(kPathSeparators, end - 1);
        const std::size_t begin = slash == std::string::npos ? 0 : slash + 1;
        if (end > begin) {
            steps.push_back(path.substr(begin, end - begin));
        }
        if (slash == std::string::npos) {
            return;
        }
        end = slash;
    }
}

std::string Join(const std::string& folder, const std::string& name) {
    return folder == "/" ? "/" + name : folder + "/" + name;
}

}  // namespace

// Walks the path one step at a time as the system resolves it, so that a
// link in the middle of the path (a "current" folder link re-pointed at a
// new release) is found as well as one at its end.
PathPlaces PlacesOnPath(const std::string& path, const FileSystem& fs) {
    constexpr int kMaxLinks = 40;
    PathPlaces out;
    std::vector<std::string> steps;
    const std::string root = RootOf(path);
    PushSteps(root == "/" ? path : path.substr(root.size()), steps);
    std::string folder = root.empty() ? "/" : root;
    for (int links = 0; !steps.empty();) {
        const std::string step = steps.back();
        steps.pop_back();
        if (step == ".") {
            continue;
        }
        if (step == "..") {
            // Above a root is the root itself, as the system resolves it.
            if (folder != RootOf(folder + "/"))
                folder = FolderOf(folder);
            continue;
        }
        const std::string name = Join(folder, step);
        FileInfo info;
        const bool exists = fs.Inspect(name, Links::kNoFollow, &info).ok();
        if (exists && info.kind == FileKind::kLink && links < kMaxLinks) {
            ++links;
            out.places.push_back({folder, step, PathPlaces::Kind::kLink});
            std::string target;
            if (!fs.ReadLink(name, &target).ok()) {
                return out;
            }
            const std::string targetRoot = RootOf(target);
            PushSteps(targetRoot == "/" ? target : target.substr(targetRoot.size()), steps);
            if (!targetRoot.empty()) {
                folder = targetRoot;
            }
            continue;
        }
        if (steps.empty()) {
            out.places.push_back({folder, step, PathPlaces::Kind::kFile});
            out.fileFolderFound = true;
            return out;
        }
        if (!exists || info.kind != FileKind::kFolder) {
            out.places.push_back({folder, step, PathPlaces::Kind::kMissing});
            return out;
        }
        out.places.push_back({folder, step, PathPlaces::Kind::kFolder});
        folder = name;
    }
    return out;
}

LinkTarget FollowLinks(const std::string& path, const FileSystem& fs) {
    LinkNames chain = LinkChain(path, fs);
    LinkTarget out;
    out.status = chain.status;
    out.path = std::move(chain.names.back());
    return out;
}

}  // namespace velmora
