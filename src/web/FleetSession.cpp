#include "web/FleetSession.h"

#include <chrono>

#include "fleet/FleetStart.h"
#include "image/ImageDigest.h"

namespace corvane::web {

FleetSession::~FleetSession() {
    if (Running()) run_->Stop();
    engine_.reset();
}

template <typename... Args>
void FleetSession::Notify(const char* method, Args&&... args) {
    if (listener_.isUndefined() || listener_.isNull() || listener_[method].isUndefined()) return;
    listener_.call<void>(method, std::forward<Args>(args)...);
}

std::string FleetSession::LoadUnitsCsv(const std::string& text) {
    if (Running()) return "Stop the run first.";
    const Result<std::vector<UnitsRow>> rows = UnitsRowsFromCsv(text);
    if (!rows) return rows.message();
    const Result<std::vector<FleetUnit>> units = UnitsFromRows(*rows);
    if (!units) return units.message();
    units_ = *units;
    logPath_.clear();  // another list is another fleet, with its own log
    return {};
}

std::string FleetSession::Start(const std::vector<std::string>& devices) {
    if (Running() || units_.empty()) return {};
    engine_.reset();
    const Workspace& plan = program_.Ws();
    Result<FleetStart> start = StartFleet(plan, units_, logPath_);
    if (!start) return start.message();
    logPath_ = start->log.path();
    log_ = std::make_unique<FleetLogFile>(std::move(start.value().log));
    run_ = std::make_unique<FleetRun>(std::move(start.value().plan), FleetRun::Settings{"COM" + plan.portName}, clock_,
                                      *log_, *this, std::chrono::system_clock::now);
    engine_ = std::make_unique<LinkEngine>(run_->LinkWorkspace(), port_, *run_, clock_, PortMap::WithDeviceTable(devices));
    engine_->SetWakeCallback([this] { Notify("wake"); });
    run_->Start(*engine_);
    return {};
}

void FleetSession::Stop() {
    if (Running()) run_->Stop();
}

void FleetSession::BytesReceived(const std::vector<uint8_t>& bytes) {
    if (engine_) engine_->OnBytesReceived(bytes);
}
void FleetSession::LineError() {
    if (engine_) engine_->OnLineError();
}
void FleetSession::PortFailure(const std::string& reason) {
    if (engine_) engine_->OnPortFailure(reason);
}

void FleetSession::Service() {
    if (!engine_ || !run_) return;
    const int64_t now = clock_.NowMs();
    if (const auto due = engine_->NextDeadline(); due && *due <= now) engine_->Service();
    if (const auto due = run_->NextDeadline(); due && *due <= now) run_->Service();
}

double FleetSession::NextDeadline() const {
    if (!engine_ || !run_ || run_->Done()) return -1;
    std::optional<int64_t> next = engine_->NextDeadline();
    if (const auto due = run_->NextDeadline(); due && (!next || *due < *next)) next = due;
    return next ? static_cast<double>(*next) : -1.0;
}

void FleetSession::OnPhaseChanged(FleetPhase phase) {
    const FleetUnit* unit = run_ ? run_->CurrentUnit() : nullptr;
    std::string state;
    switch (phase) {
        case FleetPhase::WaitingForRadio: state = "waiting for the radio"; break;
        case FleetPhase::Writing: state = "writing"; break;
        case FleetPhase::ReadingBack: state = "reading back"; break;
        default: break;
    }
    if (unit != nullptr && !state.empty()) Notify("onFleetUnit", unit->label, state, std::string());
    Notify("onFleetPhase", Prompt());
}

void FleetSession::OnProgress(int value) { Notify("onFleetProgress", value); }

void FleetSession::OnPortProblem(const std::string& text) { Notify("onFleetPortProblem", text); }

void FleetSession::OnUnitSkipped(const FleetUnit& unit) {
    Notify("onFleetUnit", unit.label, std::string("already verified"), std::string());
}

void FleetSession::OnRowLogged(const FleetLogRow& row) {
    const std::string image = "image " + row.sha256.substr(0, kFingerprintDigits);
    Notify("onFleetUnit", row.label, std::string(OutcomeText(row.outcome)),
           row.details.empty() ? image : image + ": " + row.details);
}

void FleetSession::OnLogFailed(const std::string& text) {
    Notify("onFleetMessage", text + "; the run stops, as no radio may go unrecorded");
}

void FleetSession::OnFinished(const FleetSummary&) { Notify("onFleetFinished", Prompt()); }

}  // namespace corvane::web
