#pragma once
// Programming a fleet: the plan written into one radio after the other, each
// with its own Name ID and DTMF ID, read back, compared and logged.
//
// A state machine on the link engine's clock, like the engine itself. Its
// owner (the CLI, a window, a test)
//   - builds a LinkEngine over LinkWorkspace() with this run as the engine's
//     listener, and hands the engine to Start();
//   - calls Service() whenever the clock reaches NextDeadline() (the engine
//     keeps its own deadlines);
//   - calls Stop() for Stop or Ctrl+C: at any moment, the log stays valid.
// For each unit: repeated connection tests until a radio answers; the write
// of the plan with the unit's two fields; a read-back compared with the image
// written; one row in the log. Then, when another unit follows, the tests go
// on until the radio stops answering (taken off the cable) and the next one
// answers. A unit that fails is logged as failed and the run goes on.
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "fleet/FleetLog.h"
#include "fleet/UnitsList.h"
#include "link/LinkEngine.h"

namespace corvane {

struct FleetUnitPlan {
    FleetUnit unit;
    MemoryImage image{};  // the plan with the unit's two fields
    std::string sha256;
    // An earlier row of the log shows this very image verified in this unit.
    bool alreadyVerified = false;
};

struct FleetPlan {
    Workspace plan;
    std::vector<FleetUnitPlan> units;
};

// Checks the plan and builds every unit's image before any radio is touched;
// units whose image the log already shows verified are marked for skipping.
Result<FleetPlan> PrepareFleet(const Workspace& plan, const std::vector<FleetUnit>& units,
                               const std::vector<FleetLogRow>& earlierRows);

enum class FleetPhase { Idle, WaitingForRadio, Writing, ReadingBack, WaitingForUnplug, Finished, Stopped };

struct FleetSummary {
    int verified = 0;
    int failed = 0;
    int skipped = 0;
    bool stopped = false;
};

class FleetListener {
public:
    virtual ~FleetListener() = default;
    // The phase or the unit changed; FleetRun::Prompt() says what to do now.
    virtual void OnPhaseChanged(FleetPhase /*phase*/) {}
    // Bytes written or read back, 0..kImageLength.
    virtual void OnProgress(int /*value*/) {}
    // Why the port cannot be opened ("" once it opens again).
    virtual void OnPortProblem(const std::string& /*text*/) {}
    virtual void OnUnitSkipped(const FleetUnit& /*unit*/) {}
    virtual void OnRowLogged(const FleetLogRow& /*row*/) {}
    // The log refused a row: the run stops, as no radio may go unrecorded.
    virtual void OnLogFailed(const std::string& /*text*/) {}
    virtual void OnFinished(const FleetSummary& /*summary*/) {}
};

class FleetRun final : public LinkListener, public LinkStorage {
public:
    struct Settings {
        std::string port;               // as the log names it: "COM5" or a device path
        int64_t testIntervalMs = 1000;  // one connection test per interval while waiting
        int unplugMisses = 2;           // unanswered tests in a row that mean the radio was taken off
    };
    using WallClock = std::function<std::chrono::system_clock::time_point()>;

    FleetRun(FleetPlan plan, Settings settings, const LinkClock& clock, FleetLog& log, FleetListener& listener,
             WallClock wallClock);
    FleetRun(const FleetRun&) = delete;
    FleetRun& operator=(const FleetRun&) = delete;

    // The workspace the engine must be built over: the plan, with the
    // current unit's fields put in before each write.
    Workspace& LinkWorkspace() { return unitWs_; }
    // Where the images written and read back are kept; none when not set.
    void SetBackupStorage(LinkStorage* backups) { backups_ = backups; }

    void Start(LinkEngine& engine);
    // Ends the run at once: a write or read-back under way is cut off (the
    // port closed, the engine shut down) and logged as stopped.
    void Stop();
    void Service();
    std::optional<int64_t> NextDeadline() const;

    FleetPhase Phase() const { return phase_; }
    bool Done() const { return phase_ == FleetPhase::Finished || phase_ == FleetPhase::Stopped; }
    // The unit being waited for, written or read back; nullptr when none.
    const FleetUnit* CurrentUnit() const;
    const FleetSummary& Summary() const { return summary_; }
    // What the user is asked to do or shown: "Connect radio 2 of 5: Unit-02".
    std::string Prompt() const;

    // ---- LinkListener ----
    void OnProgress(int value) override;
    void OnMessage(const std::string& text, MessageKind kind) override;
    void OnImageSent(const MemoryImage& image) override;
    void OnImageReceived(std::span<const uint8_t> image) override;
    // ---- LinkStorage: backups go on; a read-back is only compared ----
    Result<std::string> KeepBackup(std::span<const uint8_t> image, int16_t edition, BackupKind kind) override;
    Status AcceptRead(std::span<const uint8_t> image, Workspace& ws) override;

private:
    bool Waiting() const { return phase_ == FleetPhase::WaitingForRadio || phase_ == FleetPhase::WaitingForUnplug; }
    bool TransferDone() const;
    void SetPhase(FleetPhase phase);
    void ServiceTests(int64_t now);
    void ReportPortProblem();
    void OnTestAnswered();
    void OnTestMissed();
    void BeginWrite();
    void AfterWrite();
    void AfterReadBack();
    void FinishUnit(UnitOutcome outcome, const std::string& details);
    bool AppendRow(UnitOutcome outcome, const std::string& details);
    // From index on, the first unit still to program; the count when none.
    std::size_t NextToProgram(std::size_t index) const;
    void MoveTo(std::size_t index);
    void Finish();
    void StopNow();
    // The port closed, the engine shut down, the run over.
    void EndStopped();
    std::string Reason(const std::string& step, const std::string& fallback) const;

    FleetPlan plan_;
    Settings settings_;
    const LinkClock& clock_;
    FleetLog& log_;
    FleetListener& listener_;
    WallClock wallClock_;
    Workspace unitWs_;
    LinkEngine* engine_ = nullptr;
    LinkStorage* backups_ = nullptr;

    FleetPhase phase_ = FleetPhase::Idle;
    FleetSummary summary_;
    std::size_t index_ = 0;
    std::optional<int64_t> testStartedAt_;
    int64_t nextTestAt_ = 0;
    int misses_ = 0;
    std::string portProblem_;
    int progress_ = 0;
    std::optional<MemoryImage> sent_;
    std::optional<MemoryImage> readBack_;
    std::string lastProblem_;
    int64_t lastServiceMs_ = 0;
    bool inService_ = false;
    bool stopRequested_ = false;
};

}  // namespace corvane
