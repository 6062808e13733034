#include "link/ConnectionDoctor.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "link/CommandFrame.h"
#include "link/LinkEngineDetail.h"

namespace corvane {
namespace {

using link_detail::kDeafWindowMs;
using link_detail::kDrainLimitMs;
using link_detail::kDrainPollMs;

constexpr std::size_t kBytesShown = 12;
const std::string kEchoAsWell = "the cable also echoes what is sent; the program ignores that";

std::string Hex(std::span<const uint8_t> bytes) {
    std::string text;
    for (std::size_t i = 0; i < bytes.size() && i < kBytesShown; ++i) {
        char byte[4];
        std::snprintf(byte, sizeof byte, "%02X", bytes[i]);
        text += (i == 0 ? "" : " ") + std::string(byte);
    }
    if (bytes.size() > kBytesShown) text += " ...";
    return text;
}

// The first well-formed frame in bytes, preferring the connection reply.
std::optional<std::span<const uint8_t>> FindFrame(std::span<const uint8_t> bytes) {
    std::optional<std::span<const uint8_t>> foreign;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != kFrameStart) continue;
        const std::span<const uint8_t> rest = bytes.subspan(i);
        const ReplyKind kind = ClassifyReply(rest);
        if (kind == ReplyKind::Malformed) continue;
        const std::span<const uint8_t> frame = rest.first(std::min<std::size_t>(rest.size(), rest[1] + 1u));
        if (kind == ReplyKind::Connection) return frame;
        if (!foreign) foreign = frame;
    }
    return foreign;
}

Diagnosis FromOpenFailure(OpenFailure failure) {
    switch (failure) {
        case OpenFailure::PermissionDenied: return Diagnosis::PermissionDenied;
        case OpenFailure::InUse: return Diagnosis::InUse;
        case OpenFailure::None:
        case OpenFailure::NoSuchDevice:
        case OpenFailure::Other: break;
    }
    return Diagnosis::NoSuchDevice;
}

}  // namespace

std::string_view DoctorStepText(DoctorStep step) {
    switch (step) {
        case DoctorStep::OpenPort: return "Opening the port";
        case DoctorStep::SendRequest: return "Sending the connection request";
        case DoctorStep::Listen: return "Listening for the radio";
    }
    return {};
}

ConnectionDoctor::ConnectionDoctor(SerialPort& port, const LinkClock& clock, DoctorListener& listener)
    : port_(port), clock_(clock), listener_(listener) {}

void ConnectionDoctor::Start(const std::string& device) {
    jobs_.Clear();
    finding_.reset();
    sent_.clear();
    received_.clear();
    if (port_.IsOpen()) port_.Close();
    LinkJobs::Job job;
    job.push_back(LinkJobs::Action([this, device] { OpenPort(device); }));
    job.push_back(LinkJobs::Action([this] { SendRequest(); }));
    job.push_back(LinkJobs::WaitUntil([this] { return !port_.IsOpen() || port_.BytesToWrite() == 0; },
                                      kDrainLimitMs, kDrainPollMs));
    job.push_back(LinkJobs::Action([this] {
        drainedAtMs_ = clock_.NowMs();
        listener_.OnDoctorStep(DoctorStep::Listen);
    }));
    job.push_back(LinkJobs::Delay(kDoctorListenMs));
    job.push_back(LinkJobs::Action([this] { Conclude(); }));
    jobs_.Add(std::move(job));
    Service();
}

void ConnectionDoctor::OpenPort(const std::string& device) {
    listener_.OnDoctorStep(DoctorStep::OpenPort);
    if (device.empty()) {
        Finish({Diagnosis::NoSuchDevice, "the port name leads to no device", {}});
        return;
    }
    const Status opened = port_.Open(device);
    if (!opened.ok()) FinishOpenFailure(port_.LastOpenProblem());
}

void ConnectionDoctor::OnOpenFailure(const OpenProblem& problem) {
    if (Running()) FinishOpenFailure(problem);
}

void ConnectionDoctor::FinishOpenFailure(const OpenProblem& problem) {
    DoctorFinding finding{FromOpenFailure(problem.failure), {}, {}};
    if (problem.failure == OpenFailure::PermissionDenied) finding.group = problem.detail;
    if (problem.failure == OpenFailure::InUse || problem.failure == OpenFailure::Other) finding.detail = problem.detail;
    Finish(std::move(finding));
}

void ConnectionDoctor::SendRequest() {
    listener_.OnDoctorStep(DoctorStep::SendRequest);
    sent_ = ConnectionRequest();
    if (const Status written = port_.Write(sent_); !written.ok()) {
        Finish({Diagnosis::NoSuchDevice, written.message(), {}});
    }
}

void ConnectionDoctor::OnBytesReceived(std::span<const uint8_t> bytes) {
    if (!Running() || sent_.empty()) return;
    const int64_t now = clock_.NowMs();
    for (uint8_t byte : bytes) received_.push_back({now, byte});
}

void ConnectionDoctor::OnPortFailure(const std::string& reason) {
    if (Running()) Finish({Diagnosis::NoSuchDevice, reason, {}});
}

void ConnectionDoctor::Conclude() {
    std::vector<uint8_t> bytes;
    for (const Arrival& arrival : received_) bytes.push_back(arrival.byte);
    // What came back as it went out, before any radio could have answered,
    // is the cable's echo.
    const bool echoed = !received_.empty() && received_.front().atMs <= drainedAtMs_ + kDeafWindowMs &&
                        bytes.size() >= sent_.size() && std::equal(sent_.begin(), sent_.end(), bytes.begin());
    const std::span<const uint8_t> answer = std::span<const uint8_t>(bytes).subspan(echoed ? sent_.size() : 0);
    if (answer.empty()) {
        Finish({echoed ? Diagnosis::EchoOnly : Diagnosis::Silence, {}, {}});
        return;
    }
    const std::optional<std::span<const uint8_t>> frame = FindFrame(answer);
    if (!frame) {
        Finish({Diagnosis::NoFrame, std::to_string(answer.size()) + " bytes: " + Hex(answer), {}});
    } else if (ClassifyReply(*frame) == ReplyKind::Connection) {
        Finish({Diagnosis::RadioAnswers, echoed ? kEchoAsWell : std::string(), {}});
    } else {
        Finish({Diagnosis::ForeignAnswer, "it sent " + Hex(*frame), {}});
    }
}

void ConnectionDoctor::Finish(DoctorFinding finding) {
    jobs_.Clear();
    if (port_.IsOpen()) port_.Close();
    finding_ = std::move(finding);
    listener_.OnDoctorFinding(*finding_);
}

void ConnectionDoctor::Service() {
    jobs_.Run(clock_.NowMs());
    if (wake_) wake_();
}

}  // namespace corvane
