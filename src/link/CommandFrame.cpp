#include "link/CommandFrame.h"

namespace corvane {
namespace {

constexpr uint8_t kWriteLetter = 'M';
constexpr uint8_t kReadLetter = 'R';
constexpr std::size_t kLengthIndex = 1;
constexpr std::size_t kCommandIndex = 2;

CommandFrame ModeCommand(uint8_t letter, uint8_t channelMode) {
    return {kFrameStart, 0x05, letter, channelMode, 0x00, kFrameEnd};
}

uint8_t At(std::span<const uint8_t> buffer, std::size_t index) {
    return index < buffer.size() ? buffer[index] : 0;
}

}  // namespace

CommandFrame ConnectionRequest() { return {kFrameStart, 0x07, 'C', 'O', 'N', 'N', 0x00, kFrameEnd}; }

CommandFrame WriteCommand(uint8_t channelMode) { return ModeCommand(kWriteLetter, channelMode); }

CommandFrame ReadCommand(uint8_t channelMode) { return ModeCommand(kReadLetter, channelMode); }

ReplyKind ClassifyReply(std::span<const uint8_t> buffer) {
    const std::size_t last = At(buffer, kLengthIndex);
    if (At(buffer, 0) != kFrameStart || At(buffer, last) != kFrameEnd) return ReplyKind::Malformed;
    const bool conn = At(buffer, kCommandIndex) == 'C' && At(buffer, kCommandIndex + 1) == 'O' &&
                      At(buffer, kCommandIndex + 2) == 'N' && At(buffer, kCommandIndex + 3) == 'N';
    return conn ? ReplyKind::Connection : ReplyKind::Foreign;
}

}  // namespace corvane
