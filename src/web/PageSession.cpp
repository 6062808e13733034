#include "web/PageSession.h"

#include <emscripten.h>

#include <utility>

#include "session/PlatformLink.h"
#include "store/CommitFileSystem.h"

namespace corvane::web {

int64_t PageClock::NowMs() const { return static_cast<int64_t>(emscripten_get_now()); }

PageSession::PageSession(std::string programFolder)
    : ProgramSession(std::move(programFolder), SavePolicy::EveryStep,
                     MakePlatformLinkFactory(clock, port, [this] { return PortMap::WithDeviceTable(devices_); })) {}

PageSession::~PageSession() {
    if (mirror_) SetWorkingFileSystem(nullptr);
}

void PageSession::SetStorageMirror(emscripten::val mirror) {
    mirror_ = std::make_unique<StorageMirror>(std::move(mirror));
    SetWorkingFileSystem(mirror_.get());
}

void PageSession::SetSaveListener(emscripten::val problem) {
    Editing()->SetSaveProblemSink([problem](const std::string& text) { problem(text); });
}

void PageSession::SetWakeCallback(emscripten::val wake) {
    ProgramSession::SetWakeCallback([wake = std::move(wake)] {
        if (!wake.isUndefined()) wake();
    });
}

std::string PageSession::OpenFrameOn(const std::vector<std::string>& devices) {
    SetDevices(devices);
    return OpenFrame(listener);
}

void PageSession::SetDevices(const std::vector<std::string>& devices) {
    devices_ = devices;
    SetPortMap(PortMap::WithDeviceTable(devices_));
}

std::string PageSession::EnterAccessCodeNamed(const std::string& code) {
    const AccessEntry entry = EnterAccessCode(code);
    lastSaveProblem_.clear();
    switch (entry.outcome) {
    case AccessOutcome::Empty: return "empty";
    case AccessOutcome::Refused: return "refused";
    case AccessOutcome::Accepted:
    case AccessOutcome::StartRefused: break;
    }
    lastSaveProblem_ = entry.message;
    return "accepted";
}

}  // namespace corvane::web
