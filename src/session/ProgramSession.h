#pragma once
// One run of the program over a link, as a face that saves after every step
// runs it: the workspace, its editing, the access-code step and the link
// engine on the clock, port and listener the face supplies. The face drives
// it: received bytes in, Service() at NextDeadline(), user actions as
// requests, and says what the calls return.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "link/LinkClock.h"
#include "link/LinkEngine.h"
#include "link/LinkListener.h"
#include "link/SerialPort.h"
#include "model/Workspace.h"
#include "session/AccessCodeStep.h"
#include "session/EditSession.h"
#include "session/WholeSetLinkStorage.h"

namespace corvane {

// What a face lends the run's link; each outlives the session.
struct LinkPlatform {
    const LinkClock& clock;
    SerialPort& port;
    LinkListener& listener;
};

class ProgramSession {
public:
    ProgramSession(std::string programFolder, LinkPlatform platform);
    ~ProgramSession();
    ProgramSession(const ProgramSession&) = delete;
    ProgramSession& operator=(const ProgramSession&) = delete;

    // ---- access-code window ----
    AccessWindowLoad LoadAccessWindow() { return access_.Load(); }
    AccessEntry EnterAccessCode(std::string_view code) { return access_.Enter(code); }
    // The load or the code ended the start: the face says why and ends, saving nothing.
    bool StartRefused() const { return access_.StartRefused(); }

    // ---- main frame ----
    // The channel editor's load (working set) and the first connection
    // request; the devices are the face's port for each port number. Returns
    // what to say: a load problem and the start's notice of damaged files.
    std::string OpenFrame(const std::vector<std::string>& devices);
    // Another run edits: the stored set shown as it is, nothing written
    // anywhere that lasts and no port opened. "" or what to say.
    std::string OpenReadOnly();
    // Exit: the whole set saved. "" or why it was not.
    std::string ExitProgram();
    // After a kept Exit: the port closed.
    void EndProgram();
    // The face going away: the channel files, as the desktop's channel window.
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
    // Compare with Radio and Show Changes before Write: the image goes to OnImageForCompare.
    void RequestCompareRead();
    void BytesReceived(const std::vector<uint8_t>& bytes);
    void LineError();
    void PortFailure(const std::string& reason);
    void Service();
    // Milliseconds on the face's clock, or -1 when nothing is scheduled.
    double NextDeadline() const;
    bool Connected() const { return engine_ && engine_->Connected(); }
    bool Transferring() const { return engine_ && (engine_->WriteRunning() || engine_->ReadRunning()); }
    bool PortInUse() const { return engine_ && engine_->PortInUse(); }
    bool AutoDetectRunning() const { return engine_ && engine_->AutoDetectRunning(); }
    // Called when the engine's next deadline moved earlier.
    void SetWakeCallback(std::function<void()> wake) { wake_ = std::move(wake); }
    // Port > Verify after Write, for this engine and the one the frame makes.
    void SetVerifyAfterWrite(bool on);
    // The label, port menu tick and write/read buttons shown again.
    void ShowLinkStatus();

private:
    Workspace ws_;
    EditSession editing_{ws_};
    AccessCodeStep access_{ws_};
    WholeSetLinkStorage storage_{ws_};  // backups and a read's files, for the engine
    LinkPlatform platform_;
    std::unique_ptr<LinkEngine> engine_;
    std::function<void()> wake_;
    bool verifyAfterWrite_ = false;
};

}  // namespace corvane
