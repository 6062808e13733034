#include "link/qt/QtSerialPort.h"

#include "link/DeviceAccess.h"

#ifndef _WIN32
#include <sys/ioctl.h>
#include <termios.h>
#endif
#ifdef __linux__
#include <linux/serial.h>
#endif

namespace corvane {
namespace {

constexpr qint32 kBaudRate = 2400;
constexpr int kCloseDrainMs = 500;

}  // namespace

Status QtSerialPort::Open(const std::string& device) {
    if (port_.isOpen()) port_.close();
    port_.setPortName(QString::fromStdString(device));
    if (!port_.open(QIODevice::ReadWrite)) {
        const bool denied = port_.error() == QSerialPort::PermissionError;
        const std::string reason = port_.errorString().toStdString();
        port_.clearError();
        return Status::Error(DescribeOpenFailure(device, reason, denied));
    }
    // Each setting on its own: one refusal must not skip the others.
    port_.setBaudRate(kBaudRate);
    port_.setParity(QSerialPort::NoParity);
    port_.setDataBits(QSerialPort::Data8);
    port_.setStopBits(QSerialPort::TwoStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    port_.setDataTerminalReady(true);
    port_.clear(QSerialPort::AllDirections);
    port_.clearError();
    return Status::Ok();
}

void QtSerialPort::Close() {
    if (!port_.isOpen()) return;
    // Bytes already handed over (the last image byte before "DOWNLOAD
    // COMPLETE", a program ending right after) must still reach the line.
    while (port_.bytesToWrite() > 0 && port_.waitForBytesWritten(kCloseDrainMs)) {
    }
    port_.close();
}

bool QtSerialPort::IsOpen() const { return port_.isOpen(); }

Status QtSerialPort::Write(std::span<const uint8_t> bytes) {
    if (!port_.isOpen()) return Status::Error("the serial port is not open");
    const auto size = static_cast<qint64>(bytes.size());
    const qint64 written = port_.write(reinterpret_cast<const char*>(bytes.data()), size);
    if (written != size) return Status::Error("cannot write to " + port_.portName().toStdString() + ": " +
                                              port_.errorString().toStdString());
    // Hand the bytes to the driver now rather than on the next event-loop pass, so a
    // byte leaves at its tick and the pacer's spacing is the spacing on the line.
    port_.flush();
    return Status::Ok();
}

std::size_t QtSerialPort::BytesToWrite() const {
    if (!port_.isOpen()) return 0;
    std::size_t pending = static_cast<std::size_t>(port_.bytesToWrite());
    // The driver's own queue counts too: the frame has left only when the line is idle.
#ifndef _WIN32
    int queued = 0;
    if (::ioctl(static_cast<int>(port_.handle()), TIOCOUTQ, &queued) == 0 && queued > 0) {
        pending += static_cast<std::size_t>(queued);
    }
#endif
    return pending;
}

void QtSerialPort::DiscardBuffers() {
    if (port_.isOpen()) port_.clear(QSerialPort::AllDirections);
}

std::optional<LineErrorCounts> QtSerialPort::LineErrorCounters() const {
#ifdef __linux__
    if (!port_.isOpen()) return std::nullopt;
    // USB serial and UART drivers keep these; a pseudo-terminal refuses the call.
    serial_icounter_struct counts{};
    if (::ioctl(static_cast<int>(port_.handle()), TIOCGICOUNT, &counts) != 0) return std::nullopt;
    auto count = [](int value) { return static_cast<uint64_t>(static_cast<unsigned int>(value)); };
    return LineErrorCounts{count(counts.frame), count(counts.overrun), count(counts.parity), count(counts.brk),
                           count(counts.buf_overrun)};
#else
    return std::nullopt;
#endif
}

}  // namespace corvane
