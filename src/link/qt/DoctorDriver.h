#pragma once
// Runs a ConnectionDoctor on the Qt event loop with a port of its own, as
// LinkDriver runs the link engine: the CLI waits for its finding, a window
// shows its steps. The link must have let go of the port first.
#include <QObject>
#include <QSerialPort>
#include <QTimer>

#include "link/ConnectionDoctor.h"
#include "link/qt/LinkDriver.h"
#include "link/qt/QtSerialPort.h"

namespace corvane {

class DoctorDriver : public QObject {
    Q_OBJECT
public:
    explicit DoctorDriver(DoctorListener& listener, QObject* parent = nullptr);
    ~DoctorDriver() override;

    ConnectionDoctor& Doctor() { return doctor_; }

private:
    void OnReadyRead();
    void OnError(QSerialPort::SerialPortError error);
    void OnTimeout();
    void Rearm();

    QtLinkClock clock_;
    QtSerialPort port_;
    ConnectionDoctor doctor_;
    QTimer timer_;
};

}  // namespace corvane
