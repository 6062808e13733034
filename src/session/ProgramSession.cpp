#include "session/ProgramSession.h"

#include <utility>

#include "model/AccessCode.h"
#include "session/SessionSteps.h"
#include "session/ShownSet.h"
#include "store/ImageBackups.h"
#include "store/SavePoint.h"
#include "store/WorkingSet.h"

namespace corvane {

ProgramSession::ProgramSession(std::string programFolder, SavePolicy policy, LinkFactory link)
    : policy_(policy), link_(std::move(link)) {
    ws_.programFolder = std::move(programFolder);
    // What a short Port.txt or Group.txt does not reach stays 0 or empty.
    ClearToStartUpState(ws_);
}

// The link reports to the face's listener: it ends before anything else goes.
ProgramSession::~ProgramSession() { link_.Close(); }

Status ProgramSession::LoadChannelEditor() { return corvane::LoadChannelEditor(ws_); }

LinkEngine* ProgramSession::OpenLink(LinkListener& listener) {
    const bool built = link_.Engine() == nullptr;
    LinkEngine* engine = link_.Open(ws_, listener);
    if (engine != nullptr && built) {
        engine->SetVerifyAfterWrite(verifyAfterWrite_);
        if (wake_) engine->SetWakeCallback(wake_);
    }
    return engine;
}

std::string ProgramSession::OpenFrame(LinkListener& listener) {
    const Status loaded = LoadChannelEditor();
    if (LinkEngine* engine = OpenLink(listener)) engine->ReconnectPort();
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

Status ProgramSession::ExitProgram() {
    if (policy_ == SavePolicy::EveryStep) return SaveShownSet(ws_, WhenUnchanged::Write);
    return SaveWorkingSetOnExit(ws_);
}

void ProgramSession::EndProgram() { link_.Shutdown(); }

Status ProgramSession::CloseEditor() {
    if (policy_ == SavePolicy::AtSavePoints) return CloseChannelEditor(ws_, Link());
    // Every step was saved as it ended; what the desktop's channel window
    // writes as it closes is written only when it differs.
    SavePoint point(ws_.programFolder);
    // Staged in the save point: its Commit reports any failure.
    (void)CloseChannelEditor(ws_, nullptr);
    point.SkipWhenUnchanged();
    return point.Commit();
}

std::string ProgramSession::Caption() const { return FrameCaption(ws_.edition); }

std::string ProgramSession::BackupFolder() const { return DefaultBackupFolder(ws_).string(); }

void ProgramSession::SetPortMap(PortMap map) {
    if (LinkEngine* engine = Link()) engine->SetPortMap(std::move(map));
}

void ProgramSession::ReconnectPort() {
    if (LinkEngine* engine = Link()) engine->ReconnectPort();
}
bool ProgramSession::ReleasePort() { return !Link() || Link()->ReleasePort(); }
void ProgramSession::StartAutoDetect() {
    if (LinkEngine* engine = Link()) engine->StartAutoDetect();
}
void ProgramSession::RequestWrite() {
    if (LinkEngine* engine = Link()) engine->RequestWrite();
}
void ProgramSession::RequestRead() {
    if (LinkEngine* engine = Link()) engine->RequestRead();
}
void ProgramSession::RequestCompareRead() {
    if (LinkEngine* engine = Link()) engine->RequestCompareRead();
}
void ProgramSession::BytesReceived(const std::vector<uint8_t>& bytes) {
    if (LinkEngine* engine = Link()) engine->OnBytesReceived(bytes);
}
void ProgramSession::LineError() {
    if (LinkEngine* engine = Link()) engine->OnLineError();
}
void ProgramSession::PortFailure(const std::string& reason) {
    if (LinkEngine* engine = Link()) engine->OnPortFailure(reason);
}
void ProgramSession::Service() {
    if (LinkEngine* engine = Link()) engine->Service();
}

double ProgramSession::NextDeadline() const {
    if (!Link()) return -1;
    const std::optional<int64_t> next = Link()->NextDeadline();
    return next ? static_cast<double>(*next) : -1.0;
}

void ProgramSession::SetWakeCallback(std::function<void()> wake) {
    wake_ = std::move(wake);
    if (LinkEngine* engine = Link()) engine->SetWakeCallback(wake_);
}

void ProgramSession::SetVerifyAfterWrite(bool on) {
    verifyAfterWrite_ = on;
    if (LinkEngine* engine = Link()) engine->SetVerifyAfterWrite(on);
}

void ProgramSession::ShowLinkStatus() {
    if (LinkEngine* engine = Link()) engine->ShowLinkStatus();
}

}  // namespace corvane
