#include "session/ProgramSession.h"

#include <utility>

#include "model/AccessCode.h"
#include "session/SessionSteps.h"
#include "session/ShownSet.h"
#include "store/ChannelFiles.h"
#include "store/SavePoint.h"
#include "store/WorkingSet.h"

namespace corvane {

ProgramSession::ProgramSession(std::string programFolder, LinkPlatform platform) : platform_(platform) {
    ws_.programFolder = std::move(programFolder);
    // What a short Port.txt or Group.txt does not reach stays 0 or empty, as on the desktop.
    ClearToStartUpState(ws_);
}

ProgramSession::~ProgramSession() = default;

std::string ProgramSession::OpenFrame(const std::vector<std::string>& devices) {
    const Status loaded = LoadChannelEditor(ws_);
    if (!engine_) {
        engine_ = std::make_unique<LinkEngine>(ws_, platform_.port, platform_.listener, platform_.clock,
                                               PortMap::WithDeviceTable(devices));
        engine_->SetStorage(&storage_);
        engine_->SetVerifyAfterWrite(verifyAfterWrite_);
        engine_->SetWakeCallback([this] {
            if (wake_) wake_();
        });
    }
    engine_->ReconnectPort();
    std::string said = loaded.message();
    const std::string notice = access_.TakeStartNotice();
    if (!notice.empty()) said += (said.empty() ? "" : "\n") + notice;
    return said;
}

std::string ProgramSession::OpenReadOnly() {
    // What an interrupted save left is settled in memory only.
    const Result<StartReport> prepared = PrepareWorkingSet(ws_.programFolder, StartMode::ReadOnly);
    if (!prepared) return prepared.message();
    return LoadWorkingSetReadOnly(ws_).message();
}

std::string ProgramSession::ExitProgram() { return SaveShownSet(ws_, WhenUnchanged::Write).message(); }

void ProgramSession::EndProgram() {
    if (engine_) engine_->Shutdown();
}

std::string ProgramSession::CloseEditor() {
    // Every step was saved as it ended; what the desktop's channel window
    // writes as it closes is written only when it differs.
    SavePoint point(ws_.programFolder);
    // Staged in the save point: its Commit reports any failure.
    (void)CloseChannelEditor(ws_, nullptr);
    point.SkipWhenUnchanged();
    return point.Commit().message();
}

std::string ProgramSession::Caption() const { return FrameCaption(ws_.edition); }

std::string ProgramSession::BackupFolder() const { return storage_.BackupFolder().string(); }

void ProgramSession::SetDevices(const std::vector<std::string>& devices) {
    if (engine_) engine_->SetPortMap(PortMap::WithDeviceTable(devices));
}

void ProgramSession::ReconnectPort() {
    if (engine_) engine_->ReconnectPort();
}
bool ProgramSession::ReleasePort() { return !engine_ || engine_->ReleasePort(); }
void ProgramSession::StartAutoDetect() {
    if (engine_) engine_->StartAutoDetect();
}
void ProgramSession::RequestWrite() {
    if (engine_) engine_->RequestWrite();
}
void ProgramSession::RequestRead() {
    if (engine_) engine_->RequestRead();
}
void ProgramSession::RequestCompareRead() {
    if (engine_) engine_->RequestCompareRead();
}
void ProgramSession::BytesReceived(const std::vector<uint8_t>& bytes) {
    if (engine_) engine_->OnBytesReceived(bytes);
}
void ProgramSession::LineError() {
    if (engine_) engine_->OnLineError();
}
void ProgramSession::PortFailure(const std::string& reason) {
    if (engine_) engine_->OnPortFailure(reason);
}
void ProgramSession::Service() {
    if (engine_) engine_->Service();
}

double ProgramSession::NextDeadline() const {
    if (!engine_) return -1;
    const std::optional<int64_t> next = engine_->NextDeadline();
    return next ? static_cast<double>(*next) : -1.0;
}

void ProgramSession::SetVerifyAfterWrite(bool on) {
    verifyAfterWrite_ = on;
    if (engine_) engine_->SetVerifyAfterWrite(on);
}

void ProgramSession::ShowLinkStatus() {
    if (engine_) engine_->ShowLinkStatus();
}

}  // namespace corvane
