#pragma once
// Framed commands exchanged before a transfer:
//   0x02, L (index of the last byte), command letters and parameters, 0x03.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace corvane {

constexpr uint8_t kFrameStart = 0x02;
constexpr uint8_t kFrameEnd = 0x03;
// TxBuffer and RxBuffer hold indices 0 to 2048.
constexpr std::size_t kLinkBufferSize = 2049;

using CommandFrame = std::vector<uint8_t>;

// 0x02, 0x07, "CONN", 0x00, 0x03: also the reply the radio echoes.
CommandFrame ConnectionRequest();
// 0x02, 0x05, "M", ChannelMode, 0x00, 0x03: the image follows.
CommandFrame WriteCommand(uint8_t channelMode);
// 0x02, 0x05, "R", ChannelMode, 0x00, 0x03: the radio sends its image.
CommandFrame ReadCommand(uint8_t channelMode);

enum class ReplyKind {
    Malformed,   // wrong start byte, or no end byte at index L
    Connection,  // well-formed with "CONN" at indices 2 to 5
    Foreign,     // well-formed, anything else
};

// Examines only indices 0, 1, 2 to 5 and L of a received buffer. Indices
// beyond the buffer read as 0.
ReplyKind ClassifyReply(std::span<const uint8_t> buffer);

}  // namespace corvane
