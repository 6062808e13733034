// Write to Radio and Read from Radio: set-up after the handshake, the write
// pacer, the read-back that verifies a write, read completion and the
// failures of either.
#include "link/LinkEngine.h"

#include <algorithm>
#include <utility>

#include "image/ImageCompare.h"
#include "image/ImageLayout.h"
#include "link/LinkEngineDetail.h"

namespace corvane {

using namespace link_detail;

// ---------------------------------------------------------------- write

bool LinkEngine::ContinueAfterHandshake() {
    if (connected_) return true;
    transferStarting_ = false;
    jobs_.AbortCurrent();
    ShowLinkStatus();
    if (verifyPending_) {
        // The write had locked the toolbar; its read-back ends here.
        verifyPending_ = verifying_ = false;
        EnableToolbarAfterTransfer();
    }
    UpdatePortInUse();
    listener_.OnMessage(kHandshakeFailure, MessageKind::Information);
    return false;
}

void LinkEngine::StartWrite() {
    transferStarting_ = true;
    LinkJobs::Job job;
    AppendHandshake(job);
    job.push_back(LinkJobs::Action([this] {
        if (!ContinueAfterHandshake()) return;
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
    // Kept before the first byte goes, so even an interrupted write leaves it.
    SaveBackup(image_, ws_.edition, BackupKind::Write);
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
    // Paced from the moment the byte was handed over, not from the tick: a
    // process held up between the two must not send the next byte early.
    timers_.HoldOff(LinkTimer::Timer1, clock_.NowMs());
    ++txIndex_;
    SetProgress(txIndex_);
    if (txIndex_ < kImageBytes) return;
    FinishWrite();
}

void LinkEngine::FinishWrite() {
    writeRunning_ = false;
    readRunning_ = false;
    timers_.Stop(LinkTimer::Timer1);
    ShowLinkStatus();
    if (!verifyAfterWrite_) {
        EnableToolbarAfterTransfer();
        listener_.OnImageSent(image_);
        listener_.OnMessage(kWriteComplete, MessageKind::Exclamation);
        return;
    }
    // The toolbar stays locked through the read-back.
    verifyPending_ = true;
    SetProgress(0);
    listener_.OnImageSent(image_);
    listener_.OnMessage(kWriteComplete, MessageKind::Exclamation);
    StartVerify();
}

void LinkEngine::StartVerify() {
    // The program may have ended while the completion message was up.
    if (!verifyPending_) return;
    StartRead(true);
}

// Every way a write ends early is the port failing under it.
void LinkEngine::FailWrite(const std::string& reason) {
    timers_.Stop(LinkTimer::Timer1);
    writeRunning_ = false;
    transferStarting_ = false;
    connected_ = false;
    ShowLinkStatus();
    EnableToolbarAfterTransfer();
    listener_.OnMessage("Write to Radio failed after " + std::to_string(txIndex_) + " of " +
                            std::to_string(kImageBytes) + " bytes: " + reason,
                        MessageKind::Warning);
}

// ---------------------------------------------------------------- storage

void LinkEngine::SaveBackup(std::span<const uint8_t> image, int16_t edition, BackupKind kind) {
    if (storage_ == nullptr) return;
    const Result<std::string> saved = storage_->KeepBackup(image, edition, kind);
    if (!saved.ok()) {
        listener_.OnBackupFailed("Image backup not saved: " + saved.message());
    } else if (!saved->empty()) {
        listener_.OnBackupSaved(*saved);
    }
}

Status LinkEngine::TakeOverRead(std::span<const uint8_t> image) {
    if (storage_ == nullptr) return DecodeImage(image, ws_);
    return storage_->AcceptRead(image, ws_);
}

// ---------------------------------------------------------------- read

void LinkEngine::StartRead(bool verify, bool compare) {
    transferStarting_ = true;
    verifying_ = verify;
    comparing_ = compare;
    LinkJobs::Job job;
    AppendHandshake(job);
    job.push_back(LinkJobs::Action([this] {
        if (!ContinueAfterHandshake()) return;
        DisableTransferButtons();
        readRunning_ = true;
        writeRunning_ = false;
        spoiledBurst_ = false;
        lineErrors_.Start(port_);
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
    lineErrors_.Stop();
    const std::span<const uint8_t> image(rxBuffer_.data(), kImageLength);
    SaveBackup(image, static_cast<int16_t>(image[image::kEdition]), BackupKind::Read);
    if (verifying_) {
        CompleteVerify(image);
        return;
    }
    if (comparing_) {
        CompleteCompareRead(image);
        return;
    }
    listener_.OnImageReceived(image);
    const Status accepted = TakeOverRead(image);
    // The decoder ends by showing the link status again (the label leaves "Upload").
    ShowLinkStatus();
    ClearRxBuffer();
    EnableToolbarAfterTransfer();
    // A decoded image whose files could not be saved still changed the
    // workspace, so the views refresh either way.
    listener_.OnImageAccepted();
    if (!accepted.ok()) {
        listener_.OnMessage(accepted.message(), MessageKind::Warning);
        return;
    }
    // The receive tick rests while the completion message is up.
    timers_.Stop(LinkTimer::Timer2);
    listener_.OnMessage(kReadComplete, MessageKind::Exclamation);
    timers_.Start(LinkTimer::Timer2, kReceiveTickMs, clock_.NowMs());
    Wake();
}

// The read-back is compared, never decoded: the working set stays as it is.
void LinkEngine::CompleteVerify(std::span<const uint8_t> readBack) {
    const std::vector<std::string> differences = DifferingFields(image_, readBack);
    verifyPending_ = verifying_ = false;
    ShowLinkStatus();
    ClearRxBuffer();
    EnableToolbarAfterTransfer();
    if (!differences.empty()) {
        listener_.OnMessage(VerifyFailedText(differences), MessageKind::Warning);
        return;
    }
    timers_.Stop(LinkTimer::Timer2);
    listener_.OnMessage(kVerifyComplete, MessageKind::Exclamation);
    timers_.Start(LinkTimer::Timer2, kReceiveTickMs, clock_.NowMs());
    Wake();
}

// Looked at only: the listener compares; the working set stays as it is.
void LinkEngine::CompleteCompareRead(std::span<const uint8_t> image) {
    comparing_ = false;
    const std::vector<uint8_t> copy(image.begin(), image.end());
    ShowLinkStatus();
    ClearRxBuffer();
    EnableToolbarAfterTransfer();
    listener_.OnImageForCompare(copy);
}

void LinkEngine::FailRead(const std::string& reason) {
    const bool verify = verifying_;
    comparing_ = false;
    readRunning_ = false;
    transferStarting_ = false;
    verifyPending_ = verifying_ = false;
    readGiveUpAt_.reset();
    lineErrors_.Stop();
    ClearRxBuffer();
    ShowLinkStatus();
    EnableToolbarAfterTransfer();
    listener_.OnMessage((verify ? kVerifyFailed : std::string("Read from Radio failed: ")) + reason,
                        MessageKind::Warning);
}

}  // namespace corvane
