#include "forms/ConnectionDoctorWindow.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <filesystem>
#include <system_error>

#include "forms/FormHelpers.h"
#include "link/ConnectionDiagnosis.h"
#include "link/PortMap.h"
#include "link/qt/DoctorDriver.h"
#include "link/qt/SerialDevices.h"
#include "model/NumberParse.h"

namespace corvane {
namespace {

using forms::ToQString;

constexpr int kTextWidth = 460;

// "COM5  /dev/ttyUSB0 (FTDI FT232R, USB 0403:6001)", "COM6  /dev/ttyUSB1 (not present)":
// where the cable is, at a glance.
QString PortItemText(const PortMap& ports, int number) {
    const std::string device = ports.DeviceForPort(std::to_string(number));
    const QString com = QStringLiteral("COM%1").arg(number);
    if (device.empty()) return com;
    std::error_code error;
    if (!std::filesystem::exists(device, error)) return com + QStringLiteral("  ") + ToQString(device) + QStringLiteral(" (not present)");
    return com + QStringLiteral("  ") + ToQString(DeviceWithCable(device));
}

QLabel* WrappedLabel(const char* name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setMinimumWidth(kTextWidth);
    return label;
}

}  // namespace

ConnectionDoctorWindow::ConnectionDoctorWindow(PortMap ports, const std::string& portName, LinkHooks hooks,
                                               QWidget* parent)
    : QDialog(parent), ports_(std::move(ports)), hooks_(std::move(hooks)), portList_(new QComboBox(this)),
      step_(WrappedLabel("lblStep", this)), findingLabel_(WrappedLabel("lblFinding", this)),
      fixLabel_(WrappedLabel("lblFix", this)), diagnose_(new QPushButton(QStringLiteral("&Diagnose"), this)) {
    setObjectName(QStringLiteral("frmDoctor"));
    setWindowTitle(QStringLiteral("Diagnose Connection"));
    // The checks take the program's port: nothing else may use it meanwhile.
    setModal(true);
    portList_->setObjectName(QStringLiteral("cboPort"));
    FillPortList(portName);
    QFont bold = findingLabel_->font();
    bold.setBold(true);
    findingLabel_->setFont(bold);
    diagnose_->setObjectName(QStringLiteral("cmdDiagnose"));
    diagnose_->setDefault(true);
    connect(diagnose_, &QPushButton::clicked, this, &ConnectionDoctorWindow::Diagnose);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(diagnose_, QDialogButtonBox::ActionRole);
    QPushButton* close = buttons->addButton(QDialogButtonBox::Close);
    close->setObjectName(QStringLiteral("cmdClose"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Port:"), portList_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(step_);
    layout->addWidget(findingLabel_);
    layout->addWidget(fixLabel_);
    layout->addStretch();
    layout->addWidget(buttons);
    step_->setText(QStringLiteral("Choose the port the cable is on, then Diagnose."));
}

// The program is going away with the window: its link is not given the port again.
ConnectionDoctorWindow::~ConnectionDoctorWindow() { driver_.reset(); }

void ConnectionDoctorWindow::FillPortList(const std::string& portName) {
    const long long current = LenientInteger(portName);
    for (int number = kFirstPort; number <= kLastPort; ++number) {
        portList_->addItem(PortItemText(ports_, number), number);
        if (number == current) portList_->setCurrentIndex(portList_->count() - 1);
    }
}

bool ConnectionDoctorWindow::Running() const { return driver_ && driver_->Doctor().Running(); }

void ConnectionDoctorWindow::Diagnose() {
    if (Running()) return;
    if (!portReleased_) {
        if (hooks_.release && !hooks_.release()) {
            step_->setText(QStringLiteral("A transfer holds the port: wait for it to end, then Diagnose."));
            return;
        }
        portReleased_ = true;
    }
    finding_.reset();
    findingLabel_->clear();
    fixLabel_->clear();
    diagnose_->setEnabled(false);
    portList_->setEnabled(false);
    if (!driver_) {
        DoctorListener& listener = *this;
        driver_ = std::make_unique<DoctorDriver>(listener);
    }
    driver_->Doctor().Start(ports_.DeviceForPort(std::to_string(portList_->currentData().toInt())));
}

void ConnectionDoctorWindow::OnDoctorStep(DoctorStep step) {
    step_->setText(ToQString(DoctorStepText(step)) + QStringLiteral(" ..."));
}

void ConnectionDoctorWindow::OnDoctorFinding(const DoctorFinding& finding) {
    finding_ = finding;
    step_->setText(QStringLiteral("Checked %1.").arg(portList_->currentText()));
    findingLabel_->setText(ToQString(FindingLine(finding)));
    fixLabel_->setText(QStringLiteral("Fix: ") + ToQString(FixLine(finding)));
    diagnose_->setEnabled(true);
    portList_->setEnabled(true);
    // The doctor has closed its port; the link takes it again once the
    // doctor's own call has returned.
    QTimer::singleShot(0, this, [this] { GiveBackPort(); });
}

void ConnectionDoctorWindow::GiveBackPort() {
    if (!portReleased_ || Running()) return;
    portReleased_ = false;
    if (hooks_.reconnect) hooks_.reconnect();
}

void ConnectionDoctorWindow::done(int result) {
    driver_.reset();  // a run in progress is dropped and its port closed
    GiveBackPort();
    QDialog::done(result);
}

}  // namespace corvane
