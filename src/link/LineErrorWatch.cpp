#include "link/LineErrorWatch.h"

namespace corvane {

bool LineErrorWatch::Rose(const SerialPort& port) {
    const std::optional<LineErrorCounts> now = port.LineErrorCounters();
    if (!now) return false;
    if (!reference_) {
        // Counters that only appear now (the port was re-opened) start the watch.
        reference_ = now;
        return false;
    }
    const LineErrorCounts& was = *reference_;
    const bool rose = now->frame > was.frame || now->overrun > was.overrun || now->parity > was.parity ||
                      now->brk > was.brk || now->bufOverrun > was.bufOverrun;
    reference_ = now;
    return rose;
}

}  // namespace corvane
