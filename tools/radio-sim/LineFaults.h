#pragma once
// What a misbehaving line makes of the radio's answer: a radio set to
// another speed, or noise.
#include <cstddef>
#include <cstdint>
#include <random>
#include <span>
#include <vector>

namespace corvane::sim {

// The programmer's line speed: 2400 baud, 8 data bits, 2 stop bits.
constexpr int kLineBaud = 2400;

// The bytes a receiver at kLineBaud reads when bytes are sent at
// senderBaud: it samples each bit in its middle after a falling edge, and
// delivers what it read even with a framing error, as USB cables do.
std::vector<uint8_t> AsReadAtLineSpeed(std::span<const uint8_t> bytes, int senderBaud);

// count random bytes, none of them a frame start.
std::vector<uint8_t> Garbage(std::mt19937& random, std::size_t count);

}  // namespace corvane::sim
