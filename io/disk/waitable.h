#pragma once

#include <cstdint>

namespace velmora {

// Something a program can wait on until it is ready: a descriptor that
// becomes readable, or a handle that becomes signalled. It is owned by
// whatever gave it out.
struct Waitable {
    std::intptr_t native = -1;
    bool Valid() const { return native != -1; }
};

}  // namespace velmora
