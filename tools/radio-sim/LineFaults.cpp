#include "LineFaults.h"

#include "FrameReader.h"

namespace corvane::sim {
namespace {

constexpr int kDataBits = 8;
constexpr int kStopBits = 2;
constexpr int kBitsPerByte = 1 + kDataBits + kStopBits;
// Edge search resolution, in steps per receiver bit.
constexpr long long kSteps = 16;

// The sender's line level, one entry per sender bit: start 0, data LSB first, stop 1.
std::vector<bool> LineBits(std::span<const uint8_t> bytes) {
    std::vector<bool> bits;
    for (uint8_t byte : bytes) {
        bits.push_back(false);
        for (int i = 0; i < kDataBits; ++i) bits.push_back(((byte >> i) & 1) != 0);
        for (int i = 0; i < kStopBits; ++i) bits.push_back(true);
    }
    return bits;
}

}  // namespace

std::vector<uint8_t> AsReadAtLineSpeed(std::span<const uint8_t> bytes, int senderBaud) {
    const std::vector<bool> bits = LineBits(bytes);
    // Time in units of 1 / (senderBaud * kLineBaud * kSteps) s: whole numbers throughout.
    const long long senderBit = static_cast<long long>(kLineBaud) * kSteps;
    const long long receiverBit = static_cast<long long>(senderBaud) * kSteps;
    const long long step = senderBaud;
    const auto level = [&](long long t) {
        const long long bit = t / senderBit;
        return t < 0 || bit >= static_cast<long long>(bits.size()) || bits[static_cast<std::size_t>(bit)];
    };
    const long long end = static_cast<long long>(bits.size()) * senderBit + 2 * kBitsPerByte * receiverBit;
    std::vector<uint8_t> read;
    bool previous = true;
    for (long long t = 0; t < end; t += step) {
        const bool now = level(t);
        const bool falling = previous && !now;
        previous = now;
        // A start bit must still be low in its middle.
        if (!falling || level(t + receiverBit / 2)) continue;
        uint8_t byte = 0;
        for (int i = 0; i < kDataBits; ++i) {
            if (level(t + receiverBit / 2 + (i + 1) * receiverBit)) byte = static_cast<uint8_t>(byte | (1u << i));
        }
        read.push_back(byte);
        // The receiver looks for the next start after the middle of the stop bit.
        t += receiverBit / 2 + (kDataBits + 1) * receiverBit;
        previous = level(t);
    }
    return read;
}

std::vector<uint8_t> Garbage(std::mt19937& random, std::size_t count) {
    std::uniform_int_distribution<int> dist(0, 255);
    std::vector<uint8_t> bytes;
    while (bytes.size() < count) {
        const auto byte = static_cast<uint8_t>(dist(random));
        if (byte != kFrameStart) bytes.push_back(byte);
    }
    return bytes;
}

}  // namespace corvane::sim
