// A port that fails part way through a transfer: whatever the moment, the
// toolbar comes back with Down and Up off, a click on them does nothing, and
// they return only once the radio answers again.
#include <gtest/gtest.h>

#include <functional>

#include "link_harness.h"

namespace corvane::linktest {
namespace {

const std::vector<uint8_t> kReadCommandMode0 = {0x02, 0x05, 'R', 0x00, 0x00, 0x03};

// Requests a transfer and answers its handshake; returns once the
// transfer's command frame has gone out.
void StartAnswered(LinkBench& bench, const std::function<void()>& request) {
    bench.Connect();
    ASSERT_TRUE(bench.engine.Connected());
    std::size_t before = bench.port.sent.size();
    request();
    ASSERT_TRUE(bench.RunUntilTrue([&] { return bench.port.sent.size() > before; }, 500));
    bench.ReceiveAt(bench.LastSentAt() + 200, kConnReply);
    before = bench.port.sent.size();
    ASSERT_TRUE(bench.RunUntilTrue([&] { return bench.port.sent.size() > before; }, 2000));
}

void FailMidImage(LinkBench& bench) {
    StartAnswered(bench, [&] { bench.engine.RequestWrite(); });
    ASSERT_TRUE(bench.RunUntilTrue([&] { return bench.engine.TxIndex() > 40; }, 5000));
    bench.engine.OnPortFailure("device unplugged");
}

void FailByRefusedByte(LinkBench& bench) {
    bench.port.failWritesFrom = 3 + 40;  // reconnect, handshake, command, then 40 image bytes
    StartAnswered(bench, [&] { bench.engine.RequestWrite(); });
}

void FailWhileTheWriteCommandGoesOut(LinkBench& bench) {
    StartAnswered(bench, [&] { bench.engine.RequestWrite(); });
    ASSERT_EQ(bench.port.sent.back().bytes[2], 'M');
    ASSERT_EQ(bench.engine.TxIndex(), 0);
    bench.engine.OnPortFailure("device unplugged");
}

void FailMidRead(LinkBench& bench) {
    StartAnswered(bench, [&] { bench.engine.RequestRead(); });
    ASSERT_EQ(bench.port.sent.back().bytes, kReadCommandMode0);
    bench.ReceiveStream(bench.LastSentAt() + 150, std::vector<uint8_t>(500, 0x11), kLineByteMs);
    ASSERT_TRUE(bench.RunUntilTrue([&] { return bench.engine.RxCount() > 100; }, 2000));
    bench.engine.OnPortFailure("device unplugged");
}

// Verify after Write: the port goes away during the read-back.
void FailMidReadBack(LinkBench& bench) {
    bench.engine.SetVerifyAfterWrite(true);
    StartAnswered(bench, [&] { bench.engine.RequestWrite(); });
    ASSERT_TRUE(bench.RunUntilTrue([&] { return bench.port.sent.back().bytes == kConnReply; }, 60000));
    bench.ReceiveAt(bench.LastSentAt() + 200, kConnReply);
    ASSERT_TRUE(bench.RunUntilTrue([&] { return bench.port.sent.back().bytes == kReadCommandMode0; }, 2000));
    bench.ReceiveStream(bench.LastSentAt() + 150, std::vector<uint8_t>(300, 0x22), kLineByteMs);
    ASSERT_TRUE(bench.RunUntilTrue([&] { return bench.engine.RxCount() > 100; }, 2000));
    bench.engine.OnPortFailure("device unplugged");
}

// Verify after Write: the radio no longer answers the read-back's handshake.
void ReadBackNotAnswered(LinkBench& bench) {
    bench.engine.SetVerifyAfterWrite(true);
    StartAnswered(bench, [&] { bench.engine.RequestWrite(); });
    ASSERT_TRUE(bench.RunUntilTrue([&] { return bench.port.sent.back().bytes == kConnReply; }, 60000));
}

struct FailureCase {
    const char* name;
    void (*fail)(LinkBench&);
};

void PrintTo(const FailureCase& c, std::ostream* out) { *out << c.name; }

class LinkTransferPortFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(LinkTransferPortFailure, DownAndUpStayOffUntilTheRadioAnswersAgain) {
    LinkBench bench;
    GetParam().fail(bench);
    if (HasFatalFailure()) return;
    ASSERT_TRUE(bench.RunUntilTrue([&] { return !bench.engine.PortInUse() && !bench.engine.Busy(); }, 5000));
    bench.incoming.clear();  // what the radio was sending is gone with the port
    bench.RunFor(1000);

    EXPECT_FALSE(bench.engine.Connected());
    EXPECT_EQ(bench.listener.Label(), "(COM5)  Connection Failed...");
    EXPECT_TRUE(bench.listener.transferButtons);  // the other six are back
    EXPECT_FALSE(bench.listener.downUpShown);
    EXPECT_FALSE(bench.listener.portInUse);

    // A click that still reaches them (a shortcut, a stale event) does nothing.
    const std::size_t sent = bench.port.sent.size();
    const std::size_t shown = bench.listener.messages.size();
    bench.engine.RequestWrite();
    bench.engine.RequestRead();
    bench.RunFor(1000);
    EXPECT_EQ(bench.port.sent.size(), sent);
    EXPECT_EQ(bench.listener.messages.size(), shown);
    EXPECT_FALSE(bench.listener.downUpShown);

    // The port chosen again and the radio answering bring them back.
    bench.port.failWritesFrom.reset();
    bench.Connect();
    EXPECT_EQ(bench.listener.Label(), "(COM5)  Connected ...");
    EXPECT_TRUE(bench.listener.downUpShown);
}

INSTANTIATE_TEST_SUITE_P(Moments, LinkTransferPortFailure,
                         ::testing::Values(FailureCase{"MidImage", FailMidImage},
                                           FailureCase{"RefusedByte", FailByRefusedByte},
                                           FailureCase{"WriteCommand", FailWhileTheWriteCommandGoesOut},
                                           FailureCase{"MidRead", FailMidRead},
                                           FailureCase{"MidReadBack", FailMidReadBack},
                                           FailureCase{"ReadBackNotAnswered", ReadBackNotAnswered}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace corvane::linktest
