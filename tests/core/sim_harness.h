#pragma once
// The simulated radio in-process, on the cable's other end from a
// LinkEngine, both on one manual clock: whole transfers in milliseconds.
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "RadioMemory.h"
#include "RadioSim.h"
#include "SimLog.h"
#include "SimOptions.h"
#include "link/LinkEngine.h"

namespace corvane::simtest {

using RadioClock = sim::RadioSim::Clock;

inline RadioClock::time_point At(int64_t ms) { return RadioClock::time_point(std::chrono::milliseconds(ms)); }

// The programmer's end of the cable: what the engine writes reaches the
// radio at once; what the radio sends waits for the bench to deliver it.
class SimCable : public SerialPort {
public:
    SimCable(const LinkClock& clock, sim::RadioSim*& radio) : clock_(clock), radio_(radio) {}

    Status Open(const std::string&) override {
        open_ = true;
        return Status::Ok();
    }
    void Close() override { open_ = false; }
    bool IsOpen() const override { return open_; }
    Status Write(std::span<const uint8_t> bytes) override {
        if (!open_) return Status::Error("the port is closed");
        radio_->OnBytes(bytes, At(clock_.NowMs()));
        return Status::Ok();
    }
    std::size_t BytesToWrite() const override { return 0; }
    void DiscardBuffers() override {}

private:
    const LinkClock& clock_;
    sim::RadioSim*& radio_;
    bool open_ = false;
};

// Owns the clock, the radio and the cable; the engine (and whatever else
// runs on the clock) is stepped by Run from deadline to deadline.
class SimBench {
public:
    explicit SimBench(sim::SimOptions options)
        : options_(std::move(options)),
          memory_(options_.units > 0 ? std::string() : options_.memoryFile),
          log_(std::string()),
          radio_(std::make_unique<sim::RadioSim>(options_, memory_, log_,
                                                 [this](std::span<const uint8_t> bytes) {
                                                     toProgrammer_.insert(toProgrammer_.end(), bytes.begin(), bytes.end());
                                                 })),
          radioPtr_(radio_.get()),
          port(clock, radioPtr_) {}

    const sim::RadioSim& radio() const { return *radio_; }
    const MemoryImage& memory() const { return memory_.image(); }

    // Steps until done() holds or limitMs pass; true when it held. other
    // runs beside the engine with its own deadline (nullopt: none).
    bool Run(LinkEngine& engine, const std::function<bool()>& done, int64_t limitMs,
             const std::function<std::optional<int64_t>()>& otherDeadline = {},
             const std::function<void()>& serviceOther = {}) {
        const int64_t end = clock.NowMs() + limitMs;
        while (!done() && clock.NowMs() < end) {
            int64_t next = clock.NowMs() + kLongestStepMs;
            const auto earliest = [&next](std::optional<int64_t> due) {
                if (due && *due < next) next = *due;
            };
            earliest(engine.NextDeadline());
            if (otherDeadline) earliest(otherDeadline());
            if (const auto due = radio_->NextDeadline()) {
                earliest(std::chrono::ceil<std::chrono::milliseconds>(due->time_since_epoch()).count());
            }
            clock.Set(std::max(next, clock.NowMs() + 1));
            const int64_t now = clock.NowMs();
            radio_->OnTick(At(now));
            if (!toProgrammer_.empty()) {
                const std::vector<uint8_t> bytes = std::move(toProgrammer_);
                toProgrammer_.clear();
                engine.OnBytesReceived(bytes);
            }
            if (const auto due = engine.NextDeadline(); due && *due <= now) engine.Service();
            if (otherDeadline && serviceOther) {
                if (const auto due = otherDeadline(); due && *due <= now) serviceOther();
            }
        }
        return done();
    }

    ManualClock clock;

private:
    static constexpr int64_t kLongestStepMs = 10;

    sim::SimOptions options_;
    sim::RadioMemory memory_;
    sim::SimLog log_;
    std::vector<uint8_t> toProgrammer_;
    std::unique_ptr<sim::RadioSim> radio_;
    sim::RadioSim* radioPtr_;

public:
    SimCable port;
};

}  // namespace corvane::simtest
