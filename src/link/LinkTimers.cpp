#include "link/LinkTimers.h"

#include <algorithm>

namespace corvane {

void LinkTimers::Start(LinkTimer timer, int intervalMs, int64_t nowMs) {
    slots_[Index(timer)] = Slot{true, intervalMs, nowMs + intervalMs};
}

void LinkTimers::Stop(LinkTimer timer) { slots_[Index(timer)].running = false; }

void LinkTimers::HoldOff(LinkTimer timer, int64_t nowMs) {
    Slot& slot = slots_[Index(timer)];
    if (slot.running) slot.dueMs = std::max(slot.dueMs, nowMs + slot.intervalMs);
}

bool LinkTimers::Running(LinkTimer timer) const { return slots_[Index(timer)].running; }

std::optional<LinkTimer> LinkTimers::TakeDue(int64_t nowMs) {
    std::optional<std::size_t> earliest;
    for (std::size_t i = 0; i < slots_.size(); ++i) {
        const Slot& slot = slots_[i];
        if (!slot.running || slot.dueMs > nowMs) continue;
        if (!earliest || slot.dueMs < slots_[*earliest].dueMs) earliest = i;
    }
    if (!earliest) return std::nullopt;
    Slot& slot = slots_[*earliest];
    // On time, the rhythm holds; late, the next tick is a whole interval away
    // from this one, so a late tick delays the rest instead of catching up.
    slot.dueMs = (slot.dueMs < nowMs ? nowMs : slot.dueMs) + slot.intervalMs;
    return static_cast<LinkTimer>(*earliest);
}

std::optional<int64_t> LinkTimers::NextDue() const {
    std::optional<int64_t> next;
    for (const Slot& slot : slots_) {
        if (slot.running && (!next || slot.dueMs < *next)) next = slot.dueMs;
    }
    return next;
}

}  // namespace corvane
