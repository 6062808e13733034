#pragma once
// Framing, parity, overrun and break errors seen through the driver's
// counters: the serial layer reports no such events of its own, so the link
// compares the counters while it reads. A driver without counters is
// watched silently: nothing is ever reported for it.
#include <optional>

#include "link/SerialPort.h"

namespace corvane {

class LineErrorWatch {
public:
    // Takes the counters as they are now as the reference.
    void Start(const SerialPort& port) { reference_ = port.LineErrorCounters(); }
    void Stop() { reference_.reset(); }

    // True when any counter rose since the reference; the new values become it.
    bool Rose(const SerialPort& port);

private:
    std::optional<LineErrorCounts> reference_;
};

}  // namespace corvane
