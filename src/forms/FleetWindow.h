#pragma once
// frmFleet, Port > Program Several Radios...: the working set on screen is
// the plan, written into one radio after the other with each unit's own Name
// ID and DTMF ID from a units list, read back, compared and logged. The
// window shows every unit with its state; Stop works at any moment.
//
// It runs its own link engine, built by the factory over the run's
// workspace: the main link must have let go of the port before Start.
#include <QDialog>
#include <QTimer>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "fleet/FleetLogFile.h"
#include "fleet/FleetRun.h"
#include "forms/MessageFn.h"
#include "link/LinkOwner.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace corvane {

class FleetWindow final : public QDialog, public FleetListener {
    Q_OBJECT
public:
    FleetWindow(const Workspace& plan, const LinkClock& clock, LinkFactory linkFactory, MessageFn tell,
                QWidget* parent = nullptr);
    ~FleetWindow() override;

    // The units list (after its dialog): checked whole; a refused list is
    // told, naming row and column, and nothing changes.
    bool LoadUnitsFromPath(const QString& path);
    // Start: the log is Data/fleet-<date-time>.csv, or the one this window
    // started before, so a run started again skips units already verified.
    bool StartRun();
    void StopRun();
    // One step of the run: what the window's timer does.
    void ServiceRun();

    bool Running() const { return run_ && !run_->Done(); }
    FleetRun* Run() const { return run_.get(); }
    LinkEngine* Engine() const { return link_ ? &link_->Engine() : nullptr; }
    QTableWidget& Table() const { return *table_; }
    QString PromptText() const;
    std::optional<std::filesystem::path> LogPath() const { return logPath_; }

    // ---- FleetListener ----
    void OnPhaseChanged(FleetPhase phase) override;
    void OnProgress(int value) override;
    void OnPortProblem(const std::string& text) override;
    void OnUnitSkipped(const FleetUnit& unit) override;
    void OnRowLogged(const FleetLogRow& row) override;
    void OnLogFailed(const std::string& text) override;
    void OnFinished(const FleetSummary& summary) override;

protected:
    void reject() override;

private:
    void OnUnitsClicked();
    void FillUnits();
    void SetUnitState(const std::string& label, const QString& state);
    void ShowRunning(bool running);
    void FinishRun();

    Workspace plan_;
    const LinkClock& clock_;
    LinkFactory linkFactory_;
    MessageFn tell_;
    std::vector<FleetUnit> units_;
    std::optional<std::filesystem::path> logPath_;
    // Destroyed in this order: the engine, the run, the log.
    std::unique_ptr<FleetLogFile> log_;
    std::unique_ptr<FleetRun> run_;
    std::unique_ptr<LinkOwner> link_;

    QPushButton* unitsButton_;
    QLabel* label1_;
    QTableWidget* table_;
    QLabel* label2_;
    QProgressBar* progressBar1_;
    QLabel* label3_;
    QPushButton* start_;
    QPushButton* stop_;
    QPushButton* close_;
    QTimer poll_;
};

}  // namespace corvane
