#pragma once
// The radio link: connection test, automatic port detection, handshake and
// the two transfers, as one state machine on one thread.
//
// The engine never blocks and never sleeps. Its owner (the Qt LinkDriver,
// the CLI, or a test) must
//   - push received bytes, line errors and port failures in
//     (OnBytesReceived, OnLineError, OnPortFailure), and
//   - call Service() whenever the clock reaches NextDeadline(); the wake
//     callback announces that the deadline may have moved earlier.
// The four logical timers (Timer1 25 ms write pacer, Timer2 10 ms receive
// tick, Timer3 20 ms detection, Timer4 10 ms handshake tick) and every wait
// of the link (Delay, output drain, handshake wait) live inside the engine.
// A late Service() fires each timer at most once and a late tick delays the
// ones after it: ticks are never bunched, so the radio never gets two image
// bytes closer than the pacer interval and a stalled loop fakes no silence.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "image/MemoryImage.h"
#include "link/CommandFrame.h"
#include "link/LineErrorWatch.h"
#include "link/LinkClock.h"
#include "link/LinkJobs.h"
#include "link/LinkListener.h"
#include "link/LinkStorage.h"
#include "link/LinkTimers.h"
#include "link/PortMap.h"
#include "link/SerialPort.h"
#include "model/Status.h"
#include "model/Workspace.h"

namespace corvane {

// A read gives up when no complete image arrived this long after the read
// command went out (the radio sends it in about 9 s).
constexpr int64_t kReadGiveUpMs = 20000;

// Messages the engine ends a handshake or a transfer with; a face that must
// tell success from failure (the CLI's exit status) compares against them.
inline const std::string kHandshakeFailure = "Connection Failure during handshake !!!";
inline const std::string kWriteComplete = "DOWNLOAD COMPLETE";
inline const std::string kReadComplete = "UPLOAD COMPLETE";
inline const std::string kVerifyComplete = "VERIFY COMPLETE";

class LinkEngine {
public:
    LinkEngine(Workspace& ws, SerialPort& port, LinkListener& listener, const LinkClock& clock,
               PortMap portMap = {});
    LinkEngine(const LinkEngine&) = delete;
    LinkEngine& operator=(const LinkEngine&) = delete;

    // ---- requests (user actions) ----
    // Port menu and start-up: clear Connected, re-open PortName, send a
    // connection request; the receive tick recognises the answer. Refused
    // while the port is in use: a request in the middle of an image would
    // shift the radio's memory.
    void ReconnectPort();
    // Toolbar "auto": probe COM PortName, PortName+1, ... wrapping 12 -> 1.
    void StartAutoDetect();
    // Toolbar "program" after its own checks: Connected, no detection, port
    // open ("[4] Could not Open COM: "), no write running, a receive
    // frequency on channel 1 ("There is no Frequency Datas ..."), and an
    // image BuildImage accepts (its refusal is shown; nothing is sent).
    void RequestWrite();
    // Toolbar "upload": Connected, no detection, port open
    // ("[5] Could not Open COM: "), no read running.
    void RequestRead();
    // A read for a comparison (Compare with Radio, Show Changes before
    // Write): checked and run as Up is, but the image only goes to the
    // listener (OnImageForCompare); the workspace is not changed and no
    // completion message is shown.
    void RequestCompareRead();
    // Program end: stop everything and close the port.
    void Shutdown();
    // Lets go of the port for the connection doctor: the port closes and the
    // link shows it is not connected until ReconnectPort. Refused while the
    // port is in use; false then.
    bool ReleasePort();

    // ---- events from the port's owner ----
    void OnBytesReceived(std::span<const uint8_t> bytes);
    // Break, framing, overrun, parity and the like: the receive buffer is
    // lost, and during a read the rest of the burst too (up to its silence).
    void OnLineError();
    // The port went away (unplugged, write refused): the link shows
    // "Connection Failed..." and Down/Up are disabled until it answers again.
    void OnPortFailure(const std::string& reason);

    // ---- time ----
    // Runs every timer tick and wait that is due at the clock's time.
    void Service();
    // When Service() must run next; nullopt when nothing is scheduled.
    std::optional<int64_t> NextDeadline() const;
    // Called (synchronously) whenever NextDeadline may have moved earlier.
    void SetWakeCallback(std::function<void()> wake) { wake_ = std::move(wake); }

