#pragma once
// SerialPort on QSerialPort: 2400 baud, no parity, 8 data, 2 stop bits, no
// flow control, DTR on. Line settings the device refuses (a pseudo-terminal
// refuses DTR) are ignored, as the radio link does not depend on them.
#include <QSerialPort>

#include "link/SerialPort.h"

namespace corvane {

class QtSerialPort : public SerialPort {
public:
    QtSerialPort() = default;

    Status Open(const std::string& device) override;
    void Close() override;
    bool IsOpen() const override;
    Status Write(std::span<const uint8_t> bytes) override;
    std::size_t BytesToWrite() const override;
    void DiscardBuffers() override;
    // Linux TIOCGICOUNT; nullopt elsewhere and on pseudo-terminals.
    std::optional<LineErrorCounts> LineErrorCounters() const override;
    OpenProblem LastOpenProblem() const override { return lastProblem_; }

    // For the driver's signal connections (readyRead, errorOccurred).
    QSerialPort& Device() { return port_; }

private:
    QSerialPort port_;
    OpenProblem lastProblem_;
};

}  // namespace corvane
