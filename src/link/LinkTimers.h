#pragma once
// The four millisecond timers of the link, on whatever clock the engine
// runs. A timer that is serviced late fires once and its next tick follows a
// whole interval later: missed ticks are skipped, never bunched, and two
// ticks are never closer than the interval.
#include <array>
#include <cstdint>
#include <optional>

namespace corvane {

enum class LinkTimer { Timer1, Timer2, Timer3, Timer4 };

constexpr int kWritePacerMs = 25;     // Timer1
constexpr int kReceiveTickMs = 10;    // Timer2
constexpr int kDetectionTickMs = 20;  // Timer3
constexpr int kHandshakeTickMs = 10;  // Timer4

class LinkTimers {
public:
    // (Re)starts the timer; its first tick is one interval after nowMs.
    void Start(LinkTimer timer, int intervalMs, int64_t nowMs);
    void Stop(LinkTimer timer);
    // The next tick comes no sooner than one interval after nowMs (the time
    // the tick's work was done, which may be later than the tick itself).
    void HoldOff(LinkTimer timer, int64_t nowMs);
    bool Running(LinkTimer timer) const;

    // The running timer that is due at nowMs (earliest first), its next
    // tick already scheduled; nullopt when none is due.
    std::optional<LinkTimer> TakeDue(int64_t nowMs);
    // The earliest tick of any running timer.
    std::optional<int64_t> NextDue() const;

private:
    struct Slot {
        bool running = false;
        int intervalMs = 0;
        int64_t dueMs = 0;
    };
    static constexpr std::size_t Index(LinkTimer timer) { return static_cast<std::size_t>(timer); }
    std::array<Slot, 4> slots_{};
};

}  // namespace corvane