    // ---- state ----
    bool Connected() const { return connected_; }
    bool WriteRunning() const { return writeRunning_; }
    bool ReadRunning() const { return readRunning_; }
    bool AutoDetectRunning() const { return autoDetectRunning_; }
    // The read-back after a write is pending or running.
    bool VerifyRunning() const { return verifyPending_; }
    // A transfer (with its handshake and read-back) or the detection owns the
    // port: nothing may re-open it or replace the channel table meanwhile.
    bool PortInUse() const;
    bool PortOpen() const { return port_.IsOpen(); }
    // A handshake, frame or transfer set-up is in progress.
    bool Busy() const { return !jobs_.Empty(); }
    int RxCount() const { return rxCount_; }
    int SilenceCounter() const { return silenceCounter_; }
    int Progress() const { return progress_; }
    int TxIndex() const { return txIndex_; }
    // Why the last OpenCommPort left the port closed (ok when it opened).
    const Status& LastOpenStatus() const { return lastOpenStatus_; }
    // The device PortName maps to ("" for no port).
    std::string CurrentDevice() const { return portMap_.DeviceForPort(ws_.portName); }
    const PortMap& Ports() const { return portMap_; }
    void SetPortMap(PortMap portMap) { portMap_ = std::move(portMap); }
    const LinkTimers& Timers() const { return timers_; }

    // Where sent and received images are kept and a read is taken over.
    // Without one: no backups, and a read is decoded into the workspace only.
    void SetStorage(LinkStorage* storage) { storage_ = storage; }

    // Verify after Write: read the radio back after "DOWNLOAD COMPLETE" and
    // compare with the image sent. The workspace is not changed by it.
    void SetVerifyAfterWrite(bool on) { verifyAfterWrite_ = on; }
    bool VerifyAfterWrite() const { return verifyAfterWrite_; }

    // ShowLinkStatus: label, port menu tick and the write/read buttons.
    void ShowLinkStatus();

private:
    void OpenCommPort();
    void AppendSendFrame(LinkJobs::Job& job, CommandFrame frame);
    void AppendHandshake(LinkJobs::Job& job);
    // After a transfer's handshake: false, with the failure shown, when the radio did not answer.
    bool ContinueAfterHandshake();
    void StartWrite();
    // Handshake, read command, collection; verify: the read-back of a write;
    // compare: a read for a comparison only.
    void StartRead(bool verify, bool compare = false);
    void BeginImageSend();
    void FinishWrite();
    void StartVerify();

    void Timer1Tick();
    void Timer2Tick();
    void Timer3Tick();
    void Timer4Tick();
    // Step 1 of the receive and handshake ticks; true when it counted.
    bool CountDownSilence();
    void ParseReplyFrame();
    void CompleteRead();
    void CompleteVerify(std::span<const uint8_t> readBack);
    void CompleteCompareRead(std::span<const uint8_t> image);
    void ClearRxBuffer();
    void CheckLineErrors();

    // A backup that fails is reported to the listener; the transfer goes on.
    void SaveBackup(std::span<const uint8_t> image, int16_t edition, BackupKind kind);
    Status TakeOverRead(std::span<const uint8_t> image);

    void FailWrite(const std::string& reason);
    void FailRead(const std::string& reason);
    void SetProgress(int value);
    void SetLabel(const std::string& text, StatusColour colour);
    void DisableTransferButtons();
    void EnableToolbarAfterTransfer();
    // Tells the listener when PortInUse changed.
    void UpdatePortInUse();
    void Wake();

    Workspace& ws_;
    SerialPort& port_;
    LinkListener& listener_;
    const LinkClock& clock_;
    PortMap portMap_;
    std::function<void()> wake_;

    LinkTimers timers_;
    LinkJobs jobs_;

    std::array<uint8_t, kLinkBufferSize> rxBuffer_{};
    int rxCount_ = 0;
    int silenceCounter_ = 0;
    bool sending_ = false;
    bool connected_ = false;
    bool writeRunning_ = false;
    bool readRunning_ = false;
    bool autoDetectRunning_ = false;
    bool transferStarting_ = false;
    bool verifyAfterWrite_ = false;
    bool verifyPending_ = false;   // from the write's last byte to the verdict
    bool verifying_ = false;       // the running read is the read-back
    bool comparing_ = false;       // the running read is for a comparison only
    bool spoiledBurst_ = false;    // a line error hit this burst: drop it up to its silence
    bool portInUseShown_ = false;
    bool toolbarLocked_ = false;   // between DisableTransferButtons and EnableToolbarAfterTransfer

    LinkStorage* storage_ = nullptr;
    LineErrorWatch lineErrors_;
    MemoryImage image_{};
    int txIndex_ = 0;
    int progress_ = 0;
    std::optional<int64_t> readGiveUpAt_;
    Status frameWriteStatus_;
    Status lastOpenStatus_;
    StatusColour labelColour_ = StatusColour::Red;

    int probeWait_ = 0;
    int probePort_ = 0;
    int probeTries_ = 0;
};

}  // namespace corvane
