#pragma once
// Milliseconds since an arbitrary start, monotonic. The Qt driver reads a
// QElapsedTimer; tests advance a simulated clock by hand.
#include <cstdint>

namespace corvane {

class LinkClock {
public:
    virtual ~LinkClock() = default;
    virtual int64_t NowMs() const = 0;
};

// A clock that only moves when told to.
class ManualClock : public LinkClock {
public:
    int64_t NowMs() const override { return now_; }
    void Set(int64_t nowMs) { now_ = nowMs; }
    void Advance(int64_t ms) { now_ += ms; }

private:
    int64_t now_ = 0;
};

}  // namespace corvane
