// Connection requests, the deaf window after a frame, reply parsing and the
// automatic port detection, on simulated time.
#include <gtest/gtest.h>

#include "link_harness.h"

namespace corvane::linktest {
namespace {

const std::vector<uint8_t> kBadEndReply = {0x02, 0x05, 'C', 'O', 'N', 'N', 0x00, 0x03};

TEST(LinkReconnect, ShowsFailedAtOnceThenConnectedOnAnswer) {
    LinkBench bench;
    bench.ws.portName = "7";
    bench.engine.ReconnectPort();
    EXPECT_EQ(bench.listener.Label(), "(COM7)  Connection Failed...");
    EXPECT_EQ(bench.listener.colour, StatusColour::Red);
    EXPECT_EQ(bench.listener.editorsClosed, 1);
    EXPECT_EQ(bench.port.opened.back(), "/sim/ttyUSB2");
    // The request leaves after the 100 ms settling delay.
    ASSERT_TRUE(bench.RunUntilTrue([&] { return !bench.port.sent.empty(); }, 500));
    EXPECT_EQ(bench.LastSentAt(), 100);
    EXPECT_EQ(bench.port.sent.back().bytes, kConnReply);

    bench.ReceiveAt(300, kConnReply);
    bench.RunUntil(500);
    EXPECT_TRUE(bench.engine.Connected());
    EXPECT_EQ(bench.listener.Label(), "(COM7)  Connected ...");
    EXPECT_EQ(bench.listener.colour, StatusColour::Blue);
    EXPECT_TRUE(bench.listener.writeReadEnabled);
    // The receive tick empties the buffer once the reply is handled.
    EXPECT_EQ(bench.engine.RxCount(), 0);
}

TEST(LinkReconnect, ReplyInsideDeafWindowIsDropped) {
    LinkBench bench;
    bench.engine.ReconnectPort();
    ASSERT_TRUE(bench.RunUntilTrue([&] { return !bench.port.sent.empty(); }, 500));
    bench.ReceiveAt(bench.LastSentAt() + 50, kConnReply);
    bench.RunFor(1000);
    EXPECT_FALSE(bench.engine.Connected());
    EXPECT_EQ(bench.engine.RxCount(), 0);
}

TEST(LinkReconnect, MissingDeviceStaysClosedSilently) {
    LinkBench bench;
    bench.port.missing["/sim/ttyUSB0"] = true;
    bench.engine.ReconnectPort();
    bench.RunFor(500);
    EXPECT_FALSE(bench.engine.PortOpen());
    EXPECT_TRUE(bench.port.sent.empty());
    EXPECT_FALSE(bench.engine.LastOpenStatus().ok());
    EXPECT_TRUE(bench.listener.messages.empty());
    EXPECT_FALSE(bench.engine.Busy());
}

// The connection doctor borrows the port: the link closes it mid-request,
// shows it is not connected, and takes it again on ReconnectPort; a
// transfer keeps it.
TEST(LinkReconnect, ReleasedPortIsLentAndTakenBack) {
    LinkBench bench;
    bench.Connect();
    bench.engine.ReconnectPort();  // a request on its way when the doctor comes
    EXPECT_TRUE(bench.engine.ReleasePort());
    EXPECT_FALSE(bench.engine.PortOpen());
    EXPECT_FALSE(bench.engine.Connected());
    EXPECT_FALSE(bench.engine.Busy());
    EXPECT_EQ(bench.listener.Label(), "(COM" + bench.ws.portName + ")  Connection Failed...");
    EXPECT_FALSE(bench.listener.writeReadEnabled);
    const std::size_t sent = bench.port.sent.size();
    bench.RunFor(1000);
    EXPECT_EQ(bench.port.sent.size(), sent);  // nothing more goes out on the lent port

    bench.engine.ReconnectPort();
    ASSERT_TRUE(bench.RunUntilTrue([&] { return bench.port.sent.size() > sent; }, 500));
    bench.ReceiveAt(bench.LastSentAt() + 200, kConnReply);
    bench.RunFor(400);
    ASSERT_TRUE(bench.engine.Connected());
    bench.engine.RequestRead();
    ASSERT_TRUE(bench.engine.PortInUse());
    EXPECT_FALSE(bench.engine.ReleasePort());
    EXPECT_TRUE(bench.engine.PortOpen());
}

// Starts a read and returns when its handshake request has gone out.
int64_t StartHandshakeOfRead(LinkBench& bench) {
    bench.Connect();
    const std::size_t before = bench.port.sent.size();
    bench.engine.RequestRead();
    EXPECT_TRUE(bench.RunUntilTrue([&] { return bench.port.sent.size() > before; }, 500));
    return bench.LastSentAt();
}

TEST(LinkHandshake, AnswerAfterDeafWindowConnects) {
    LinkBench bench;
    const int64_t sentAt = StartHandshakeOfRead(bench);
    EXPECT_FALSE(bench.engine.Connected());
    bench.ReceiveAt(sentAt + 200, kConnReply);
    ASSERT_TRUE(bench.RunUntilTrue([&] { return bench.engine.ReadRunning(); }, 1000));
    EXPECT_TRUE(bench.engine.Connected());
    EXPECT_EQ(bench.listener.Label(), "Upload");
    EXPECT_FALSE(bench.listener.transferButtons);
}

TEST(LinkHandshake, AnswerInsideDeafWindowFails) {
    LinkBench bench;
    const int64_t sentAt = StartHandshakeOfRead(bench);
    bench.ReceiveAt(sentAt + 50, kConnReply);
    bench.RunFor(1000);
    EXPECT_FALSE(bench.engine.Connected());
    EXPECT_FALSE(bench.engine.ReadRunning());
    EXPECT_EQ(bench.listener.LastMessage(), "Connection Failure during handshake !!!");
    EXPECT_EQ(bench.listener.Label(), "(COM" + bench.ws.portName + ")  Connection Failed...");
    EXPECT_FALSE(bench.listener.writeReadEnabled);
    EXPECT_TRUE(bench.listener.transferButtons);
}

TEST(LinkHandshake, SilenceLastsAboutAQuarterSecond) {
    LinkBench bench;
    const int64_t sentAt = StartHandshakeOfRead(bench);
    ASSERT_TRUE(bench.RunUntilTrue([&] { return !bench.listener.messages.empty(); }, 2000));
    // 100 ms deaf window, then 50 counts on two 10 ms ticks.
    const int64_t waited = bench.clock.NowMs() - sentAt;
    EXPECT_GE(waited, 340);
    EXPECT_LE(waited, 370);
    EXPECT_FALSE(bench.engine.Timers().Running(LinkTimer::Timer4));
}

TEST(LinkHandshake, ForeignReplyEndsWaitAtOnceWithoutConnecting) {
    LinkBench bench;
    const int64_t sentAt = StartHandshakeOfRead(bench);
    bench.ReceiveAt(sentAt + 150, kForeignReply);
    ASSERT_TRUE(bench.RunUntilTrue([&] { return !bench.listener.messages.empty(); }, 2000));
    // Nine silent ticks after the last byte, not the full wait.
    EXPECT_LE(bench.clock.NowMs() - sentAt, 150 + 60);
    EXPECT_FALSE(bench.engine.Connected());
    EXPECT_EQ(bench.listener.LastMessage(), "Connection Failure during handshake !!!");
}

TEST(LinkHandshake, MalformedReplyIsIgnoredAndWaitRunsOut) {
    LinkBench bench;
    const int64_t sentAt = StartHandshakeOfRead(bench);
    bench.ReceiveAt(sentAt + 150, kBadEndReply);
    ASSERT_TRUE(bench.RunUntilTrue([&] { return !bench.listener.messages.empty(); }, 2000));
    // The bytes reloaded the counter; it then runs down to 0 (ten counts on two ticks).
    EXPECT_GE(bench.clock.NowMs() - sentAt, 150 + 35);
    EXPECT_FALSE(bench.engine.Connected());
    bench.RunFor(50);
    EXPECT_EQ(bench.engine.RxCount(), 0);
}

TEST(LinkHandshake, ChatteringLineDoesNotHoldTheLinkForever) {
    LinkBench bench;
    const int64_t sentAt = StartHandshakeOfRead(bench);
    bench.ReceiveStream(sentAt + 150, std::vector<uint8_t>(2000, 0x55), 5);
    ASSERT_TRUE(bench.RunUntilTrue([&] { return !bench.listener.messages.empty(); }, 5000));
    EXPECT_FALSE(bench.engine.Busy());
    EXPECT_FALSE(bench.engine.ReadRunning());
}

// ---------------------------------------------------------------- detection

std::vector<std::string> ProbedPorts(const LinkBench& bench) {
    std::vector<std::string> ports;
    for (const std::string& label : bench.listener.labels) {
        if (label.starts_with("[COM")) ports.push_back(label.substr(4, label.find(']') - 4));
    }
    return ports;
}

TEST(LinkDetection, WrapsFromTwelveToOneAndStopsAfterTwelve) {
    LinkBench bench;
    bench.ws.portName = "11";
    bench.engine.StartAutoDetect();
    EXPECT_TRUE(bench.engine.AutoDetectRunning());
    bench.RunFor(12 * 21 * 20 + 500);
    EXPECT_EQ(ProbedPorts(bench),
              (std::vector<std::string>{"11", "12", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));
    EXPECT_FALSE(bench.engine.AutoDetectRunning());
    EXPECT_FALSE(bench.engine.Timers().Running(LinkTimer::Timer3));
    EXPECT_EQ(bench.listener.Label(), "(COM10)  Connection Failed...");
    EXPECT_FALSE(bench.listener.writeReadEnabled);
    EXPECT_EQ(bench.port.sent.size(), 12u);
    EXPECT_EQ(bench.port.sentTo.front(), "/sim/ttyACM2");
    EXPECT_EQ(bench.listener.labels[0], "[COM11] Testing Connect .....");
}

TEST(LinkDetection, AnswerOnThirdProbeStopsAtOnce) {
    LinkBench bench;
    bench.ws.portName = "11";
    bench.engine.StartAutoDetect();
    ASSERT_TRUE(bench.RunUntilTrue([&] { return bench.port.sent.size() == 3; }, 5000));
    EXPECT_EQ(bench.ws.portName, "1");
    bench.ReceiveAt(bench.LastSentAt() + 150, kConnReply);
    bench.RunFor(5000);
    EXPECT_TRUE(bench.engine.Connected());
    EXPECT_FALSE(bench.engine.AutoDetectRunning());
    EXPECT_EQ(bench.ws.portName, "1");
    EXPECT_EQ(bench.port.sent.size(), 3u);
    EXPECT_EQ(bench.listener.Label(), "(COM1)  Connected ...");
}

TEST(LinkDetection, StartDuringAReconnectProbesAfterIt) {
    LinkBench bench;
    bench.ws.portName = "2";
    bench.engine.ReconnectPort();
    bench.RunFor(20);
    bench.engine.StartAutoDetect();
    // Probes at about 40 ms (queued behind the reconnect) and 460 ms.
    bench.RunFor(780);
    EXPECT_EQ(ProbedPorts(bench), (std::vector<std::string>{"2", "3"}));
    EXPECT_EQ(bench.port.sent.size(), 3u);
}

TEST(LinkDetection, SecondStartWhileRunningDoesNothing) {
    LinkBench bench;
    bench.ws.portName = "3";
    bench.engine.StartAutoDetect();
    bench.RunFor(30);
    bench.engine.StartAutoDetect();
    bench.RunFor(400);
    EXPECT_EQ(ProbedPorts(bench), (std::vector<std::string>{"3"}));
}

TEST(LinkDetection, StartedWhileConnectedEndsFailedWhenNobodyAnswers) {
    LinkBench bench;
    bench.Connect();
    ASSERT_TRUE(bench.engine.Connected());
    bench.engine.StartAutoDetect();
    EXPECT_FALSE(bench.engine.Connected());
    bench.RunFor(12 * 21 * 20 + 500);
    EXPECT_EQ(bench.listener.Label(), "(COM4)  Connection Failed...");
}

}  // namespace
}  // namespace corvane::linktest
