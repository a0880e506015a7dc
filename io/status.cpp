#include "io/status.h"

#include <cerrno>
#include <cstring>
#include <utility>

namespace velmora {

Status Failed(std::string reason, int error) {
    Status status;
    status.reason = std::move(reason);
    status.error = error;
    status.code = error != 0 ? SystemStatusCode(error) : StatusCode::kFailed;
    return status;
}

StatusCode SystemStatusCode(int error) {
    switch (error) {
    case 0: return StatusCode::kOk;
    case ENOENT: return StatusCode::kNotFound;
    case EEXIST: return StatusCode::kExists;
    case EACCES:
    case EPERM: return StatusCode::kNoAccess;
    case EROFS: return StatusCode::kReadOnly;
    case EWOULDBLOCK:  // EAGAIN too
    case EBUSY:
    case ETXTBSY: return StatusCode::kBusy;
#ifdef EDQUOT  // a quota: not every system has them
    case EDQUOT:
#endif
    case ENOSPC: return StatusCode::kNoSpace;
    case EOPNOTSUPP:  // ENOTSUP too
    case ENOSYS:
    case EXDEV: return StatusCode::kNotSupported;
    case EINTR: return StatusCode::kInterrupted;
    default: return StatusCode::kFailed;
    }
}

Status SystemFailure(int error) { return Failed(std::strerror(error), error); }

Status SystemFailure(int error, StatusCode code) {
    Status status = SystemFailure(error);
    status.code = code;
    return status;
}

Status CouldNot(const std::string& step, const std::string& path, int error) {
    return Failed("could not " + step + " \"" + path + "\": " + std::strerror(error), error);
}

Status CouldNot(const std::string& step, const std::string& path, const Status& why) {
    Status status = Failed("could not " + step + " \"" + path + "\": " + why.reason, why.error);
    status.code = why.code;
    return status;
}

}  // namespace velmora
