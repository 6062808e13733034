#include "link/LinkEngine.h"

#include <algorithm>
#include <utility>

#include "model/NumberParse.h"
#include "store/WorkingSet.h"

namespace corvane {
namespace {

constexpr int64_t kDelayMs = 100;          // Delay after opening and around frames
constexpr int64_t kDeafWindowMs = 100;     // input dropped after a frame went out
constexpr int64_t kDrainLimitMs = 2000;    // a frame of 8 bytes leaves in ~40 ms
constexpr int64_t kDrainPollMs = 1;
constexpr int64_t kHandshakeLimitMs = 3000;  // a chattering line must not hold the link
constexpr int kByteSilence = 10;           // SilenceCounter reload per byte
constexpr int kHandshakeSilence = 50;      // handshake wait, counted by Timer2 and Timer4
constexpr int kParseAt = 1;                // the count at which a reply is examined
constexpr int kMinReplyBytes = 3;
constexpr int kTicksPerProbe = 20;
constexpr int kPortsToProbe = 12;
constexpr int kFirstPort = 1;
constexpr int kLastPort = 12;
constexpr int kImageBytes = static_cast<int>(kImageLength);

const std::string kHandshakeFailure = "Connection Failure during handshake !!!";
const std::string kNoFrequency = "There is no Frequency Datas ...";
const std::string kWriteComplete = "DOWNLOAD COMPLETE";
const std::string kReadComplete = "UPLOAD COMPLETE";
const std::string kWriteLabel = "Download";
const std::string kReadLabel = "Upload";

}  // namespace

LinkEngine::LinkEngine(Workspace& ws, SerialPort& port, LinkListener& listener, const LinkClock& clock,
                       PortMap portMap)
    : ws_(ws), port_(port), listener_(listener), clock_(clock), portMap_(std::move(portMap)) {
    // The receive tick runs for the life of the program.
    timers_.Start(LinkTimer::Timer2, kReceiveTickMs, clock_.NowMs());
}

// ---------------------------------------------------------------- status

void LinkEngine::SetLabel(const std::string& text, StatusColour colour) {
    labelColour_ = colour;
    listener_.OnLinkStatus(text, colour);
}

void LinkEngine::ShowLinkStatus() {
    const std::string port = "(COM" + ws_.portName + ")  ";
    if (connected_) {
        SetLabel(port + "Connected ...", StatusColour::Blue);
    } else {
        SetLabel(port + "Connection Failed...", StatusColour::Red);
    }
    listener_.OnPortNameChanged();
    listener_.OnWriteReadEnabled(connected_);
}

void LinkEngine::SetProgress(int value) {
    value = std::clamp(value, 0, kImageBytes);
    if (value == progress_) return;
    progress_ = value;
    listener_.OnProgress(progress_);
}

void LinkEngine::DisableTransferButtons() { listener_.OnTransferButtonsEnabled(false); }

void LinkEngine::EnableToolbarAfterTransfer() {
    listener_.OnTransferButtonsEnabled(true);
    SetProgress(0);
}

void LinkEngine::Wake() {
    if (wake_) wake_();
}

// ---------------------------------------------------------------- port and frames

void LinkEngine::OpenCommPort() {
    if (port_.IsOpen()) port_.Close();
    const std::string device = portMap_.DeviceForPort(ws_.portName);
    if (device.empty()) {
        lastOpenStatus_ = Status::Error("COM" + ws_.portName + " names no serial port");
        return;
    }
    lastOpenStatus_ = port_.Open(device);
}

void LinkEngine::AppendSendFrame(LinkJobs::Job& job, CommandFrame frame) {
    job.push_back(LinkJobs::Action([this, frame = std::move(frame)] {
        sending_ = true;
        frameWriteStatus_ = Status::Ok();
        if (port_.IsOpen()) frameWriteStatus_ = port_.Write(frame);
    }));
    job.push_back(LinkJobs::WaitUntil([this] { return !port_.IsOpen() || port_.BytesToWrite() == 0; },
                                      kDrainLimitMs, kDrainPollMs));
    job.push_back(LinkJobs::Delay(kDeafWindowMs));
    job.push_back(LinkJobs::Action([this] {
        ClearRxBuffer();
        sending_ = false;
    }));
}

void LinkEngine::AppendHandshake(LinkJobs::Job& job) {
    job.push_back(LinkJobs::Action([this] {
        connected_ = false;
        OpenCommPort();
    }));
    AppendSendFrame(job, ConnectionRequest());
    job.push_back(LinkJobs::Action([this] {
        silenceCounter_ = kHandshakeSilence;
        timers_.Start(LinkTimer::Timer4, kHandshakeTickMs, clock_.NowMs());
    }));
    job.push_back(LinkJobs::WaitUntil([this] { return silenceCounter_ == 0; }, kHandshakeLimitMs));
    job.push_back(LinkJobs::Action([this] { timers_.Stop(LinkTimer::Timer4); }));
}

// ---------------------------------------------------------------- requests

void LinkEngine::ReconnectPort() {
    LinkJobs::Job job;
    job.push_back(LinkJobs::Action([this] {
        connected_ = false;
        listener_.OnCloseCellEditors();
        ShowLinkStatus();
        OpenCommPort();
    }));
    job.push_back(LinkJobs::Delay(kDelayMs));
    AppendSendFrame(job, ConnectionRequest());
    jobs_.Add(std::move(job));
    Service();
}

void LinkEngine::StartAutoDetect() {
    if (autoDetectRunning_) return;
    autoDetectRunning_ = true;
    timers_.Start(LinkTimer::Timer3, kDetectionTickMs, clock_.NowMs());
    probeWait_ = 0;
    probePort_ = static_cast<int>(LenientInteger(ws_.portName));
    probeTries_ = 0;
    connected_ = false;
    Wake();
}

void LinkEngine::RequestWrite() {
    if (!connected_ || autoDetectRunning_ || transferStarting_) return;
    if (!port_.IsOpen()) {
        listener_.OnMessage("[4] Could not Open COM: " + ws_.portName, MessageKind::Information);
        return;
    }
    if (writeRunning_) return;
    if (LenientNumber(ws_.channels.GetCell(1, ColRxFreq)) == 0) {
        listener_.OnMessage(kNoFrequency, MessageKind::Information);
        return;
    }
    StartWrite();
}

void LinkEngine::RequestRead() {
    if (!connected_ || autoDetectRunning_ || transferStarting_) return;
    if (!port_.IsOpen()) {
        listener_.OnMessage("[5] Could not Open COM: " + ws_.portName, MessageKind::Information);
        return;
    }
    if (readRunning_) return;
    StartRead();
}

void LinkEngine::Shutdown() {
    jobs_.Clear();
    for (LinkTimer timer : {LinkTimer::Timer1, LinkTimer::Timer2, LinkTimer::Timer3, LinkTimer::Timer4}) {
        timers_.Stop(timer);
    }
    writeRunning_ = readRunning_ = autoDetectRunning_ = transferStarting_ = false;
    readGiveUpAt_.reset();
    if (port_.IsOpen()) port_.Close();
}

// ---------------------------------------------------------------- write

void LinkEngine::StartWrite() {
    transferStarting_ = true;
    LinkJobs::Job job;
    AppendHandshake(job);
    job.push_back(LinkJobs::Action([this] {
        if (!connected_) {
            transferStarting_ = false;
            jobs_.AbortCurrent();
            ShowLinkStatus();
            listener_.OnMessage(kHandshakeFailure, MessageKind::Information);
            return;
        }
        DisableTransferButtons();
        txIndex_ = 0;
        writeRunning_ = true;
        readRunning_ = false;
        readGiveUpAt_.reset();
        listener_.OnCloseCellEditors();
    }));
    job.push_back(LinkJobs::Delay(kDelayMs));
    AppendSendFrame(job, WriteCommand(ws_.channelMode));
    job.push_back(LinkJobs::Delay(kDelayMs));
    job.push_back(LinkJobs::Action([this] { BeginImageSend(); }));
    jobs_.Add(std::move(job));
    Service();
}

void LinkEngine::BeginImageSend() {
    transferStarting_ = false;
    if (!writeRunning_) return;  // the port failed while the command went out
    if (!frameWriteStatus_.ok()) {
        FailWrite(frameWriteStatus_.message());
        return;
    }
    const Result<MemoryImage> built = BuildImage(ws_);
    if (!built.ok()) {
        writeRunning_ = false;
        ShowLinkStatus();
        EnableToolbarAfterTransfer();
        listener_.OnMessage(built.message(), MessageKind::Information);
        return;
    }
    image_ = built.value();
    SetLabel(kWriteLabel, labelColour_);
    timers_.Start(LinkTimer::Timer1, kWritePacerMs, clock_.NowMs());
}

void LinkEngine::Timer1Tick() {
    if (!port_.IsOpen()) {
        FailWrite("the serial port is closed");
        return;
    }
    const uint8_t byte = image_[static_cast<std::size_t>(txIndex_)];
    if (const Status written = port_.Write(std::span<const uint8_t>(&byte, 1)); !written.ok()) {
        FailWrite(written.message());
        return;
    }
    ++txIndex_;
    SetProgress(txIndex_);
    if (txIndex_ < kImageBytes) return;
    writeRunning_ = false;
    readRunning_ = false;
    ShowLinkStatus();
    timers_.Stop(LinkTimer::Timer1);
    EnableToolbarAfterTransfer();
    listener_.OnImageSent(image_);
    listener_.OnMessage(kWriteComplete, MessageKind::Exclamation);
}

void LinkEngine::FailWrite(const std::string& reason) {
    timers_.Stop(LinkTimer::Timer1);
    writeRunning_ = false;
    transferStarting_ = false;
    ShowLinkStatus();
    EnableToolbarAfterTransfer();
    listener_.OnMessage("Write to Radio failed after " + std::to_string(txIndex_) + " of " +
                            std::to_string(kImageBytes) + " bytes: " + reason,
                        MessageKind::Warning);
}

// ---------------------------------------------------------------- read

void LinkEngine::StartRead() {
    transferStarting_ = true;
    LinkJobs::Job job;
    AppendHandshake(job);
    job.push_back(LinkJobs::Action([this] {
        if (!connected_) {
            transferStarting_ = false;
            jobs_.AbortCurrent();
            ShowLinkStatus();
            listener_.OnMessage(kHandshakeFailure, MessageKind::Information);
            return;
        }
        DisableTransferButtons();
        readRunning_ = true;
        writeRunning_ = false;
        listener_.OnCloseCellEditors();
        SetLabel(kReadLabel, labelColour_);
    }));
    job.push_back(LinkJobs::Delay(kDelayMs));
    job.push_back(LinkJobs::Action([this] {
        transferStarting_ = false;
        if (readRunning_) readGiveUpAt_ = clock_.NowMs() + kReadGiveUpMs;
    }));
    AppendSendFrame(job, ReadCommand(ws_.channelMode));
    jobs_.Add(std::move(job));
    Service();
}

void LinkEngine::CompleteRead() {
    readRunning_ = false;
    writeRunning_ = false;
    readGiveUpAt_.reset();
    const std::span<const uint8_t> image(rxBuffer_.data(), kImageLength);
    listener_.OnImageReceived(image);
    const Status accepted = AcceptImageFromRadio(image, ws_);
    ClearRxBuffer();
    EnableToolbarAfterTransfer();
    // A decoded image whose files could not be saved still changed the
    // workspace, so the views refresh either way.
    listener_.OnImageAccepted();
    if (!accepted.ok()) {
        ShowLinkStatus();
        listener_.OnMessage(accepted.message(), MessageKind::Warning);
        return;
    }
    // The receive tick rests while the completion message is up.
    timers_.Stop(LinkTimer::Timer2);
    listener_.OnMessage(kReadComplete, MessageKind::Exclamation);
    timers_.Start(LinkTimer::Timer2, kReceiveTickMs, clock_.NowMs());
    Wake();
}

void LinkEngine::FailRead(const std::string& reason) {
    readRunning_ = false;
    transferStarting_ = false;
    readGiveUpAt_.reset();
    ClearRxBuffer();
    ShowLinkStatus();
    EnableToolbarAfterTransfer();
    listener_.OnMessage("Read from Radio failed: " + reason, MessageKind::Warning);
}

// ---------------------------------------------------------------- receive side

void LinkEngine::OnBytesReceived(std::span<const uint8_t> bytes) {
    for (uint8_t byte : bytes) {
        if (sending_) continue;
        // A full buffer keeps its first bytes; the line still is not silent.
        if (rxCount_ < static_cast<int>(kLinkBufferSize)) rxBuffer_[static_cast<std::size_t>(rxCount_++)] = byte;
        silenceCounter_ = kByteSilence;
        if (readRunning_ && !writeRunning_) SetProgress(progress_ + 1);
    }
}

void LinkEngine::OnLineError() { ClearRxBuffer(); }

void LinkEngine::OnPortFailure(const std::string& reason) {
    if (port_.IsOpen()) port_.Close();
    lastOpenStatus_ = Status::Error(reason);
    if (writeRunning_ && timers_.Running(LinkTimer::Timer1)) {
        FailWrite(reason);
    } else if (writeRunning_) {
        // Still sending the write command: the set-up notices and gives up.
        frameWriteStatus_ = Status::Error(reason);
    } else if (readRunning_) {
        FailRead(reason);
    }
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
    if (CountDownSilence()) return;
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

void LinkEngine::Timer3Tick() {
    if (probeWait_ != 0) {
        --probeWait_;
        return;
    }
    ++probeTries_;
    if (probeTries_ <= kPortsToProbe) {
        probeWait_ = kTicksPerProbe;
        ws_.portName = std::to_string(probePort_);
        probePort_ = probePort_ + 1 > kLastPort ? kFirstPort : probePort_ + 1;
        SetLabel("[COM" + ws_.portName + "] Testing Connect .....", StatusColour::Red);
        LinkJobs::Job job;
        job.push_back(LinkJobs::Action([this] { OpenCommPort(); }));
        AppendSendFrame(job, ConnectionRequest());
        jobs_.Add(std::move(job));
        return;
    }
    ShowLinkStatus();
    timers_.Stop(LinkTimer::Timer3);
    autoDetectRunning_ = false;
}

// ---------------------------------------------------------------- time

void LinkEngine::Service() {
    const int64_t now = clock_.NowMs();
    jobs_.Run(now);
    while (const std::optional<LinkTimer> due = timers_.TakeDue(now)) {
        switch (*due) {
            case LinkTimer::Timer1: Timer1Tick(); break;
            case LinkTimer::Timer2: Timer2Tick(); break;
            case LinkTimer::Timer3: Timer3Tick(); break;
            case LinkTimer::Timer4: Timer4Tick(); break;
        }
        jobs_.Run(now);
    }
    if (readRunning_ && readGiveUpAt_ && now >= *readGiveUpAt_) {
        FailRead("no complete image received within " + std::to_string(kReadGiveUpMs / 1000) + " seconds");
    }
    Wake();
}

std::optional<int64_t> LinkEngine::NextDeadline() const {
    std::optional<int64_t> next = timers_.NextDue();
    auto earliest = [&next](std::optional<int64_t> candidate) {
        if (candidate && (!next || *candidate < *next)) next = candidate;
    };
    earliest(jobs_.NextDeadline());
    if (readRunning_) earliest(readGiveUpAt_);
    return next;
}

}  // namespace corvane
