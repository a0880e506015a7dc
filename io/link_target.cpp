#include "io/link_target.h"

#include <cerrno>
#include <utility>
#include <vector>

#include <sys/stat.h>

namespace velmora {

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// As the system does: 40 links are followed, only a 41st is a loop.
LinkNames LinkChain(const std::string& path, const FileSystem& fs) {
    constexpr int kMaxLinks = 40;
    LinkNames chain;
    chain.names.push_back(path);
    for (int hops = 0;; ++hops) {
        const std::string current = chain.names.back();
        struct stat info {};
        if (fs.Lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return chain;  // the file itself, or nothing yet
        }
        if (hops == kMaxLinks) {
            static_cast<Status&>(chain) = CouldNot("follow the link", path, ELOOP);
            return chain;
        }
        std::vector<char> link(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 255) + 1);
        const ssize_t size = fs.ReadLink(current.c_str(), link.data(), link.size());
        if (size <= 0 || static_cast<std::size_t>(size) >= link.size()) {
            const int error = size < 0 ? errno : size == 0 ? ENOENT : ENAMETOOLONG;
            static_cast<Status&>(chain) = CouldNot("follow the link", path, error);
            return chain;
        }
        std::string next(link.data(), static_cast<std::size_t>(size));
        chain.names.push_back(next.front() == '/' ? next : FolderOf(current) + "/" + next);
    }
}

LinkTarget FollowLinks(const std::string& path, const FileSystem& fs) {
    LinkNames chain = LinkChain(path, fs);
    LinkTarget out;
    static_cast<Status&>(out) = static_cast<const Status&>(chain);
    out.path = std::move(chain.names.back());
    return out;
}

}  // namespace velmora
