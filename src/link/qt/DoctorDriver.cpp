#include "link/qt/DoctorDriver.h"

#include <span>

namespace corvane {

DoctorDriver::DoctorDriver(DoctorListener& listener, QObject* parent)
    : QObject(parent), doctor_(port_, clock_, listener) {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &DoctorDriver::OnTimeout);
    connect(&port_.Device(), &QSerialPort::readyRead, this, &DoctorDriver::OnReadyRead);
    connect(&port_.Device(), &QSerialPort::errorOccurred, this, &DoctorDriver::OnError);
    doctor_.SetWakeCallback([this] { Rearm(); });
}

DoctorDriver::~DoctorDriver() {
    doctor_.SetWakeCallback({});
    port_.Close();
}

void DoctorDriver::OnReadyRead() {
    const QByteArray bytes = port_.Device().readAll();
    doctor_.OnBytesReceived(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(bytes.constData()),
                                                     static_cast<std::size_t>(bytes.size())));
}

void DoctorDriver::OnError(QSerialPort::SerialPortError error) {
    // Only a port that goes away ends the checks; refused line settings do not.
    if (error != QSerialPort::ResourceError && error != QSerialPort::ReadError && error != QSerialPort::WriteError) {
        return;
    }
    const std::string reason = port_.Device().portName().toStdString() + ": " + port_.Device().errorString().toStdString();
    port_.Device().clearError();
    doctor_.OnPortFailure(reason);
    Rearm();
}

void DoctorDriver::OnTimeout() { doctor_.Service(); }

void DoctorDriver::Rearm() {
    const std::optional<int64_t> next = doctor_.NextDeadline();
    if (!next) {
        timer_.stop();
        return;
    }
    timer_.start(static_cast<int>(clock_.MsUntil(*next)));
}

}  // namespace corvane
