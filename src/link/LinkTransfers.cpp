// Write to Radio and Read from Radio: set-up after the handshake, the write
// pacer, read completion and the failures of either.
#include "link/LinkEngine.h"

#include <algorithm>
#include <chrono>
#include <utility>

#include "link/ImageLayout.h"
#include "link/LinkEngineDetail.h"
#include "store/WorkingSet.h"

namespace corvane {

using namespace link_detail;

// ---------------------------------------------------------------- write

bool LinkEngine::ContinueAfterHandshake() {
    if (connected_) return true;
    transferStarting_ = false;
    jobs_.AbortCurrent();
    ShowLinkStatus();
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
    const Result<MemoryImage> built = BuildImage(ws_);
    if (!built.ok()) {
        writeRunning_ = false;
        ShowLinkStatus();
        EnableToolbarAfterTransfer();
        listener_.OnMessage(built.message(), MessageKind::Information);
        return;
    }
    image_ = built.value();
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

// ---------------------------------------------------------------- backups

std::filesystem::path LinkEngine::BackupFolder() const {
    if (backupFolder_) return *backupFolder_;
    if (ws_.programFolder.empty()) return {};
    return DefaultBackupFolder(ws_);
}

void LinkEngine::SaveBackup(std::span<const uint8_t> image, int16_t edition, BackupKind kind) {
    const std::filesystem::path folder = BackupFolder();
    if (folder.empty()) return;
    const Result<std::filesystem::path> saved =
        SaveImageBackup(folder, image, edition, kind, std::chrono::system_clock::now());
    if (saved.ok()) {
        listener_.OnBackupSaved(saved->string());
    } else {
        listener_.OnBackupFailed("Image backup not saved: " + saved.message());
    }
}

// ---------------------------------------------------------------- read

void LinkEngine::StartRead() {
    transferStarting_ = true;
    LinkJobs::Job job;
    AppendHandshake(job);
    job.push_back(LinkJobs::Action([this] {
        if (!ContinueAfterHandshake()) return;
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
    SaveBackup(image, static_cast<int16_t>(image[image::kEdition]), BackupKind::Read);
    listener_.OnImageReceived(image);
    const Status accepted = AcceptImageFromRadio(image, ws_);
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

void LinkEngine::FailRead(const std::string& reason) {
    readRunning_ = false;
    transferStarting_ = false;
    readGiveUpAt_.reset();
    ClearRxBuffer();
    ShowLinkStatus();
    EnableToolbarAfterTransfer();
    listener_.OnMessage("Read from Radio failed: " + reason, MessageKind::Warning);
}

}  // namespace corvane
