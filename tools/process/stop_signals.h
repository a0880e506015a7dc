#pragma once

#include <signal.h>

namespace velmora::tool {

// SIGINT and SIGTERM as a descriptor to poll, so that a loop stops between
// two steps rather than in the middle of one. While it lives the signals are
// blocked in this thread; afterwards the mask is as it was.
class StopSignals {
public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // -1 when the descriptor could not be made (errno says why).
    int Fd() const { return m_fd; }
    // The stop signal that has arrived (SIGINT or SIGTERM), or 0; never
    // blocks.
    int Arrived() const;

private:
    int m_fd = -1;
    sigset_t m_previous{};
};
}  // namespace velmora::tool
