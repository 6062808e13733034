#pragma once
// Port > Diagnose Connection... (frmDoctor): a chooser naming each port's
// cable, the doctor's checks as they run, then what is wrong and its fix.
// The link lets go of the port for the checks and takes it again after.
#include <QDialog>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "link/ConnectionDoctor.h"
#include "link/PortMap.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace corvane {

class DoctorDriver;

class ConnectionDoctorWindow final : public QDialog, private DoctorListener {
    Q_OBJECT
public:
    // What the window asks of the program's link around each run.
    struct LinkHooks {
        std::function<bool()> release;    // false: a transfer holds the port
        std::function<void()> reconnect;
    };

    ConnectionDoctorWindow(PortMap ports, const std::string& portName, LinkHooks hooks, QWidget* parent = nullptr);
    ~ConnectionDoctorWindow() override;

    // cmdDiagnose: examines the chosen port.
    void Diagnose();
    bool Running() const;
    const std::optional<DoctorFinding>& Finding() const { return finding_; }

protected:
    void done(int result) override;

private:
    void OnDoctorStep(DoctorStep step) override;
    void OnDoctorFinding(const DoctorFinding& finding) override;
    void FillPortList(const std::string& portName);
    void GiveBackPort();

    PortMap ports_;
    LinkHooks hooks_;
    std::unique_ptr<DoctorDriver> driver_;
    std::optional<DoctorFinding> finding_;
    bool portReleased_ = false;
    QComboBox* portList_;
    QLabel* step_;
    QLabel* findingLabel_;
    QLabel* fixLabel_;
    QPushButton* diagnose_;
};

}  // namespace corvane
