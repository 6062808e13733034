#include "fleet/FleetRun.h"

#include <algorithm>
#include <utility>

#include "image/ImageDiff.h"
#include "image/ImageDigest.h"
#include "model/NumberParse.h"

namespace corvane {
namespace {

// How often a transfer's end and a test's answer are looked for.
constexpr int64_t kPollMs = 50;
// A log row names this many differences and counts the rest.
constexpr std::size_t kDifferencesLogged = 50;

std::string DifferencesText(const std::vector<Difference>& differences) {
    std::string text;
    const std::size_t shown = std::min(differences.size(), kDifferencesLogged);
    for (std::size_t i = 0; i < shown; ++i) text += (i ? "; " : "") + DifferenceLine(differences[i]);
    if (differences.size() > shown) text += "; ... (" + std::to_string(differences.size() - shown) + " more)";
    return text;
}

Workspace WithUnitFields(Workspace ws, const FleetUnit& unit) {
    ws.settings.NameId = unit.nameId;
    ws.settings.DtmfId = unit.dtmfId;
    return ws;
}

}  // namespace

Result<FleetPlan> PrepareFleet(const Workspace& plan, const std::vector<FleetUnit>& units,
                               const std::vector<FleetLogRow>& earlierRows) {
    FleetPlan prepared{plan, {}};
    // A window's grid must not follow the copies the run works on.
    prepared.plan.channels.SetChangeListener({});
    if (LenientNumber(prepared.plan.channels.GetCell(1, ColRxFreq)) == 0) {
        return Status::Error("channel 1 has no RX frequency: a radio takes no plan without one");
    }
    if (const Result<MemoryImage> image = BuildImage(prepared.plan); !image) return image.status();
    for (const FleetUnit& unit : units) {
        const Result<MemoryImage> image = BuildImage(WithUnitFields(prepared.plan, unit));
        if (!image) return Status::Error("row " + std::to_string(unit.row) + " (" + unit.label + "): " + image.message());
        FleetUnitPlan unitPlan{unit, *image, Sha256Hex(*image), false};
        unitPlan.alreadyVerified = std::any_of(earlierRows.begin(), earlierRows.end(), [&unitPlan](const FleetLogRow& row) {
            return row.outcome == UnitOutcome::Verified && row.label == unitPlan.unit.label && row.sha256 == unitPlan.sha256;
        });
        prepared.units.push_back(std::move(unitPlan));
    }
    return prepared;
}

FleetRun::FleetRun(FleetPlan plan, Settings settings, const LinkClock& clock, FleetLog& log, FleetListener& listener,
                   WallClock wallClock)
    : plan_(std::move(plan)),
      settings_(std::move(settings)),
      clock_(clock),
      log_(log),
      listener_(listener),
      wallClock_(std::move(wallClock)),
      unitWs_(plan_.plan) {}

// ---------------------------------------------------------------- driving

void FleetRun::Start(LinkEngine& engine) {
    if (phase_ != FleetPhase::Idle) return;
    engine_ = &engine;
    lastServiceMs_ = clock_.NowMs();
    engine.SetStorage(this);
    engine.SetVerifyAfterWrite(false);  // the run reads back and compares itself
    for (const FleetUnitPlan& unit : plan_.units) {
        if (!unit.alreadyVerified) continue;
        ++summary_.skipped;
        listener_.OnUnitSkipped(unit.unit);
    }
    MoveTo(NextToProgram(0));
}

void FleetRun::Service() {
    if (engine_ == nullptr || Done()) return;
    inService_ = true;
    lastServiceMs_ = clock_.NowMs();
    switch (phase_) {
        case FleetPhase::WaitingForRadio:
        case FleetPhase::WaitingForUnplug: ServiceTests(clock_.NowMs()); break;
        case FleetPhase::Writing:
            if (TransferDone()) AfterWrite();
            break;
        case FleetPhase::ReadingBack:
            if (TransferDone()) AfterReadBack();
            break;
        default: break;
    }
    inService_ = false;
    if (stopRequested_) StopNow();
}

std::optional<int64_t> FleetRun::NextDeadline() const {
    if (engine_ == nullptr || Done() || phase_ == FleetPhase::Idle) return std::nullopt;
    if (Waiting() && !testStartedAt_) return nextTestAt_;
    return lastServiceMs_ + kPollMs;
}

void FleetRun::Stop() {
    if (inService_) {
        stopRequested_ = true;
        return;
    }
    StopNow();
}

void FleetRun::StopNow() {
    stopRequested_ = false;
    if (Done()) return;
    const bool writing = phase_ == FleetPhase::Writing;
    const bool readingBack = phase_ == FleetPhase::ReadingBack;
    if (engine_ != nullptr) engine_->Shutdown();
    if (writing || readingBack) {
        const std::string where = writing ? "stopped during the write, after " + std::to_string(progress_) + " of " +
                                                std::to_string(kImageLength) + " bytes"
                                          : "stopped during the read-back";
        AppendRow(UnitOutcome::Stopped, where);
    }
    EndStopped();
}

void FleetRun::EndStopped() {
    if (engine_ != nullptr) engine_->Shutdown();
    summary_.stopped = true;
    SetPhase(FleetPhase::Stopped);
    listener_.OnFinished(summary_);
}

bool FleetRun::TransferDone() const { return !engine_->PortInUse() && !engine_->Busy(); }

void FleetRun::SetPhase(FleetPhase phase) {
    phase_ = phase;
    listener_.OnPhaseChanged(phase);
}

// ---------------------------------------------------------------- connection tests

void FleetRun::ServiceTests(int64_t now) {
    if (testStartedAt_) {
        const bool answered = engine_->Connected() && !engine_->Busy();
        if (!answered && now < *testStartedAt_ + settings_.testIntervalMs) return;
        testStartedAt_.reset();
        if (answered) {
            OnTestAnswered();
        } else {
            OnTestMissed();
        }
        if (!Waiting()) return;
    }
    if (now < nextTestAt_) return;
    testStartedAt_ = now;
    nextTestAt_ = now + settings_.testIntervalMs;
    engine_->ReconnectPort();
    ReportPortProblem();
}

void FleetRun::ReportPortProblem() {
    const Status& open = engine_->LastOpenStatus();
    const std::string problem = open.ok() ? std::string() : open.message();
    if (problem == portProblem_) return;
    portProblem_ = problem;
    listener_.OnPortProblem(problem);
}

void FleetRun::OnTestAnswered() {
    if (phase_ == FleetPhase::WaitingForRadio) {
        BeginWrite();
        return;
    }
    misses_ = 0;  // the radio just programmed is still on the cable
}

void FleetRun::OnTestMissed() {
    if (phase_ != FleetPhase::WaitingForUnplug) return;
    if (++misses_ >= settings_.unplugMisses) MoveTo(NextToProgram(index_ + 1));
}

// ---------------------------------------------------------------- one unit

void FleetRun::BeginWrite() {
    const FleetUnit& unit = plan_.units[index_].unit;
    unitWs_.settings.NameId = unit.nameId;
    unitWs_.settings.DtmfId = unit.dtmfId;
    sent_.reset();
    readBack_.reset();
    lastProblem_.clear();
    progress_ = 0;
    SetPhase(FleetPhase::Writing);
    engine_->RequestWrite();
    if (!engine_->PortInUse()) FinishUnit(UnitOutcome::Failed, Reason("write", "the write did not start"));
}

void FleetRun::AfterWrite() {
    if (!sent_) {
        FinishUnit(UnitOutcome::Failed, Reason("write", "the write did not finish"));
        return;
    }
    if (*sent_ != plan_.units[index_].image) {
        FinishUnit(UnitOutcome::Failed, "write: the image sent is not the one planned for this radio");
        return;
    }
    lastProblem_.clear();
    progress_ = 0;
    SetPhase(FleetPhase::ReadingBack);
    engine_->RequestRead();
    if (!engine_->PortInUse()) FinishUnit(UnitOutcome::Failed, Reason("read-back", "the radio no longer answers"));
}

void FleetRun::AfterReadBack() {
    if (!readBack_) {
        FinishUnit(UnitOutcome::Failed, Reason("read-back", "no image came back"));
        return;
    }
    const std::vector<Difference> differences = CompareImages(plan_.units[index_].image, *readBack_);
    FinishUnit(differences.empty() ? UnitOutcome::Verified : UnitOutcome::Failed, DifferencesText(differences));
}

std::string FleetRun::Reason(const std::string& step, const std::string& fallback) const {
    return step + ": " + (lastProblem_.empty() ? fallback : lastProblem_);
}

void FleetRun::FinishUnit(UnitOutcome outcome, const std::string& details) {
    if (!AppendRow(outcome, details)) {
        EndStopped();
        return;
    }
    const std::size_t next = NextToProgram(index_ + 1);
    if (next == plan_.units.size()) {
        MoveTo(next);
        return;
    }
    // The next radio is asked for once this one leaves the cable; a radio
    // that no longer answered has already missed one test.
    misses_ = engine_->Connected() ? 0 : 1;
    testStartedAt_.reset();
    nextTestAt_ = clock_.NowMs();
    SetPhase(FleetPhase::WaitingForUnplug);
}

bool FleetRun::AppendRow(UnitOutcome outcome, const std::string& details) {
    const FleetUnitPlan& unit = plan_.units[index_];
    const FleetLogRow row{FleetTimeText(wallClock_()), unit.unit.label, unit.unit.nameId, unit.unit.dtmfId,
                          settings_.port, outcome, unit.sha256, details};
    if (const Status appended = log_.Append(row); !appended) {
        listener_.OnLogFailed(appended.message());
        return false;
    }
    if (outcome == UnitOutcome::Verified) ++summary_.verified;
    if (outcome == UnitOutcome::Failed) ++summary_.failed;
    listener_.OnRowLogged(row);
    return true;
}

std::size_t FleetRun::NextToProgram(std::size_t index) const {
    while (index < plan_.units.size() && plan_.units[index].alreadyVerified) ++index;
    return index;
}

void FleetRun::MoveTo(std::size_t index) {
    index_ = index;
    if (index_ >= plan_.units.size()) {
        Finish();
        return;
    }
    misses_ = 0;
    testStartedAt_.reset();
    nextTestAt_ = clock_.NowMs();
    SetPhase(FleetPhase::WaitingForRadio);
}

void FleetRun::Finish() {
    SetPhase(FleetPhase::Finished);
    listener_.OnFinished(summary_);
}

// ---------------------------------------------------------------- texts

const FleetUnit* FleetRun::CurrentUnit() const {
    if (Done() || phase_ == FleetPhase::Idle || index_ >= plan_.units.size()) return nullptr;
    return &plan_.units[index_].unit;
}

std::string FleetRun::Prompt() const {
    const std::string count = std::to_string(plan_.units.size());
    const auto radio = [&](std::size_t i) {
        return "radio " + std::to_string(i + 1) + " of " + count + ": " + plan_.units[i].unit.label;
    };
    const std::string tally = std::to_string(summary_.verified) + " verified, " + std::to_string(summary_.failed) +
                              " failed, " + std::to_string(summary_.skipped) + " skipped";
    switch (phase_) {
        case FleetPhase::Idle: return "Not started";
        case FleetPhase::WaitingForRadio: return "Connect " + radio(index_);
        case FleetPhase::Writing: return "Writing " + radio(index_);
        case FleetPhase::ReadingBack: return "Reading back " + radio(index_);
        case FleetPhase::WaitingForUnplug:
            return "Disconnect " + plan_.units[index_].unit.label + ", then connect " + radio(NextToProgram(index_ + 1));
        case FleetPhase::Finished: return "Done: " + tally;
        case FleetPhase::Stopped: return "Stopped: " + tally;
    }
    return {};
}

// ---------------------------------------------------------------- from the engine

void FleetRun::OnProgress(int value) {
    if (value > 0) progress_ = value;
    listener_.OnProgress(value);
}

void FleetRun::OnMessage(const std::string& text, MessageKind kind) {
    // The completion messages say what OnImageSent and OnImageReceived say.
    if (kind != MessageKind::Exclamation) lastProblem_ = text;
}

void FleetRun::OnImageSent(const MemoryImage& image) { sent_ = image; }

void FleetRun::OnImageReceived(std::span<const uint8_t> image) {
    MemoryImage received{};
    std::copy_n(image.begin(), std::min(image.size(), received.size()), received.begin());
    readBack_ = received;
}

Result<std::string> FleetRun::KeepBackup(std::span<const uint8_t> image, int16_t edition, BackupKind kind) {
    if (backups_ == nullptr) return std::string();
    return backups_->KeepBackup(image, edition, kind);
}

Status FleetRun::AcceptRead(std::span<const uint8_t>, Workspace&) { return Status::Ok(); }

}  // namespace corvane
