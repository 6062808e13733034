#include "FrameReader.h"

#include <algorithm>

namespace corvane::sim {
namespace {

// The programmer's longest frame is 8 bytes; anything much longer is noise.
constexpr uint8_t kMinLastIndex = 3;
constexpr uint8_t kMaxLastIndex = 32;
// A frame arrives in one write; a gap this long means the rest never came.
constexpr auto kInterByteGap = std::chrono::milliseconds(300);

}  // namespace

std::optional<Frame> FrameReader::Feed(uint8_t byte, Clock::time_point now) {
    if (!pending_.empty() && now - lastByte_ > kInterByteGap) {
        strays_.insert(strays_.end(), pending_.begin(), pending_.end());
        pending_.clear();
    }
    lastByte_ = now;
    pending_.push_back(byte);
    for (;;) {
        if (pending_.empty()) return std::nullopt;
        if (pending_[0] != kFrameStart) {
            Resync();
            continue;
        }
        if (pending_.size() < 2) return std::nullopt;
        const uint8_t last = pending_[1];
        if (last < kMinLastIndex || last > kMaxLastIndex) {
            Resync();
            continue;
        }
        if (pending_.size() < static_cast<std::size_t>(last) + 1) return std::nullopt;
        if (pending_[last] != kFrameEnd) {
            Resync();
            continue;
        }
        Frame frame(pending_.begin(), pending_.begin() + last + 1);
        pending_.erase(pending_.begin(), pending_.begin() + last + 1);
        return frame;
    }
}

void FrameReader::Resync() {
    // Drop the first byte and look for the next start byte.
    auto next = std::find(pending_.begin() + 1, pending_.end(), kFrameStart);
    strays_.insert(strays_.end(), pending_.begin(), next);
    pending_.erase(pending_.begin(), next);
}

std::vector<uint8_t> FrameReader::TakeStrays() {
    std::vector<uint8_t> out;
    out.swap(strays_);
    return out;
}

}  // namespace corvane::sim
