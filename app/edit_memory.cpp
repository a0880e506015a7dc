#include "app/edit_memory.h"

#include <malloc.h>

namespace velmora {

void KeepFreedMemoryForRebuilds() {
    // Blocks up to 64 MiB (a curve of 2^22 samples takes 32 MiB) come from
    // the heap rather than from a mapping of their own, and up to 256 MiB of
    // free heap stays with the process. Failure only costs speed.
    mallopt(M_MMAP_THRESHOLD, 64 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
}

void ReturnFreedMemory() { malloc_trim(0); }

}  // namespace velmora
