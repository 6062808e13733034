// Write to Radio: the toolbar checks, the exact byte sequence and pacing,
// completion, and a port that fails while the image goes out.
#include <gtest/gtest.h>

#include <functional>

#include "image/MemoryImage.h"
#include "link_harness.h"

namespace corvane::linktest {
namespace {

// Connects, requests a write and answers its handshake after 200 ms.
void RequestAnsweredWrite(LinkBench& bench) {
    bench.Connect();
    ASSERT_TRUE(bench.engine.Connected());
    const std::size_t before = bench.port.sent.size();
    bench.engine.RequestWrite();
    ASSERT_TRUE(bench.RunUntilTrue([&] { return bench.port.sent.size() > before; }, 500));
    bench.ReceiveAt(bench.LastSentAt() + 200, kConnReply);
}

// The same, returning once the first image byte has gone.
void StartConnectedWrite(LinkBench& bench) {
    RequestAnsweredWrite(bench);
    ASSERT_TRUE(bench.RunUntilTrue([&] { return bench.engine.TxIndex() > 0; }, 2000));
}

TEST(LinkWriteChecks, RefusalsBeforeAnyHandshake) {
    LinkBench bench;
    bench.engine.RequestWrite();  // not connected: nothing at all
    EXPECT_TRUE(bench.listener.messages.empty());
    EXPECT_TRUE(bench.port.sent.empty());

    bench.Connect();
    bench.ws.channels.SetCell(1, ColRxFreq, "");
    bench.ws.channels.SetFrequencyCell(446.1, 2, ColRxFreq);
    bench.engine.RequestWrite();
    EXPECT_EQ(bench.listener.LastMessage(), "There is no Frequency Datas ...");

    bench.port.Close();
    bench.engine.RequestWrite();
    EXPECT_EQ(bench.listener.LastMessage(), "[4] Could not Open COM: 5");
    bench.engine.RequestRead();
    EXPECT_EQ(bench.listener.LastMessage(), "[5] Could not Open COM: 5");
    EXPECT_FALSE(bench.engine.Busy());
}

TEST(LinkWrite, SendsFramesThenImageBytesEvery25Ms) {
    LinkBench bench;
    bench.ws.channelMode = kModeCustom;
    StartConnectedWrite(bench);
    const Result<MemoryImage> expected = BuildImage(bench.ws);
    ASSERT_TRUE(expected.ok()) << expected.message();
    EXPECT_EQ(bench.listener.Label(), "Download");
    EXPECT_FALSE(bench.listener.transferButtons);
    EXPECT_TRUE(bench.engine.WriteRunning());

    ASSERT_TRUE(bench.RunUntilTrue([&] { return !bench.engine.WriteRunning(); }, 60000));
    const auto& sent = bench.port.sent;
    ASSERT_EQ(sent.size(), 3u + kImageLength);
    EXPECT_EQ(sent[0].bytes, kConnReply);  // reconnect
    EXPECT_EQ(sent[1].bytes, kConnReply);  // handshake
    EXPECT_EQ(sent[2].bytes, (std::vector<uint8_t>{0x02, 0x05, 0x4D, 0x01, 0x00, 0x03}));
    std::vector<uint8_t> image;
    for (std::size_t i = 3; i < sent.size(); ++i) {
        ASSERT_EQ(sent[i].bytes.size(), 1u);
        image.push_back(sent[i].bytes[0]);
        if (i > 3) {
            EXPECT_EQ(sent[i].atMs - sent[i - 1].atMs, 25) << "byte " << i - 3;
        }
    }
    EXPECT_TRUE(std::equal(image.begin(), image.end(), expected->begin()));
    // Delay 100, frame, 100 ms deaf window, Delay 100, then the first tick.
    EXPECT_EQ(sent[3].atMs - sent[2].atMs, 225);

    EXPECT_EQ(bench.listener.LastMessage(), "DOWNLOAD COMPLETE");
    EXPECT_EQ(bench.listener.messages.back().kind, MessageKind::Exclamation);
    EXPECT_EQ(bench.listener.progressMax, static_cast<int>(kImageLength));
    EXPECT_EQ(bench.listener.progress, 0);
    EXPECT_TRUE(bench.listener.transferButtons);
    EXPECT_EQ(bench.listener.Label(), "(COM5)  Connected ...");
    EXPECT_FALSE(bench.engine.Timers().Running(LinkTimer::Timer1));
    EXPECT_EQ(bench.listener.imagesSent, 1);
}

TEST(LinkWrite, HandshakeWithoutAnswerLeavesOtherButtonsAlone) {
    LinkBench bench;
    bench.Connect();
    bench.engine.RequestWrite();
    ASSERT_TRUE(bench.RunUntilTrue([&] { return !bench.listener.messages.empty(); }, 2000));
    EXPECT_EQ(bench.listener.LastMessage(), "Connection Failure during handshake !!!");
    EXPECT_FALSE(bench.listener.writeReadEnabled);
    EXPECT_TRUE(bench.listener.transferButtons);
    EXPECT_FALSE(bench.engine.WriteRunning());
    bench.RunFor(500);
    EXPECT_EQ(bench.port.sent.size(), 2u);  // no write command
}

TEST(LinkWrite, RefusedImageSendsNoByteAtAll) {
    LinkBench bench;
    bench.Connect();
    ASSERT_TRUE(bench.engine.Connected());
    const std::size_t before = bench.port.sent.size();
    const std::size_t opens = bench.port.opened.size();
    for (const auto& spoil : std::vector<std::function<void(Workspace&)>>{
             [](Workspace& ws) { ws.settings.NameId = "1"; },
             [](Workspace& ws) { ws.channels.SetCell(30, ColTxFreq, "446.001000"); }}) {
        Workspace kept = bench.ws;
        spoil(bench.ws);
        const Result<MemoryImage> refused = BuildImage(bench.ws);
        ASSERT_FALSE(refused.ok());
        bench.engine.RequestWrite();
        EXPECT_EQ(bench.listener.LastMessage(), refused.message());
        EXPECT_FALSE(bench.engine.PortInUse());
        bench.RunFor(2000);
        bench.ws = kept;
    }
    // Not a handshake, not a command, not a re-open: the radio heard nothing.
    EXPECT_EQ(bench.port.sent.size(), before);
    EXPECT_EQ(bench.port.opened.size(), opens);
    EXPECT_TRUE(bench.listener.transferButtons);
    EXPECT_TRUE(bench.listener.writeReadEnabled);
}

// A stalled event loop: the byte after it leaves late, and the ones after
// that a whole interval apart, never sooner.
TEST(LinkWrite, LateTickDelaysTheRestInsteadOfCatchingUp) {
    LinkBench bench;
    StartConnectedWrite(bench);
    bench.RunFor(200);
    bench.StallFor(37);
    bench.RunFor(400);
    const auto& sent = bench.port.sent;
    int64_t late = 0;
    for (std::size_t i = 4; i < sent.size(); ++i) {
        const int64_t gap = sent[i].atMs - sent[i - 1].atMs;
        EXPECT_GE(gap, kWritePacerMs) << "byte " << i - 3;
        if (gap > kWritePacerMs) {
            ++late;
            EXPECT_EQ(sent[i + 1].atMs - sent[i].atMs, kWritePacerMs) << "after the late byte";
        }
    }
    EXPECT_EQ(late, 1);
}

// The process held up between its tick and the hand-over: the next byte is
// still a whole interval after the late one.
TEST(LinkWrite, PacedFromTheHandOverNotFromTheTick) {
    LinkBench bench;
    StartConnectedWrite(bench);
    const std::size_t first = bench.port.sent.size();
    bench.port.beforeHandOver = [&](std::size_t n) {
        if (n % 7 == 0) bench.clock.Advance(n % 2 == 0 ? 24 : 9);
    };
    bench.RunFor(3000);
    const auto& sent = bench.port.sent;
    ASSERT_GT(sent.size(), first + 50);
    for (std::size_t i = first; i < sent.size(); ++i) {
        EXPECT_GE(sent[i].atMs - sent[i - 1].atMs, kWritePacerMs) << "byte " << i - 3;
    }
}

TEST(LinkWrite, NothingReopensThePortUntilTheButtonsReturn) {
    LinkBench bench;
    RequestAnsweredWrite(bench);
    // From the request on, through the handshake, the command and the image.
    EXPECT_TRUE(bench.listener.portInUse);
    for (int i = 0; i < 20; ++i) {
        bench.RunFor(113);
        bench.engine.ReconnectPort();
        bench.engine.StartAutoDetect();
        bench.engine.RequestRead();
        EXPECT_TRUE(bench.engine.PortInUse());
    }
    EXPECT_FALSE(bench.engine.AutoDetectRunning());
    ASSERT_TRUE(bench.RunUntilTrue([&] { return !bench.engine.WriteRunning(); }, 60000));
    const std::vector<uint8_t> sent = bench.port.AllSent();
    const Result<MemoryImage> expected = BuildImage(bench.ws);
    ASSERT_TRUE(expected.ok());
    ASSERT_EQ(sent.size(), 8u + 8u + 6u + kImageLength);  // reconnect, handshake, command, image
    EXPECT_TRUE(std::equal(expected->begin(), expected->end(), sent.end() - static_cast<std::ptrdiff_t>(kImageLength)));
    EXPECT_FALSE(bench.listener.portInUse);
    EXPECT_EQ(bench.listener.unlockedWithButtons, std::vector<bool>{true});
    EXPECT_EQ(bench.port.opened.size(), 2u);
}

TEST(LinkWritePortFailure, RefusedWriteStopsThePacer) {
    LinkBench bench;
    bench.port.failWritesFrom = 3 + 100;
    StartConnectedWrite(bench);
    bench.RunFor(60000);
    EXPECT_FALSE(bench.engine.WriteRunning());
    EXPECT_EQ(bench.listener.Label(), "(COM5)  Connection Failed...");
    EXPECT_FALSE(bench.listener.writeReadEnabled);
    EXPECT_FALSE(bench.engine.Timers().Running(LinkTimer::Timer1));
    EXPECT_TRUE(bench.listener.transferButtons);
    EXPECT_EQ(bench.listener.progress, 0);
    ASSERT_FALSE(bench.listener.messages.empty());
    EXPECT_EQ(bench.listener.messages.back().kind, MessageKind::Warning);
    EXPECT_NE(bench.listener.LastMessage().find("after 100 of 1936 bytes"), std::string::npos)
        << bench.listener.LastMessage();
    for (const Message& m : bench.listener.messages) EXPECT_NE(m.text, "DOWNLOAD COMPLETE");
}

TEST(LinkWritePortFailure, PortLostMidWriteIsReportedNotCompleted) {
    LinkBench bench;
    StartConnectedWrite(bench);
    bench.RunFor(2000);
    bench.engine.OnPortFailure("device unplugged");
    EXPECT_FALSE(bench.engine.PortOpen());
    bench.RunFor(60000);
    EXPECT_FALSE(bench.engine.WriteRunning());
    ASSERT_EQ(bench.listener.messages.size(), 1u);
    EXPECT_NE(bench.listener.LastMessage().find("device unplugged"), std::string::npos);
    EXPECT_TRUE(bench.listener.transferButtons);
    // As after a failed handshake: red status, Down/Up off, a click does nothing.
    EXPECT_FALSE(bench.engine.Connected());
    EXPECT_EQ(bench.listener.Label(), "(COM5)  Connection Failed...");
    EXPECT_EQ(bench.listener.colour, StatusColour::Red);
    EXPECT_FALSE(bench.listener.writeReadEnabled);
    bench.engine.RequestWrite();
    EXPECT_EQ(bench.listener.messages.size(), 1u);
}

TEST(LinkPortFailure, IdlePortLostShowsConnectionFailed) {
    LinkBench bench;
    bench.Connect();
    ASSERT_EQ(bench.listener.Label(), "(COM5)  Connected ...");
    bench.engine.OnPortFailure("device unplugged");
    EXPECT_EQ(bench.listener.Label(), "(COM5)  Connection Failed...");
    EXPECT_EQ(bench.listener.colour, StatusColour::Red);
    EXPECT_FALSE(bench.listener.writeReadEnabled);
    EXPECT_TRUE(bench.listener.messages.empty());
    // Choosing the port again brings it back once the radio answers.
    bench.Connect();
    EXPECT_EQ(bench.listener.Label(), "(COM5)  Connected ...");
    EXPECT_TRUE(bench.listener.writeReadEnabled);
}

TEST(LinkWritePortFailure, PortClosedUnderThePacerFails) {
    LinkBench bench;
    StartConnectedWrite(bench);
    bench.port.Close();
    bench.RunFor(100);
    EXPECT_FALSE(bench.engine.WriteRunning());
    EXPECT_EQ(bench.listener.messages.back().kind, MessageKind::Warning);
}

TEST(LinkWrite, BytesFromTheRadioDuringWriteAreDiscarded) {
    LinkBench bench;
    StartConnectedWrite(bench);
    bench.ReceiveAt(bench.clock.NowMs() + 100, {1, 2, 3, 4});
    bench.RunFor(400);
    EXPECT_EQ(bench.engine.RxCount(), 0);
    EXPECT_LE(bench.listener.progressMax, bench.engine.TxIndex());
}

}  // namespace
}  // namespace corvane::linktest
