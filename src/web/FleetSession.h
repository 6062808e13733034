#pragma once
// Port > Program Several Radios... in the page: the fleet run on an engine
// of its own over the page's port (the main link lets go of it first). The
// page drives it like the main session: bytes in, Service() at
// NextDeadline(), Start and Stop. The log is kept in the program folder's
// Data folder, in the page's storage, and offered as a download.
#include <memory>
#include <string>
#include <vector>

#include <emscripten/val.h>

#include "fleet/FleetLogFile.h"
#include "fleet/FleetRun.h"
#include "web/JsSerialPort.h"
#include "web/PageSession.h"

namespace corvane::web {

class FleetSession final : public FleetListener {
public:
    explicit FleetSession(ProgramSession& program) : program_(program) {}
    ~FleetSession() override;

    void SetSerialBridge(emscripten::val bridge) { port_.SetBridge(std::move(bridge)); }
    // { onFleetPhase(prompt), onFleetProgress(value), onFleetUnit(label, state, details),
    //   onFleetPortProblem(text), onFleetFinished(prompt), onFleetMessage(text), wake() }
    void SetListener(emscripten::val listener) { listener_ = std::move(listener); }

    // The units list's text (CSV): "" when taken, else why it was refused.
    std::string LoadUnitsCsv(const std::string& text);
    const std::vector<FleetUnit>& Units() const { return units_; }

    // The plan is the working set on screen now; "" when started, else why not.
    std::string Start(const std::vector<std::string>& devices);
    void Stop();
    bool Running() const { return run_ && !run_->Done(); }
    std::string Prompt() const { return run_ ? run_->Prompt() : std::string(); }
    std::string LogPath() const { return logPath_.string(); }

    void BytesReceived(const std::vector<uint8_t>& bytes);
    void LineError();
    void PortFailure(const std::string& reason);
    // Services the engine and the run, whichever is due.
    void Service();
    double NextDeadline() const;

    // ---- FleetListener ----
    void OnPhaseChanged(FleetPhase phase) override;
    void OnProgress(int value) override;
    void OnPortProblem(const std::string& text) override;
    void OnUnitSkipped(const FleetUnit& unit) override;
    void OnRowLogged(const FleetLogRow& row) override;
    void OnLogFailed(const std::string& text) override;
    void OnFinished(const FleetSummary& summary) override;

private:
    template <typename... Args>
    void Notify(const char* method, Args&&... args);

    ProgramSession& program_;
    PageClock clock_;
    JsSerialPort port_;
    emscripten::val listener_ = emscripten::val::undefined();
    std::vector<FleetUnit> units_;
    std::filesystem::path logPath_;
    // Destroyed engine first, then the run and the log.
    std::unique_ptr<FleetLogFile> log_;
    std::unique_ptr<FleetRun> run_;
    std::unique_ptr<LinkEngine> engine_;
};

}  // namespace corvane::web
