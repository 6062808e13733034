#include "forms/FleetWindow.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <chrono>

#include "fleet/FleetStart.h"
#include "image/ImageDigest.h"
#include "image/MemoryImage.h"

#ifdef CORVANE_HAVE_WORKBOOK
#include "store/workbook/UnitsListFile.h"
#endif

namespace corvane {

namespace {

constexpr int kPollMs = 20;
constexpr int kFleetWindowWidth = 720;
constexpr int kFleetWindowHeight = 460;
constexpr int kStateColumn = 3;
constexpr int kDetailsColumn = 4;
const QString kUnitsFilter = QStringLiteral("Units lists (*.csv *.xlsx *.ods *.xls);;All files (*)");

QString StateText(FleetPhase phase) {
    switch (phase) {
        case FleetPhase::WaitingForRadio: return QStringLiteral("waiting for the radio");
        case FleetPhase::Writing: return QStringLiteral("writing");
        case FleetPhase::ReadingBack: return QStringLiteral("reading back");
        default: return {};
    }
}

}  // namespace

FleetWindow::FleetWindow(const Workspace& plan, const LinkClock& clock, LinkFactory linkFactory, MessageFn tell,
                         QWidget* parent)
    : QDialog(parent), plan_(plan), clock_(clock), linkFactory_(std::move(linkFactory)), tell_(std::move(tell)),
      unitsButton_(new QPushButton(QStringLiteral("Units List..."), this)), label1_(new QLabel(this)),
      table_(new QTableWidget(this)), label2_(new QLabel(this)), progressBar1_(new QProgressBar(this)),
      label3_(new QLabel(this)), start_(new QPushButton(QStringLiteral("Start"), this)),
      stop_(new QPushButton(QStringLiteral("Stop"), this)), close_(new QPushButton(QStringLiteral("Close"), this)) {
    setObjectName(QStringLiteral("frmFleet"));
    setWindowTitle(QStringLiteral("Program Several Radios"));
    resize(kFleetWindowWidth, kFleetWindowHeight);
    unitsButton_->setObjectName(QStringLiteral("Command1"));
    start_->setObjectName(QStringLiteral("Command2"));
    stop_->setObjectName(QStringLiteral("Command3"));
    close_->setObjectName(QStringLiteral("Command4"));
    label1_->setObjectName(QStringLiteral("Label1"));
    label2_->setObjectName(QStringLiteral("Label2"));
    label3_->setObjectName(QStringLiteral("Label3"));
    table_->setObjectName(QStringLiteral("MSHFlexGrid1"));
    progressBar1_->setObjectName(QStringLiteral("ProgressBar1"));
    progressBar1_->setRange(0, static_cast<int>(kImageLength));
    progressBar1_->setValue(0);
    label1_->setText(QStringLiteral("Choose the units list: one row per radio with its Label, Name ID and DTMF ID."));
    label3_->setWordWrap(true);

    table_->setColumnCount(5);
    table_->setHorizontalHeaderLabels({QStringLiteral("Label"), QStringLiteral("Name ID"), QStringLiteral("DTMF ID"),
                                       QStringLiteral("State"), QStringLiteral("Details")});
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->horizontalHeader()->setStretchLastSection(true);

    auto* top = new QHBoxLayout;
    top->addWidget(unitsButton_);
    top->addWidget(label1_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(start_);
    buttons->addWidget(stop_);
    buttons->addStretch();
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(table_);
    layout->addWidget(label2_);
    layout->addWidget(progressBar1_);
    layout->addWidget(label3_);
    layout->addLayout(buttons);
    ShowRunning(false);

    poll_.setInterval(kPollMs);
    connect(&poll_, &QTimer::timeout, this, &FleetWindow::ServiceRun);
    connect(unitsButton_, &QPushButton::clicked, this, &FleetWindow::OnUnitsClicked);
    connect(start_, &QPushButton::clicked, this, &FleetWindow::StartRun);
    connect(stop_, &QPushButton::clicked, this, &FleetWindow::StopRun);
    connect(close_, &QPushButton::clicked, this, &FleetWindow::reject);
}

FleetWindow::~FleetWindow() {
    poll_.stop();
    if (Running()) run_->Stop();
    link_.reset();
}

void FleetWindow::OnUnitsClicked() {
    const QString folder = QString::fromStdString(plan_.DataFolder().string());
    const QString path = QFileDialog::getOpenFileName(this, unitsButton_->text(), folder, kUnitsFilter);
    if (!path.isEmpty()) LoadUnitsFromPath(path);
}

bool FleetWindow::LoadUnitsFromPath(const QString& path) {
    if (Running()) return false;
#ifdef CORVANE_HAVE_WORKBOOK
    const Result<std::vector<FleetUnit>> units = LoadUnitsListFile(path.toStdString());
#else
    const Result<std::vector<FleetUnit>> units = LoadUnitsCsvFile(path.toStdString());
#endif
    if (!units) {
        tell_(QFileInfo(path).fileName() + QStringLiteral(": ") + QString::fromStdString(units.message()));
        return false;
    }
    units_ = *units;
    // Another list is another fleet: its own log.
    logPath_.reset();
    label1_->setText(QFileInfo(path).fileName() + QStringLiteral(": %1 radios").arg(units_.size()));
    FillUnits();
    ShowRunning(false);
    return true;
}

void FleetWindow::FillUnits() {
    table_->setRowCount(static_cast<int>(units_.size()));
    for (int row = 0; row < table_->rowCount(); ++row) {
        const FleetUnit& unit = units_[static_cast<std::size_t>(row)];
        const QStringList cells{QString::fromStdString(unit.label), QString::fromStdString(unit.nameId),
                                QString::fromStdString(unit.dtmfId), QString(), QString()};
        for (int col = 0; col < cells.size(); ++col) table_->setItem(row, col, new QTableWidgetItem(cells[col]));
    }
}

bool FleetWindow::StartRun() {
    if (Running() || units_.empty()) return false;
    link_.reset();  // the engine of an earlier run goes first
    Result<FleetStart> start = StartFleet(plan_, units_, logPath_.value_or(std::filesystem::path()));
    if (!start) {
        tell_(QString::fromStdString(start.message()));
        return false;
    }
    logPath_ = start->log.path();
    log_ = std::make_unique<FleetLogFile>(std::move(start.value().log));
    run_ = std::make_unique<FleetRun>(std::move(start.value().plan), FleetRun::Settings{"COM" + plan_.portName}, clock_,
                                      *log_, *this, std::chrono::system_clock::now);
    link_ = linkFactory_(run_->LinkWorkspace(), *run_);
    FillUnits();
    label3_->setText(QStringLiteral("Log: ") + QString::fromStdString(logPath_->string()));
    ShowRunning(true);
    run_->Start(link_->Engine());
    if (Running()) poll_.start();
    else FinishRun();
    return true;
}

void FleetWindow::StopRun() {
    if (!Running()) return;
    run_->Stop();
    if (run_->Done()) FinishRun();
}

void FleetWindow::ServiceRun() {
    if (!run_ || !poll_.isActive()) return;
    run_->Service();
    if (run_->Done()) FinishRun();
}

// Outside the engine's calls: the port is let go for the main link.
void FleetWindow::FinishRun() {
    poll_.stop();
    if (link_) link_->Engine().Shutdown();
    label2_->setText(PromptText());
    ShowRunning(false);
}

void FleetWindow::reject() {
    StopRun();
    QDialog::reject();
}

QString FleetWindow::PromptText() const { return run_ ? QString::fromStdString(run_->Prompt()) : QString(); }

void FleetWindow::ShowRunning(bool running) {
    unitsButton_->setEnabled(!running);
    start_->setEnabled(!running && !units_.empty());
    stop_->setEnabled(running);
}

void FleetWindow::SetUnitState(const std::string& label, const QString& state) {
    for (int row = 0; row < table_->rowCount(); ++row) {
        if (units_[static_cast<std::size_t>(row)].label == label) table_->item(row, kStateColumn)->setText(state);
    }
}

// ---------------------------------------------------------------- from the run

void FleetWindow::OnPhaseChanged(FleetPhase phase) {
    label2_->setText(PromptText());
    if (phase != FleetPhase::Writing) progressBar1_->setValue(0);
    const FleetUnit* unit = run_ ? run_->CurrentUnit() : nullptr;
    if (unit != nullptr && !StateText(phase).isEmpty()) SetUnitState(unit->label, StateText(phase));
}

void FleetWindow::OnProgress(int value) { progressBar1_->setValue(value); }

void FleetWindow::OnPortProblem(const std::string& text) {
    const QString log = logPath_ ? QStringLiteral("Log: ") + QString::fromStdString(logPath_->string()) : QString();
    label3_->setText(text.empty() ? log : QString::fromStdString(text + " (still trying)\n") + log);
}

void FleetWindow::OnUnitSkipped(const FleetUnit& unit) { SetUnitState(unit.label, QStringLiteral("already verified")); }

void FleetWindow::OnRowLogged(const FleetLogRow& row) {
    SetUnitState(row.label, QString::fromLatin1(OutcomeText(row.outcome).data(), static_cast<int>(OutcomeText(row.outcome).size())));
    for (int r = 0; r < table_->rowCount(); ++r) {
        if (units_[static_cast<std::size_t>(r)].label != row.label) continue;
        const QString image = QStringLiteral("image ") + QString::fromStdString(row.sha256.substr(0, kFingerprintDigits));
        table_->item(r, kDetailsColumn)->setText(row.details.empty() ? image : image + QStringLiteral(": ") + QString::fromStdString(row.details));
    }
}

// Said once the engine's call is over: a message box must not run inside it.
void FleetWindow::OnLogFailed(const std::string& text) {
    const QString said = QString::fromStdString(text + "; the run stops, as no radio may go unrecorded");
    QTimer::singleShot(0, this, [this, said] { tell_(said); });
}

void FleetWindow::OnFinished(const FleetSummary&) { label2_->setText(PromptText()); }

}  // namespace corvane
