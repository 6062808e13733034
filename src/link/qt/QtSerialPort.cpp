#include "link/qt/QtSerialPort.h"

#include <cerrno>

#include "link/DeviceAccess.h"
#include "link/qt/SerialDevices.h"

#ifndef _WIN32
#include <sys/file.h>
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
    // QSerialPort calls every refusal a permission error (a port held in
    // exclusive mode too) and does not see lock files or flock(): ask first.
    lastProblem_ = ProbeDevice(device);
    if (lastProblem_.failure != OpenFailure::None) {
        return Status::Error(DescribeOpenFailure(device, lastProblem_, lastProblem_.detail));
    }
    port_.setPortName(QString::fromStdString(device));
    if (!port_.open(QIODevice::ReadWrite)) {
        const std::string reason = port_.errorString().toStdString();
        switch (port_.error()) {
            case QSerialPort::DeviceNotFoundError: lastProblem_ = {OpenFailure::NoSuchDevice, {}}; break;
            case QSerialPort::PermissionError:
                // Qt says so of a busy port too: ask the device again.
                lastProblem_ = ProbeDevice(device);
                if (lastProblem_.failure == OpenFailure::None) lastProblem_ = {OpenFailure::Other, reason};
                break;
            default: lastProblem_ = {OpenFailure::Other, reason}; break;
        }
        port_.clearError();
        return Status::Error(DescribeOpenFailure(device, lastProblem_, reason));
    }
#ifdef __linux__
    // Programs that lock with flock() (picocom and others) see the port taken.
    if (::flock(static_cast<int>(port_.handle()), LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        port_.close();
        lastProblem_ = {OpenFailure::InUse, HoldersOf(device)};
        return Status::Error(DescribeOpenFailure(device, lastProblem_, {}));
    }
#endif
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
