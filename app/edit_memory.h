#pragma once

namespace velmora {

// Asks the C library to keep the memory a curve rebuild frees, so that the
// next rebuild reuses it. A rebuild of a large spline allocates tens of
// megabytes and frees them again; by default that memory goes back to the
// system each time, and faulting it in afresh costs a drag of the largest
// file about 40% of its time. Called once at start-up.
void KeepFreedMemoryForRebuilds();

// Gives the memory freed so far back to the system. Loading a large file
// parses it on a thread of its own, whose heap no later edit reuses, so its
// hundred-odd megabytes would otherwise stay with the process and add to
// every later peak (a save). Called once the load is done.
void ReturnFreedMemory();

}  // namespace velmora
