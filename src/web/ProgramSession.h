#pragma once
// One run of the program in the page: the workspace, the link engine and the
// page's serial port and listener. The page holds one instance and drives it:
// received bytes in, Service() at NextDeadline(), user actions as requests.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <emscripten/val.h>

#include "link/LinkClock.h"
#include "link/LinkEngine.h"
#include "model/Workspace.h"
#include "session/AccessCodeStep.h"
#include "session/EditSession.h"
#include "store/LinkFileStorage.h"
#include "web/JsListener.h"
#include "web/JsSerialPort.h"
#include "web/PageSave.h"
#include "web/StorageMirror.h"

namespace corvane::web {

// performance.now(): the same clock the page's timers use.
class PageClock : public LinkClock {
public:
    int64_t NowMs() const override;
};

class ProgramSession {
public:
    explicit ProgramSession(std::string programFolder);
    ~ProgramSession();
    ProgramSession(const ProgramSession&) = delete;
    ProgramSession& operator=(const ProgramSession&) = delete;

    void SetSerialBridge(emscripten::val bridge) { port_.SetBridge(std::move(bridge)); }
    void SetListener(emscripten::val listener) { listener_.SetTarget(std::move(listener)); }
    // From now on every set commit is handed to mirror as well (see
    // StorageMirror); without it the files live only in memory.
    void SetStorageMirror(emscripten::val mirror);
    // problem(text): a step's save failed.
    void SetSaveListener(emscripten::val problem);

    // ---- access-code window: "" or the message to show ----
    std::string LoadAccessWindow() { return access_.Load().message; }
    // The start found a file it may not touch (too large, or, after a valid
    // code, damaged and no copy could be kept): the page says why
    // (LastSaveProblem after a code) and ends, saving nothing.
    bool StartRefused() const { return access_.StartRefused(); }
    // "empty", "accepted" or "refused"; a valid code whose start was then
    // refused is "accepted", with StartRefused() and its LastSaveProblem().
    std::string EnterAccessCode(const std::string& code);
    // Why the accepted code's configuration could not be saved, "" when it was.
    const std::string& LastSaveProblem() const { return lastSaveProblem_; }

    // ---- main frame ----
    // The channel editor's load (working set) and the first connection
    // request; the devices are the page's port for each port number. Returns
    // what to say: a load problem and the start's notice of damaged files.
    std::string OpenFrame(const std::vector<std::string>& devices);
    // Another tab edits: the stored set shown as it is, nothing written
    // anywhere that lasts and no port opened. "" or what to say.
    std::string OpenReadOnly();
    // Exit: the whole set saved. "" or why it was not.
    std::string ExitProgram();
    // After a kept Exit: the port closed.
    void EndProgram();
    // The page going away: the channel files, as the desktop's channel window.
    std::string CloseEditor();

    std::string Caption() const;
    std::string Cell(int row, int col) const { return ws_.channels.GetCell(row, col); }
    const std::string& PortName() const { return ws_.portName; }
    int ChannelMode() const { return ws_.channelMode; }
    int Edition() const { return ws_.edition; }
    std::string BackupFolder() const;
    // The windows that edit the workspace work on it directly, as on the desktop.
    Workspace& Ws() { return ws_; }
    // The grid's editing, the Mode menu, New File and the Edit menu.
    EditSession* Editing() { return &editing_; }

    // ---- link ----
    void SetDevices(const std::vector<std::string>& devices);
    void ReconnectPort();
    // The connection doctor or the fleet window takes the port (ReconnectPort
    // takes it back); false while a transfer holds it.
    bool ReleasePort();
    void StartAutoDetect();
    void RequestWrite();
    void RequestRead();
    // Compare with Radio and Show Changes before Write: the image goes to onImageForCompare.
    void RequestCompareRead();
    void BytesReceived(const std::vector<uint8_t>& bytes);
    void LineError();
    void PortFailure(const std::string& reason);
    void Service();
    // Milliseconds on the page clock, or -1 when nothing is scheduled.
    double NextDeadline() const;
    bool Connected() const { return engine_ && engine_->Connected(); }
    bool Transferring() const { return engine_ && (engine_->WriteRunning() || engine_->ReadRunning()); }
    bool PortInUse() const { return engine_ && engine_->PortInUse(); }
    bool AutoDetectRunning() const { return engine_ && engine_->AutoDetectRunning(); }
    void SetWakeCallback(emscripten::val wake);
    // Port > Verify after Write, for this engine and the one the frame makes.
    void SetVerifyAfterWrite(bool on);
    // The label, port menu tick and write/read buttons shown again.
    void ShowLinkStatus();

private:
    Workspace ws_;
    EditSession editing_{ws_};
    AccessCodeStep access_{ws_};
    PageLinkStorage storage_{ws_};  // backups and a read's files, for the engine
    std::unique_ptr<StorageMirror> mirror_;
    PageClock clock_;
    JsSerialPort port_;
    JsListener listener_;
    std::unique_ptr<LinkEngine> engine_;
    emscripten::val wake_ = emscripten::val::undefined();
    std::string lastSaveProblem_;
    bool verifyAfterWrite_ = false;
};

}  // namespace corvane::web
