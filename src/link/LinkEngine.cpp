#include "link/LinkEngine.h"

#include <algorithm>
#include <utility>

#include "link/LinkEngineDetail.h"
#include "model/NumberParse.h"

namespace corvane {

using namespace link_detail;

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
    // While a transfer holds the toolbar, Down and Up wait for it with the rest.
    listener_.OnWriteReadEnabled(connected_ && !toolbarLocked_);
}

void LinkEngine::SetProgress(int value) {
    value = std::clamp(value, 0, kImageBytes);
    if (value == progress_) return;
    progress_ = value;
    listener_.OnProgress(progress_);
}

void LinkEngine::DisableTransferButtons() {
    toolbarLocked_ = true;
    listener_.OnTransferButtonsEnabled(false);
}

void LinkEngine::EnableToolbarAfterTransfer() {
    toolbarLocked_ = false;
    listener_.OnTransferButtonsEnabled(true);
    // The eight include Down and Up, which follow the link: after a port
    // failure they stay off until the radio answers again.
    listener_.OnWriteReadEnabled(connected_);
    SetProgress(0);
    UpdatePortInUse();
}

bool LinkEngine::PortInUse() const {
    return writeRunning_ || readRunning_ || autoDetectRunning_ || transferStarting_ || verifyPending_;
}

void LinkEngine::UpdatePortInUse() {
    const bool inUse = PortInUse();
    if (inUse == portInUseShown_) return;
    portInUseShown_ = inUse;
    listener_.OnPortInUse(inUse);
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
    if (PortInUse()) return;
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

bool LinkEngine::ReleasePort() {
    if (PortInUse()) return false;
    jobs_.Clear();
    sending_ = false;
    connected_ = false;
    if (port_.IsOpen()) port_.Close();
    ShowLinkStatus();
    Wake();
    return true;
}

void LinkEngine::StartAutoDetect() {
    if (PortInUse()) return;
    autoDetectRunning_ = true;
    timers_.Start(LinkTimer::Timer3, kDetectionTickMs, clock_.NowMs());
    probeWait_ = 0;
    probePort_ = static_cast<int>(LenientInteger(ws_.portName));
    probeTries_ = 0;
    connected_ = false;
    UpdatePortInUse();
    Wake();
}

void LinkEngine::RequestWrite() {
    // One transfer at a time: a second handshake would land inside the first.
    if (!connected_ || PortInUse()) return;
    if (!port_.IsOpen()) {
        listener_.OnMessage("[4] Could not Open COM: " + ws_.portName, MessageKind::Information);
        return;
    }
    if (writeRunning_) return;
    if (LenientNumber(ws_.channels.GetCell(1, ColRxFreq)) == 0) {
        listener_.OnMessage(kNoFrequency, MessageKind::Information);
        return;
    }
    // Built and checked before the handshake: a refusal must not leave the
    // radio waiting for an image that never comes.
    const Result<MemoryImage> built = BuildImage(ws_);
    if (!built.ok()) {
        listener_.OnMessage(built.message(), MessageKind::Information);
        return;
    }
    image_ = built.value();
    StartWrite();
}

void LinkEngine::RequestRead() {
    // One transfer at a time: a second handshake would land inside the first.
    if (!connected_ || PortInUse()) return;
    if (!port_.IsOpen()) {
        listener_.OnMessage("[5] Could not Open COM: " + ws_.portName, MessageKind::Information);
        return;
    }
    if (readRunning_) return;
    StartRead(false);
}

void LinkEngine::RequestCompareRead() {
    if (!connected_ || PortInUse()) return;
    if (!port_.IsOpen()) {
        listener_.OnMessage("[5] Could not Open COM: " + ws_.portName, MessageKind::Information);
        return;
    }
    if (readRunning_) return;
    StartRead(false, true);
}

void LinkEngine::Shutdown() {
    jobs_.Clear();
    for (LinkTimer timer : {LinkTimer::Timer1, LinkTimer::Timer2, LinkTimer::Timer3, LinkTimer::Timer4}) {
        timers_.Stop(timer);
    }
    writeRunning_ = readRunning_ = autoDetectRunning_ = transferStarting_ = false;
    verifyPending_ = verifying_ = comparing_ = spoiledBurst_ = false;
    readGiveUpAt_.reset();
    lineErrors_.Stop();
    if (port_.IsOpen()) port_.Close();
}

// ---------------------------------------------------------------- detection

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
    UpdatePortInUse();
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
    UpdatePortInUse();
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
