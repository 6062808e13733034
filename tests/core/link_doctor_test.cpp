// The connection doctor on the fake line and the manual clock: every trouble
// it knows, from a port that will not open to bytes that are not this
// radio's, and the words the faces show for each.
#include <gtest/gtest.h>

#include <set>

#include "link/ConnectionDoctor.h"
#include "link/DeviceAccess.h"
#include "link_harness.h"

namespace corvane::linktest {
namespace {

const std::string kDevice = "/dev/ttyUSB0";

class RecordingDoctorListener : public DoctorListener {
public:
    void OnDoctorStep(DoctorStep step) override { steps.push_back(step); }
    void OnDoctorFinding(const DoctorFinding& finding) override { findings.push_back(finding); }
    std::vector<DoctorStep> steps;
    std::vector<DoctorFinding> findings;
};

// What the line does after the request has gone out at time 0 (ms after it).
struct Exchange {
    const char* name;
    std::vector<std::pair<int64_t, std::vector<uint8_t>>> replies;
    std::optional<OpenProblem> refusal;
    Diagnosis expected;
    std::string detail;  // expected in the finding's detail; "" for none
};

void PrintTo(const Exchange& exchange, std::ostream* out) { *out << exchange.name; }

class LinkDoctor : public ::testing::TestWithParam<Exchange> {};

TEST_P(LinkDoctor, TellsWhatIsWrong) {
    const Exchange& exchange = GetParam();
    ManualClock clock;
    FakePort port(clock);
    RecordingDoctorListener listener;
    ConnectionDoctor doctor(port, clock, listener);
    if (exchange.refusal) port.refused[kDevice] = *exchange.refusal;

    doctor.Start(kDevice);
    std::multimap<int64_t, std::vector<uint8_t>> incoming;
    const int64_t sentAt = port.sent.empty() ? 0 : port.sent.front().atMs;
    for (const auto& [afterMs, bytes] : exchange.replies) incoming.emplace(sentAt + afterMs, bytes);
    // Never more than about a second, a millisecond at a time.
    for (int ms = 0; ms < 1200 && doctor.Running(); ++ms) {
        clock.Advance(1);
        while (!incoming.empty() && incoming.begin()->first <= clock.NowMs()) {
            doctor.OnBytesReceived(incoming.begin()->second);
            incoming.erase(incoming.begin());
        }
        if (const std::optional<int64_t> next = doctor.NextDeadline(); next && *next <= clock.NowMs()) doctor.Service();
    }

    EXPECT_FALSE(doctor.Running());
    ASSERT_EQ(listener.findings.size(), 1u);
    const DoctorFinding& finding = listener.findings.front();
    EXPECT_EQ(TextOf(finding.diagnosis).id, TextOf(exchange.expected).id);
    EXPECT_NE(finding.detail.find(exchange.detail), std::string::npos) << finding.detail;
    if (exchange.detail.empty()) {
        EXPECT_EQ(FindingLine(finding), TextOf(exchange.expected).finding);
    }
    EXPECT_FALSE(port.IsOpen());
    if (exchange.refusal) {
        EXPECT_TRUE(port.sent.empty());  // nothing reaches a port it could not open
        EXPECT_EQ(listener.steps, std::vector<DoctorStep>{DoctorStep::OpenPort});
    } else {
        ASSERT_EQ(port.sent.size(), 1u);
        EXPECT_EQ(port.sent.front().bytes, kConnReply);  // the request, which the radio answers in kind
        EXPECT_EQ(listener.steps,
                  (std::vector<DoctorStep>{DoctorStep::OpenPort, DoctorStep::SendRequest, DoctorStep::Listen}));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, LinkDoctor,
    ::testing::Values(
        Exchange{"RadioAnswers", {{150, kConnReply}}, {}, Diagnosis::RadioAnswers, ""},
        Exchange{"SlowRadioAnswers", {{600, kConnReply}}, {}, Diagnosis::RadioAnswers, ""},
        Exchange{"EchoingCableAndRadio", {{1, kConnReply}, {160, kConnReply}}, {}, Diagnosis::RadioAnswers, "echoes"},
        Exchange{"Silence", {}, {}, Diagnosis::Silence, ""},
        Exchange{"EchoOnly", {{1, {0x02, 0x07, 'C', 'O'}}, {3, {'N', 'N', 0x00, 0x03}}}, {}, Diagnosis::EchoOnly, ""},
        Exchange{"Noise", {{150, {0x3F, 0x00, 0xC1, 0x02, 0x55}}}, {}, Diagnosis::NoFrame, "5 bytes: 3F 00 C1 02 55"},
        Exchange{"EchoThenNoise", {{1, kConnReply}, {150, {0x80, 0x80}}}, {}, Diagnosis::NoFrame, "2 bytes: 80 80"},
        Exchange{"ForeignReply", {{150, kForeignReply}}, {}, Diagnosis::ForeignAnswer, "02 07 43 4F 4E 58 00 03"},
        Exchange{"ForeignAfterNoise", {{150, {0x11}}, {170, kForeignReply}}, {}, Diagnosis::ForeignAnswer, "43 4F 4E 58"},
        Exchange{"NoSuchDevice", {}, OpenProblem{OpenFailure::NoSuchDevice, {}}, Diagnosis::NoSuchDevice, ""},
        Exchange{"Refused", {}, OpenProblem{OpenFailure::PermissionDenied, "uucp"}, Diagnosis::PermissionDenied, ""},
        Exchange{"Held", {}, OpenProblem{OpenFailure::InUse, "minicom, process 42"}, Diagnosis::InUse,
                 "minicom, process 42"},
        Exchange{"OtherOpenFailure", {}, OpenProblem{OpenFailure::Other, "Input/output error"}, Diagnosis::NoSuchDevice,
                 "Input/output error"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LinkDoctorRun, PortLostWhileListeningAndNoDeviceAtAll) {
    ManualClock clock;
    FakePort port(clock);
    RecordingDoctorListener listener;
    ConnectionDoctor doctor(port, clock, listener);
    doctor.Start("");
    ASSERT_EQ(listener.findings.size(), 1u);
    EXPECT_EQ(listener.findings.back().diagnosis, Diagnosis::NoSuchDevice);
    EXPECT_TRUE(port.opened.empty());

    doctor.Start(kDevice);
    clock.Advance(50);
    doctor.Service();
    ASSERT_TRUE(doctor.Running());
    doctor.OnPortFailure("/dev/ttyUSB0: the device went away");
    EXPECT_FALSE(doctor.Running());
    EXPECT_FALSE(port.IsOpen());
    ASSERT_EQ(listener.findings.size(), 2u);
    EXPECT_EQ(FindingLine(listener.findings.back()),
              "There is no such device (/dev/ttyUSB0: the device went away).");
    EXPECT_FALSE(doctor.NextDeadline());

    // A port that opens later (the page's) tells why it did not.
    doctor.Start(kDevice);
    ASSERT_TRUE(doctor.Running());
    doctor.OnOpenFailure({OpenFailure::InUse, "the browser says: Failed to open serial port."});
    EXPECT_FALSE(doctor.Running());
    ASSERT_EQ(listener.findings.size(), 3u);
    EXPECT_EQ(listener.findings.back().diagnosis, Diagnosis::InUse);
    EXPECT_EQ(listener.findings.back().detail, "the browser says: Failed to open serial port.");
    doctor.OnOpenFailure({OpenFailure::PermissionDenied, {}});  // after the verdict: nothing
    EXPECT_EQ(listener.findings.size(), 3u);
}

// One row per diagnosis, each with its own name; the fixes name the group.
TEST(LinkDiagnosisTable, EveryDiagnosisHasItsWordsOnce) {
    std::set<std::string_view> ids;
    for (const DiagnosisText& text : AllDiagnoses()) {
        EXPECT_TRUE(ids.insert(text.id).second) << text.id;
        EXPECT_EQ(&TextOf(text.diagnosis), &text);
        EXPECT_EQ(text.finding.back(), '.');
        EXPECT_FALSE(text.fix.empty());
    }
    EXPECT_EQ(ids.size(), static_cast<std::size_t>(Diagnosis::ForeignAnswer) + 1);

    EXPECT_NE(FixLine({Diagnosis::PermissionDenied, {}, "uucp"}).find("sudo usermod -aG uucp $USER"), std::string::npos);
    EXPECT_NE(FixLine({Diagnosis::PermissionDenied, {}, {}}).find("-aG dialout "), std::string::npos);
    EXPECT_NE(FixLine({Diagnosis::PermissionDenied, {}, {}}).find("udev rule"), std::string::npos);
}

// The transfers' open failures speak the doctor's words.
TEST(LinkDeviceAccess, OpenFailuresSayWhy) {
    EXPECT_EQ(DescribeOpenFailure("/dev/ttyUSB0", {OpenFailure::InUse, "minicom, process 42"}, "busy").rfind(
                  "cannot open /dev/ttyUSB0: the port is in use by another program (minicom, process 42). Close ", 0),
              0u);
    const std::string denied = DescribeOpenFailure("/dev/ttyUSB0", {OpenFailure::PermissionDenied, "dialout"}, "denied");
    EXPECT_EQ(denied.rfind("cannot open /dev/ttyUSB0: permission denied: your user may not open the port. ", 0), 0u);
    EXPECT_NE(denied.find("sudo usermod -aG dialout $USER"), std::string::npos);
    EXPECT_EQ(DescribeOpenFailure("/dev/ttyS9", {OpenFailure::Other, {}}, "Input/output error"),
              "cannot open /dev/ttyS9: Input/output error");
}

}  // namespace
}  // namespace corvane::linktest
