// The receive side: collecting bytes, the silence countdown of the receive
// and handshake ticks, and reply recognition.
#include "link/LinkEngine.h"

#include <algorithm>
#include <utility>

#include "link/LinkEngineDetail.h"

namespace corvane {

using namespace link_detail;

// ---------------------------------------------------------------- receive side

void LinkEngine::OnBytesReceived(std::span<const uint8_t> bytes) {
    for (uint8_t byte : bytes) {
        if (sending_) continue;
        silenceCounter_ = kByteSilence;
        if (spoiledBurst_) continue;
        // A full buffer keeps its first bytes; the line still is not silent.
        if (rxCount_ < static_cast<int>(kLinkBufferSize)) rxBuffer_[static_cast<std::size_t>(rxCount_++)] = byte;
        if (readRunning_ && !writeRunning_) SetProgress(progress_ + 1);
    }
    CheckLineErrors();
}

void LinkEngine::OnLineError() {
    ClearRxBuffer();
    // The damaged byte may still be on its way; nothing of this burst can
    // make a whole image any more. The error itself is line activity.
    if (!readRunning_) return;
    spoiledBurst_ = true;
    silenceCounter_ = kByteSilence;
}

void LinkEngine::CheckLineErrors() {
    if (readRunning_ && !writeRunning_ && lineErrors_.Rose(port_)) OnLineError();
}

void LinkEngine::OnPortFailure(const std::string& reason) {
    if (port_.IsOpen()) port_.Close();
    lastOpenStatus_ = Status::Error(reason);
    // The radio cannot have heard anything since: Down/Up wait for a new answer.
    connected_ = false;
    if (writeRunning_ && timers_.Running(LinkTimer::Timer1)) {
        FailWrite(reason);
    } else if (writeRunning_) {
        // Still sending the write command: the set-up notices and gives up.
        frameWriteStatus_ = Status::Error(reason);
    } else if (readRunning_) {
        FailRead(reason);
    } else if (!autoDetectRunning_) {
        ShowLinkStatus();
    }
    UpdatePortInUse();
}

void LinkEngine::ClearRxBuffer() {
    if (rxCount_ == 0) return;
    rxBuffer_.fill(0);
    rxCount_ = 0;
}

bool LinkEngine::CountDownSilence() {
    if (silenceCounter_ == 0) return false;
    --silenceCounter_;
    if (silenceCounter_ == kParseAt && rxCount_ >= kMinReplyBytes && rxBuffer_[0] == kFrameStart) {
        ParseReplyFrame();
    }
    return true;
}

void LinkEngine::ParseReplyFrame() {
    const ReplyKind kind = ClassifyReply(std::span<const uint8_t>(rxBuffer_.data(), rxBuffer_.size()));
    if (kind == ReplyKind::Malformed) return;
    silenceCounter_ = 0;
    if (kind != ReplyKind::Connection) return;
    autoDetectRunning_ = false;
    connected_ = true;
    timers_.Stop(LinkTimer::Timer3);
    ShowLinkStatus();
}

// ---------------------------------------------------------------- ticks

void LinkEngine::Timer2Tick() {
    CheckLineErrors();
    if (CountDownSilence()) return;
    spoiledBurst_ = false;
    if (!readRunning_ || writeRunning_) {
        ClearRxBuffer();
        return;
    }
    if (rxCount_ >= kImageBytes) {
        CompleteRead();
        return;
    }
    ClearRxBuffer();
}

void LinkEngine::Timer4Tick() { CountDownSilence(); }
}  // namespace corvane
