#pragma once
// The connection doctor: opens the port, sends one connection request and
// tells from what comes back (or from why the port would not open) which of
// the usual troubles it is (ConnectionDiagnosis.h).
//
// Like the link engine it runs on an injected clock and port and never
// blocks: its owner pushes received bytes and port failures in and calls
// Service() at NextDeadline(), so a window can show each step as it runs.
// It takes the port for about a second and closes it at the end; the link
// engine must not hold the port meanwhile.
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "link/ConnectionDiagnosis.h"
#include "link/LinkClock.h"
#include "link/LinkJobs.h"
#include "link/SerialPort.h"

namespace corvane {

// After the request has left: the echo of a cable arrives within the
// engine's deaf window; a radio answers after it, within a few hundred ms.
constexpr int64_t kDoctorListenMs = 800;

enum class DoctorStep { OpenPort, SendRequest, Listen };
// "Opening the port", ...
std::string_view DoctorStepText(DoctorStep step);

class DoctorListener {
public:
    virtual ~DoctorListener() = default;
    // A check begins.
    virtual void OnDoctorStep(DoctorStep /*step*/) {}
    // The verdict; the port is closed again.
    virtual void OnDoctorFinding(const DoctorFinding& /*finding*/) {}
};

class ConnectionDoctor {
public:
    ConnectionDoctor(SerialPort& port, const LinkClock& clock, DoctorListener& listener);
    ConnectionDoctor(const ConnectionDoctor&) = delete;
    ConnectionDoctor& operator=(const ConnectionDoctor&) = delete;

    // Examines device ("" when the port name leads to no device). A run in
    // progress is dropped.
    void Start(const std::string& device);

    void OnBytesReceived(std::span<const uint8_t> bytes);
    // The port went away while the doctor had it.
    void OnPortFailure(const std::string& reason);
    // A port that opens asynchronously (the page's) found it could not open
    // after Open() had taken the request.
    void OnOpenFailure(const OpenProblem& problem);

    void Service();
    std::optional<int64_t> NextDeadline() const { return jobs_.NextDeadline(); }
    // Called whenever NextDeadline may have moved earlier.
    void SetWakeCallback(std::function<void()> wake) { wake_ = std::move(wake); }

    bool Running() const { return !jobs_.Empty(); }
    const std::optional<DoctorFinding>& Finding() const { return finding_; }

private:
    struct Arrival {
        int64_t atMs;
        uint8_t byte;
    };

    void OpenPort(const std::string& device);
    void SendRequest();
    void Conclude();
    void Finish(DoctorFinding finding);
    void FinishOpenFailure(const OpenProblem& problem);

    SerialPort& port_;
    const LinkClock& clock_;
    DoctorListener& listener_;
    std::function<void()> wake_;
    LinkJobs jobs_;

    std::vector<uint8_t> sent_;
    std::vector<Arrival> received_;
    int64_t drainedAtMs_ = 0;
    std::optional<DoctorFinding> finding_;
};

}  // namespace corvane
