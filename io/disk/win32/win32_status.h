#pragma once

#include <cstdint>

#include "io/status.h"

namespace velmora::win32 {

// The failure a Win32 `error` is, told as on Linux: the StatusCode, the
// errno that the C interface passes on (ENOENT, EEXIST, EACCES, EBUSY,
// ENOSPC, ...) and, for the errors the file layer meets, the same words as
// Linux gives; "another program holds the file" for a sharing violation,
// and the system's own text for the rest. `code` overrides the kind, as a
// step that cannot be taken on this system is kNotSupported.
Status Win32Failure(uint32_t error);
Status Win32Failure(uint32_t error, StatusCode code);

}  // namespace velmora::win32
