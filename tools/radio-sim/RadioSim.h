#pragma once
// What the radio does with the bytes it receives: answers connection
// requests, takes an image after the write command and sends its memory after
// the read command. Time is passed in, output goes through a callback.
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <random>
#include <span>
#include <vector>

#include "FrameReader.h"
#include "RadioMemory.h"
#include "SimLog.h"
#include "SimOptions.h"

namespace corvane::sim {

class RadioSim {
public:
    using Clock = std::chrono::steady_clock;
    using Writer = std::function<void(std::span<const uint8_t>)>;

    RadioSim(const SimOptions& options, RadioMemory& memory, SimLog& log, Writer writer);

    void OnBytes(std::span<const uint8_t> bytes, Clock::time_point now);
    // Sends what is due and abandons a stalled write.
    void OnTick(Clock::time_point now);
    std::optional<Clock::time_point> NextDeadline() const;

    int completedTransfers() const { return completed_; }
    bool sending() const { return !outbox_.empty(); }
    // With --units: the radio on the line (1-based) and whether it is plugged in.
    std::size_t unit() const { return unit_; }
    bool plugged() const { return plugged_; }

private:
    struct Scheduled {
        Clock::time_point due;
        uint8_t byte;
        bool lastOfBurst;
    };

    void OnFrame(const Frame& frame, Clock::time_point now);
    void AnswerConnect(const Frame& request, Clock::time_point now);
    void StartBurst(Clock::time_point start);
    void CollectImageByte(uint8_t byte, Clock::time_point now);
    void WriteArrivals();
    void Schedule(std::span<const uint8_t> bytes, Clock::time_point due);
    // Radios in turn (--units).
    void StartUnit(std::size_t unit);
    void Unplug(const std::string& why);
    void HearWhileUnplugged(std::span<const uint8_t> bytes, Clock::time_point now);
    void SwapIfDue(Clock::time_point now);
    bool DropsNow() const;

    const SimOptions& options_;
    RadioMemory& memory_;
    SimLog& log_;
    Writer writer_;
    FrameReader frames_;
    std::deque<Scheduled> outbox_;
    std::mt19937 random_;

    bool collecting_ = false;
    std::vector<uint8_t> incoming_;
    std::vector<Clock::time_point> arrivals_;
    Clock::time_point lastIncoming_{};
    std::size_t burstSize_ = 0;
    int completed_ = 0;

    std::size_t unit_ = 0;
    bool plugged_ = true;
    bool unitWritten_ = false;
    std::optional<Clock::time_point> swapAt_;
};

}  // namespace corvane::sim
