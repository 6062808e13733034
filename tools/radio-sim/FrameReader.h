#pragma once
// Picks command frames (0x02, L, ..., 0x03 at index L) out of a byte stream.
#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

namespace corvane::sim {

using Frame = std::vector<uint8_t>;

constexpr uint8_t kFrameStart = 0x02;
constexpr uint8_t kFrameEnd = 0x03;

class FrameReader {
public:
    using Clock = std::chrono::steady_clock;

    // Feeds one byte; returns a frame when this byte completes one.
    // Bytes that cannot start or continue a frame go to strays().
    std::optional<Frame> Feed(uint8_t byte, Clock::time_point now);

    // Bytes dropped since the last call.
    std::vector<uint8_t> TakeStrays();

private:
    void Resync();

    std::vector<uint8_t> pending_;
    std::vector<uint8_t> strays_;
    Clock::time_point lastByte_{};
};

}  // namespace corvane::sim
