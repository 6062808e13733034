#pragma once
// The serial line as the link engine sees it. Transport-neutral: the Qt
// build wraps QSerialPort, the tests use a fake. Received bytes, line errors
// and port failures travel the other way: the owner of the port pushes them
// into LinkEngine (OnBytesReceived, OnLineError, OnPortFailure).
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "model/Status.h"

namespace corvane {

// The receive-error counters a serial driver keeps since it was loaded.
struct LineErrorCounts {
    uint64_t frame = 0;
    uint64_t overrun = 0;
    uint64_t parity = 0;
    uint64_t brk = 0;
    uint64_t bufOverrun = 0;
    bool operator==(const LineErrorCounts&) const = default;
};

// Why a device could not be opened, as far as the platform can tell.
enum class OpenFailure {
    None,              // it opened
    NoSuchDevice,      // nothing at that path (cable unplugged, wrong port)
    PermissionDenied,  // the user may not open it
    InUse,             // another program holds it
    Other,
};

struct OpenProblem {
    OpenFailure failure = OpenFailure::None;
    // InUse: who holds it ("minicom, process 4242"), when known;
    // PermissionDenied: the group that owns the device, when known.
    std::string detail;
};

class SerialPort {
public:
    virtual ~SerialPort() = default;

    // Opens the device and applies 2400 baud, no parity, 8 data, 2 stop,
    // no flow control, DTR on, both buffers discarded. A refused line
    // setting does not fail the open; a missing or busy device does, with
    // the device and the reason in the message.
    virtual Status Open(const std::string& device) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;

    // Queues the bytes for sending; fails when the port cannot take them.
    virtual Status Write(std::span<const uint8_t> bytes) = 0;
    // Bytes handed to Write that have not left the output buffer yet.
    virtual std::size_t BytesToWrite() const = 0;
    // Drops pending input and output.
    virtual void DiscardBuffers() = 0;
    // The driver's receive-error counters; nullopt where the driver keeps
    // none (a pseudo-terminal) or the port is closed.
    virtual std::optional<LineErrorCounts> LineErrorCounters() const { return std::nullopt; }
    // Why the last Open failed (asked only after a failure); a port that
    // cannot tell says Other.
    virtual OpenProblem LastOpenProblem() const { return {OpenFailure::Other, {}}; }
};

}  // namespace corvane
