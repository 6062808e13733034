// Read from Radio: collecting the burst, completion at silence, incomplete
// and interrupted bursts, line errors, the give-up time and buffer bounds.
#include <gtest/gtest.h>

#include "image/MemoryImage.h"
#include "link_harness.h"

namespace corvane::linktest {
namespace {

// Connects, requests a read, answers its handshake; returns the time the
// read command went out.
int64_t StartConnectedRead(LinkBench& bench) {
    bench.Connect();
    EXPECT_TRUE(bench.engine.Connected());
    std::size_t before = bench.port.sent.size();
    bench.engine.RequestRead();
    EXPECT_TRUE(bench.RunUntilTrue([&] { return bench.port.sent.size() > before; }, 500));
    bench.ReceiveAt(bench.LastSentAt() + 200, kConnReply);
    before = bench.port.sent.size();
    EXPECT_TRUE(bench.RunUntilTrue([&] { return bench.port.sent.size() > before; }, 2000));
    EXPECT_EQ(bench.port.sent.back().bytes, (std::vector<uint8_t>{0x02, 0x05, 'R', 0x00, 0x00, 0x03}));
    return bench.LastSentAt();
}

// An image of a table that differs from the bench's own.
std::vector<uint8_t> RadioImage() {
    Workspace radio;
    radio.edition = kEditionPmrLpd;
    radio.previousEdition = kEditionPmrLpd;
    ResetToEditionDefaults(radio);
    radio.channels.SetFrequencyCell(433.075, 1, ColRxFreq);
    radio.channels.SetFrequencyCell(433.075, 1, ColTxFreq);
    const Result<MemoryImage> image = BuildImage(radio);
    EXPECT_TRUE(image.ok()) << image.message();
    return image.ok() ? std::vector<uint8_t>(image->begin(), image->end()) : std::vector<uint8_t>(kImageLength);
}

const std::string& Channel1(const LinkBench& bench) { return bench.ws.channels.GetCell(1, ColRxFreq); }

TEST(LinkRead, FullBurstCompletesAtSilence) {
    LinkBench bench;
    const int64_t sentAt = StartConnectedRead(bench);
    EXPECT_EQ(bench.listener.Label(), "Upload");
    EXPECT_FALSE(bench.listener.transferButtons);
    bench.ReceiveStream(sentAt + 150, RadioImage(), kLineByteMs);
    ASSERT_TRUE(bench.RunUntilTrue([&] { return !bench.engine.ReadRunning(); }, 20000));
    EXPECT_EQ(bench.listener.LastMessage(), "UPLOAD COMPLETE");
    EXPECT_EQ(bench.listener.messages.back().kind, MessageKind::Exclamation);
    EXPECT_EQ(bench.listener.Label(), "(COM5)  Connected ...");
    EXPECT_EQ(Channel1(bench), "433.075000");
    EXPECT_EQ(bench.listener.imagesAccepted, 1);
    EXPECT_TRUE(bench.listener.transferButtons);
    EXPECT_EQ(bench.listener.progress, 0);
    EXPECT_EQ(bench.listener.progressMax, static_cast<int>(kImageLength));
    EXPECT_EQ(bench.engine.RxCount(), 0);
    EXPECT_TRUE(bench.engine.Timers().Running(LinkTimer::Timer2));
    EXPECT_TRUE(std::filesystem::exists(bench.folder / "Port.txt"));
    // Completion needs about 100 ms of silence after the last byte.
    const int64_t lastByte = sentAt + 150 + (static_cast<int64_t>(kImageLength) - 1) * kLineByteMs;
    EXPECT_GE(bench.clock.NowMs() - lastByte, 90);
    EXPECT_LE(bench.clock.NowMs() - lastByte, 120);
}

// Compare with Radio and Show Changes before Write: the image only goes to
// the listener; the next Up decodes again.
TEST(LinkRead, CompareReadHandsTheImageOverAndLeavesTheWorkspace) {
    LinkBench bench;
    bench.Connect();
    const std::string before = Channel1(bench);
    std::size_t sent = bench.port.sent.size();
    bench.engine.RequestCompareRead();
    ASSERT_TRUE(bench.RunUntilTrue([&] { return bench.port.sent.size() > sent; }, 500));
    bench.ReceiveAt(bench.LastSentAt() + 200, kConnReply);
    sent = bench.port.sent.size();
    ASSERT_TRUE(bench.RunUntilTrue([&] { return bench.port.sent.size() > sent; }, 2000));
    EXPECT_TRUE(bench.engine.PortInUse());
    bench.ReceiveStream(bench.LastSentAt() + 150, RadioImage(), kLineByteMs);
    ASSERT_TRUE(bench.RunUntilTrue([&] { return !bench.engine.ReadRunning(); }, 20000));
    ASSERT_EQ(bench.listener.imagesForCompare.size(), 1u);
    EXPECT_EQ(bench.listener.imagesForCompare[0], RadioImage());
    EXPECT_EQ(Channel1(bench), before);
    EXPECT_EQ(bench.listener.imagesAccepted, 0);
    EXPECT_TRUE(bench.listener.messages.empty());
    EXPECT_TRUE(bench.listener.transferButtons);
    EXPECT_FALSE(bench.engine.PortInUse());

    const int64_t sentAt = StartConnectedRead(bench);
    bench.ReceiveAt(sentAt + 150, RadioImage());
    ASSERT_TRUE(bench.RunUntilTrue([&] { return !bench.engine.ReadRunning(); }, 5000));
    EXPECT_EQ(bench.listener.LastMessage(), "UPLOAD COMPLETE");
    EXPECT_EQ(Channel1(bench), "433.075000");
    EXPECT_EQ(bench.listener.imagesForCompare.size(), 1u);
}

TEST(LinkRead, LongerBurstDecodesFirst1936Bytes) {
    LinkBench bench;
    const int64_t sentAt = StartConnectedRead(bench);
    std::vector<uint8_t> burst = RadioImage();
    burst.resize(2000, 0xEE);
    bench.ReceiveAt(sentAt + 150, burst);
    ASSERT_TRUE(bench.RunUntilTrue([&] { return !bench.engine.ReadRunning(); }, 5000));
    EXPECT_EQ(bench.listener.LastMessage(), "UPLOAD COMPLETE");
    EXPECT_EQ(Channel1(bench), "433.075000");
    EXPECT_LE(bench.listener.progressMax, static_cast<int>(kImageLength));
}

TEST(LinkRead, OverlongBurstStaysInsideTheBuffer) {
    LinkBench bench;
    const int64_t sentAt = StartConnectedRead(bench);
    std::vector<uint8_t> burst = RadioImage();
    burst.resize(5000, 0xEE);
    bench.ReceiveAt(sentAt + 150, burst);
    bench.RunFor(151);
    EXPECT_EQ(bench.engine.RxCount(), static_cast<int>(kLinkBufferSize));
    EXPECT_EQ(bench.listener.progressMax, static_cast<int>(kImageLength));
    ASSERT_TRUE(bench.RunUntilTrue([&] { return !bench.engine.ReadRunning(); }, 5000));
    EXPECT_EQ(Channel1(bench), "433.075000");
}

TEST(LinkRead, ShortBurstWaitsThenGivesUpAfterTwentySeconds) {
    LinkBench bench;
    const std::string before = Channel1(bench);
    const int64_t sentAt = StartConnectedRead(bench);
    std::vector<uint8_t> burst = RadioImage();
    burst.resize(kImageLength - 1);
    bench.ReceiveAt(sentAt + 150, burst);
    bench.RunUntil(sentAt + 5000);
    EXPECT_TRUE(bench.engine.ReadRunning());
    EXPECT_FALSE(bench.listener.transferButtons);
    EXPECT_EQ(bench.engine.RxCount(), 0);
    EXPECT_TRUE(bench.listener.messages.empty());

    bench.RunUntil(sentAt + kReadGiveUpMs - 1);
    EXPECT_TRUE(bench.engine.ReadRunning());
    bench.RunUntil(sentAt + kReadGiveUpMs + 1);
    EXPECT_FALSE(bench.engine.ReadRunning());
    EXPECT_TRUE(bench.listener.transferButtons);
    EXPECT_EQ(bench.listener.progress, 0);
    ASSERT_EQ(bench.listener.messages.size(), 1u);
    EXPECT_EQ(bench.listener.messages[0].kind, MessageKind::Warning);
    EXPECT_EQ(bench.listener.LastMessage(),
              "Read from Radio failed: no complete image received within 20 seconds");
    EXPECT_EQ(Channel1(bench), before);
    EXPECT_FALSE(std::filesystem::exists(bench.folder / "Port.txt"));
    // A fresh read can start.
    bench.engine.RequestRead();
    EXPECT_TRUE(bench.engine.Busy());
}

// The Port menu no longer rescues a stuck read: nothing may reach the radio
// in the middle of a transfer. The read gives up by itself instead.
TEST(LinkRead, StuckReadKeepsThePortUntilItGivesUp) {
    LinkBench bench;
    const int64_t sentAt = StartConnectedRead(bench);
    bench.RunUntil(sentAt + 1000);
    ASSERT_TRUE(bench.engine.ReadRunning());
    const std::size_t before = bench.port.sent.size();
    bench.engine.ReconnectPort();
    bench.engine.RequestWrite();
    bench.engine.RequestRead();
    bench.engine.StartAutoDetect();
    bench.RunFor(1000);
    EXPECT_EQ(bench.port.sent.size(), before);
    EXPECT_TRUE(bench.listener.portInUse);
    ASSERT_TRUE(bench.RunUntilTrue([&] { return !bench.engine.ReadRunning(); }, 20000));
    EXPECT_FALSE(bench.listener.portInUse);
    EXPECT_EQ(bench.listener.unlockedWithButtons, std::vector<bool>{true});
    bench.engine.RequestWrite();
    ASSERT_TRUE(bench.RunUntilTrue([&] { return bench.port.sent.size() > before; }, 1000));
    EXPECT_EQ(bench.port.sent.back().bytes, kConnReply);
}

TEST(LinkRead, PauseSplitsTheBurstAndNeitherHalfCounts) {
    LinkBench bench;
    const int64_t sentAt = StartConnectedRead(bench);
    const std::vector<uint8_t> image = RadioImage();
    const std::vector<uint8_t> first(image.begin(), image.begin() + 1000);
    const std::vector<uint8_t> rest(image.begin() + 1000, image.end());
    bench.ReceiveAt(sentAt + 150, first);
    bench.ReceiveAt(sentAt + 150 + 200, rest);
    bench.RunUntil(sentAt + 1000);
    EXPECT_TRUE(bench.engine.ReadRunning());
    EXPECT_EQ(bench.engine.RxCount(), 0);
    // The progress keeps what it counted, within range.
    EXPECT_EQ(bench.listener.progress, static_cast<int>(kImageLength));

    // A complete burst afterwards still completes the read.
    bench.ReceiveAt(sentAt + 2000, image);
    ASSERT_TRUE(bench.RunUntilTrue([&] { return !bench.engine.ReadRunning(); }, 2000));
    EXPECT_EQ(bench.listener.LastMessage(), "UPLOAD COMPLETE");
}

TEST(LinkRead, BytesDuringTheReadCommandAreNotPartOfTheImage) {
    LinkBench bench;
    const int64_t sentAt = StartConnectedRead(bench);
    bench.ReceiveAt(sentAt + 30, {0xAA, 0xBB, 0xCC});
    bench.ReceiveAt(sentAt + 150, RadioImage());
    ASSERT_TRUE(bench.RunUntilTrue([&] { return !bench.engine.ReadRunning(); }, 2000));
    EXPECT_EQ(Channel1(bench), "433.075000");
}

TEST(LinkRead, LineErrorLosesTheBytesSoFar) {
    LinkBench bench;
    const int64_t sentAt = StartConnectedRead(bench);
    const std::vector<uint8_t> image = RadioImage();
    bench.ReceiveStream(sentAt + 150, image, kLineByteMs);
    bench.RunUntil(sentAt + 150 + 500 * kLineByteMs);
    EXPECT_GT(bench.engine.RxCount(), 400);
    bench.engine.OnLineError();
    EXPECT_EQ(bench.engine.RxCount(), 0);
    bench.RunUntil(sentAt + 15000);
    EXPECT_TRUE(bench.engine.ReadRunning());
    EXPECT_TRUE(bench.listener.messages.empty());
}

// The driver's counters stand in for the error events Qt does not deliver.
// A burst longer than the image shows why the rest of it must go too: after
// a plain clear its tail alone would still fill an image, shifted.
TEST(LinkRead, RisingLineErrorCountersSpoilTheWholeBurst) {
    constexpr int64_t kLineByteMs = 2;  // two bursts inside the give-up time
    LinkBench bench;
    bench.port.counters = LineErrorCounts{3, 0, 1, 0, 0};  // earlier errors count for nothing
    const std::string before = Channel1(bench);
    const int64_t sentAt = StartConnectedRead(bench);
    std::vector<uint8_t> burst = RadioImage();
    burst.insert(burst.begin(), 64, 0x55);  // line noise ahead of the image
    bench.ReceiveStream(sentAt + 150, burst, kLineByteMs);
    bench.RunUntil(sentAt + 150 + 60 * kLineByteMs);
    bench.port.counters->frame += 1;
    bench.RunUntil(sentAt + 150 + static_cast<int64_t>(burst.size()) * kLineByteMs + 500);
    EXPECT_TRUE(bench.engine.ReadRunning());
    EXPECT_EQ(Channel1(bench), before);
    EXPECT_TRUE(bench.listener.messages.empty());

    // Any counter counts; a clean burst after the silence is taken.
    bench.port.counters->brk += 1;
    bench.RunFor(200);
    bench.ReceiveStream(bench.clock.NowMs() + 10, RadioImage(), kLineByteMs);
    ASSERT_TRUE(bench.RunUntilTrue([&] { return !bench.engine.ReadRunning(); }, 15000));
    EXPECT_EQ(bench.listener.LastMessage(), "UPLOAD COMPLETE");
    EXPECT_EQ(Channel1(bench), "433.075000");
}

TEST(LinkRead, PortFailureEndsTheReadAtOnce) {
    LinkBench bench;
    StartConnectedRead(bench);
    bench.RunFor(300);
    bench.engine.OnPortFailure("device unplugged");
    EXPECT_FALSE(bench.engine.ReadRunning());
    EXPECT_TRUE(bench.listener.transferButtons);
    EXPECT_EQ(bench.listener.Label(), "(COM5)  Connection Failed...");
    EXPECT_FALSE(bench.listener.writeReadEnabled);
    EXPECT_NE(bench.listener.LastMessage().find("device unplugged"), std::string::npos);
}

TEST(LinkRead, InvalidImageIsReportedAndChangesNothing) {
    LinkBench bench;
    const std::string before = Channel1(bench);
    const int64_t sentAt = StartConnectedRead(bench);
    std::vector<uint8_t> image = RadioImage();
    image[14] = 0x7F;  // no such edition
    bench.ReceiveAt(sentAt + 150, image);
    ASSERT_TRUE(bench.RunUntilTrue([&] { return !bench.engine.ReadRunning(); }, 2000));
    EXPECT_EQ(bench.listener.messages.back().kind, MessageKind::Warning);
    EXPECT_TRUE(bench.listener.transferButtons);
    EXPECT_EQ(Channel1(bench), before);
}

TEST(LinkRead, ProgressNeverLeavesTheBarRange) {
    LinkBench bench;
    for (int round = 0; round < 3; ++round) {
        const int64_t sentAt = StartConnectedRead(bench);
        bench.ReceiveAt(sentAt + 150, std::vector<uint8_t>(1500, 0x01));
        bench.RunUntil(sentAt + kReadGiveUpMs + 10);
    }
    EXPECT_GE(bench.listener.progressMin, 0);
    EXPECT_LE(bench.listener.progressMax, static_cast<int>(kImageLength));
}

}  // namespace
}  // namespace corvane::linktest

namespace corvane::linktest {
namespace {

TEST(LinkReadFiles, UnsavableFilesAreReportedAfterTheTableChanged) {
    LinkBench bench;
    const int64_t sentAt = StartConnectedRead(bench);
    // Port.txt cannot be written where a folder of that name stands.
    std::filesystem::create_directories(bench.folder / "Port.txt" / "x");
    bench.ReceiveAt(sentAt + 150, RadioImage());
    ASSERT_TRUE(bench.RunUntilTrue([&] { return !bench.engine.ReadRunning(); }, 2000));
    EXPECT_EQ(bench.listener.messages.back().kind, MessageKind::Warning);
    EXPECT_NE(bench.listener.LastMessage(), "UPLOAD COMPLETE");
    EXPECT_EQ(bench.listener.imagesAccepted, 1);
    EXPECT_EQ(Channel1(bench), "433.075000");
    EXPECT_TRUE(bench.listener.transferButtons);
}

}  // namespace
}  // namespace corvane::linktest
