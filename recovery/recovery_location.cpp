#include "recovery/recovery_location.h"

namespace velmora {

namespace {

// Relative paths are ignored, as the base-directory rules of the desktop ask.
bool IsAbsolute(const char* path) { return path != nullptr && path[0] == '/'; }

}  // namespace

std::string RecoveryFolder(const char* xdgStateHome, const char* home) {
    if (IsAbsolute(xdgStateHome))
        return std::string(xdgStateHome) + "/velmora/recovery";
    if (IsAbsolute(home))
        return std::string(home) + "/.local/state/velmora/recovery";
    return std::string();
}

}  // namespace velmora
