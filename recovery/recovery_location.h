#pragma once

#include <string>

namespace velmora {

// The folder of the recovery copies, given the environment's
// XDG_STATE_HOME and HOME (null when unset): XDG_STATE_HOME/velmora/recovery
// when it is an absolute path, else HOME/.local/state/velmora/recovery, and
// "" when HOME is not an absolute path either.
std::string RecoveryFolder(const char* xdgStateHome, const char* home);

}  // namespace velmora
