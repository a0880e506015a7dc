#pragma once

namespace velmora {

// Asks the C library to keep the memory a curve rebuild frees, so that the
// next rebuild reuses it. A rebuild of a large spline allocates tens of
// megabytes and frees them again; by default that memory goes back to the
// system each time, and faulting it in afresh costs a drag of the largest
// file about 40% of its time. Called once at start-up.
void KeepFreedMemoryForRebuilds();

}  // namespace velmora
