#include "io/status.h"

#include <cstring>
#include <utility>

namespace velmora {

Status Failed(std::string reason, int error) {
    Status status;
    status.ok = false;
    status.reason = std::move(reason);
    status.error = error;
    return status;
}

Status SystemFailure(int error) { return Failed(std::strerror(error), error); }

Status CouldNot(const std::string& step, const std::string& path, int error) {
    return Failed("could not " + step + " \"" + path + "\": " + std::strerror(error), error);
}

}  // namespace velmora
