#include "link/qt/LinkDriver.h"

#include <algorithm>
#include <span>

namespace corvane {
namespace {

constexpr int kFallbackMs = 10;
constexpr int64_t kNanosPerMs = 1'000'000;

}  // namespace

int64_t QtLinkClock::MsUntil(int64_t deadlineMs) const {
    const int64_t leftNs = deadlineMs * kNanosPerMs - elapsed_.nsecsElapsed();
    if (leftNs <= 0) return 0;
    return (leftNs + kNanosPerMs - 1) / kNanosPerMs;
}

LinkDriver::LinkDriver(Workspace& ws, LinkListener& listener, PortMap portMap, QObject* parent)
    : QObject(parent), engine_(ws, port_, listener, clock_, std::move(portMap)) {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &LinkDriver::OnTimeout);
    connect(&port_.Device(), &QSerialPort::readyRead, this, &LinkDriver::OnReadyRead);
    connect(&port_.Device(), &QSerialPort::errorOccurred, this, &LinkDriver::OnError);
    engine_.SetWakeCallback([this] { Rearm(); });
    Rearm();
}

LinkDriver::~LinkDriver() {
    engine_.SetWakeCallback({});
    engine_.Shutdown();
}

void LinkDriver::OnReadyRead() {
    const QByteArray bytes = port_.Device().readAll();
    if (bytes.isEmpty()) return;
    engine_.OnBytesReceived(
        std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size())));
}

void LinkDriver::OnError(QSerialPort::SerialPortError error) {
    const char* what = nullptr;
    switch (error) {
        case QSerialPort::ResourceError: what = "the device went away"; break;
        case QSerialPort::ReadError: what = "reading failed"; break;
        case QSerialPort::WriteError: what = "writing failed"; break;
        default:
            // NoError, refused settings (DTR on a pseudo-terminal), open
            // failures (reported by Open) and time-outs do not stop the link.
            return;
    }
    const std::string reason = port_.Device().portName().toStdString() + ": " + what;
    port_.Device().clearError();
    port_.Close();
    engine_.OnPortFailure(reason);
    Rearm();
}

void LinkDriver::OnTimeout() {
    // Should a listener ever hold a modal dialog inside Service(), this keeps
    // the ticks coming meanwhile. Service() re-arms precisely when it returns.
    timer_.start(kFallbackMs);
    engine_.Service();
}

void LinkDriver::Rearm() {
    const std::optional<int64_t> next = engine_.NextDeadline();
    if (!next) {
        timer_.stop();
        return;
    }
    const int64_t wait = clock_.MsUntil(*next);
    timer_.start(static_cast<int>(wait));
}

}  // namespace corvane
