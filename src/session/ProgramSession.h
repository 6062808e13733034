#pragma once
// One run of the program, the same object behind the desktop and the page:
// the workspace, the access-code step, the undo history (with the grid's
// editing as the page runs it), the channel editor's load and close, Exit,
// and the radio link. The face lends what only it has (how its link is built
// and who listens to it) and says what the calls return.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "link/LinkEngine.h"
#include "link/LinkListener.h"
#include "link/LinkOwner.h"
#include "model/StepHistory.h"
#include "model/Workspace.h"
#include "session/AccessCodeStep.h"
#include "session/EditSession.h"

namespace corvane {

// When a run writes its files.
enum class SavePolicy {
    AtSavePoints,  // the desktop: at its save points (Exit, the editor closing, a step's own file)
    EveryStep,     // the page: the whole set after every step, so a closed tab loses nothing
};

class ProgramSession {
public:
    ProgramSession(std::string programFolder, SavePolicy policy, LinkFactory link);
    ~ProgramSession();
    ProgramSession(const ProgramSession&) = delete;
    ProgramSession& operator=(const ProgramSession&) = delete;

    Workspace& Ws() { return ws_; }
    const Workspace& Ws() const { return ws_; }

    // ---- access-code window ----
    AccessCodeStep& Access() { return access_; }
    AccessWindowLoad LoadAccessWindow() { return access_.Load(); }
    AccessEntry EnterAccessCode(std::string_view code) { return access_.Enter(code); }
    // The load or the code ended the start: the face says why and ends, saving nothing.
    bool StartRefused() const { return access_.StartRefused(); }

    // ---- undo and editing ----
    // The run's one undo history: the desktop's Edit menu and the page's.
    StepHistory& History() { return editing_.History(); }
    // The grid's editing, the Mode menu, New File and the Edit menu as the page runs them.
    EditSession* Editing() { return &editing_; }

    // ---- main frame ----
    // The channel editor's load: the working set, the edition's plan.
    Status LoadChannelEditor();
    // The link, built once for the frame's listener; null when the face has none.
    LinkEngine* OpenLink(LinkListener& listener);
    LinkEngine* Link() const { return link_.Engine(); }
    // The frame's load in one call: the channel editor's load, the link for
    // listener and its first connection request. Returns what to say: a load
    // problem and the start's notice of damaged files.
    std::string OpenFrame(LinkListener& listener);
    // Another run edits: the stored set shown as it is, nothing written
    // anywhere that lasts and no port opened. "" or what to say.
    std::string OpenReadOnly();
    // Exit: the whole set saved as the policy says; the port stays open
    // until EndProgram, as a failed save may keep the program going.
    Status ExitProgram();
    // After Exit: the port closed.
    void EndProgram();
    // The channel editor closing with its window or the page: the channel
    // files (written only when they differ, for a run that saved every step)
    // and, on the desktop, the port closed.
    Status CloseEditor();
    // The link's listener is going away: nothing reports to it any more.
    void CloseLink() { link_.Close(); }

    std::string Caption() const;
    std::string Cell(int row, int col) const { return ws_.channels.GetCell(row, col); }
    const std::string& PortName() const { return ws_.portName; }
    int ChannelMode() const { return ws_.channelMode; }
    int Edition() const { return ws_.edition; }
    std::string BackupFolder() const;

    // ---- link ----
    void SetPortMap(PortMap map);
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
    bool Connected() const { return Link() && Link()->Connected(); }
    bool Transferring() const { return Link() && (Link()->WriteRunning() || Link()->ReadRunning()); }
    bool PortInUse() const { return Link() && Link()->PortInUse(); }
    bool AutoDetectRunning() const { return Link() && Link()->AutoDetectRunning(); }
    // Called when the engine's next deadline moved earlier (a face whose
    // link does not keep its own timers).
    void SetWakeCallback(std::function<void()> wake);
    // Port > Verify after Write, for the link now and the one the frame makes.
    void SetVerifyAfterWrite(bool on);
    // The label, port menu tick and write/read buttons shown again.
    void ShowLinkStatus();
    // The fleet window's link is built as the session's own.
    const LinkFactory& LinkMaker() const { return link_.Factory(); }

private:
    Workspace ws_;
    SavePolicy policy_;
    EditSession editing_{ws_};
    AccessCodeStep access_{ws_};
    SessionLink link_;
    std::function<void()> wake_;
    bool verifyAfterWrite_ = false;
};

}  // namespace corvane
