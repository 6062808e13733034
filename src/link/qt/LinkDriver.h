#pragma once
// Runs a LinkEngine on the Qt event loop: owns the serial port and one
// precise single-shot timer armed for the engine's next deadline, and feeds
// received bytes and port errors to the engine.
#include <QElapsedTimer>
#include <QObject>
#include <QSerialPort>
#include <QTimer>

#include "link/LinkEngine.h"
#include "link/qt/QtSerialPort.h"

namespace corvane {

class QtLinkClock : public LinkClock {
public:
    QtLinkClock() { elapsed_.start(); }
    int64_t NowMs() const override { return elapsed_.elapsed(); }
    // Whole milliseconds from the true now (not the truncated NowMs) until
    // deadlineMs is reached, so a timer armed with it never fires early and
    // its lateness does not pile up from tick to tick.
    int64_t MsUntil(int64_t deadlineMs) const;

private:
    QElapsedTimer elapsed_;
};

class LinkDriver : public QObject {
    Q_OBJECT
public:
    LinkDriver(Workspace& ws, LinkListener& listener, PortMap portMap, QObject* parent = nullptr);
    ~LinkDriver() override;

    LinkEngine& Engine() { return engine_; }
    const LinkEngine& Engine() const { return engine_; }

private:
    void OnReadyRead();
    void OnError(QSerialPort::SerialPortError error);
    void OnTimeout();
    void Rearm();

    QtLinkClock clock_;
    QtSerialPort port_;
    LinkEngine engine_;
    QTimer timer_;
};

}  // namespace corvane
