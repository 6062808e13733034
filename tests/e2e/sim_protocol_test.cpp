// The simulated radio seen from the serial line, without the programmer.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <thread>

#include "e2e_support.h"
#include "image/MemoryImage.h"
#include "model/ChannelDefaults.h"
#include "model/SettingsRecord.h"
#include "model/Workspace.h"

namespace corvane::e2e {
namespace {

constexpr std::size_t kFrameLength = 8;
const std::string kFastestByteTimeUs = "50";  // us per byte: a whole image in about 0.1 s

long long MsBetween(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration_cast<milliseconds>(b - a).count();
}

Bytes PatternImage() {
    Bytes image(kImageSize);
    for (std::size_t i = 0; i < kImageSize; ++i) image[i] = static_cast<uint8_t>((i * 37 + 11) & 0xFF);
    return image;
}

Bytes ReadImage(SerialPeer& peer) {
    peer.Send(ReadCommand(0));
    return peer.Receive(kImageSize, milliseconds(5000));
}

TEST(SimHandshake, AnswersConnectRequestWithSameFrameAfterDeafWindow) {
    SimProcess sim({});
    ASSERT_TRUE(sim.started());
    SerialPeer peer(sim.device());
    ASSERT_TRUE(peer.ok());
    const auto sent = Clock::now();
    peer.Send(ConnectRequest());
    const Bytes reply = peer.Receive(kFrameLength, milliseconds(2000));
    ASSERT_EQ(reply, ConnectRequest());
    // The programmer ignores everything for 100 ms after its request left.
    EXPECT_GE(MsBetween(sent, peer.arrivals().front()), 140);
    EXPECT_LT(MsBetween(sent, peer.arrivals().front()), 1000);
}

TEST(SimHandshake, FaultSwitchesShapeTheAnswer) {
    struct Case {
        std::string option;
        Bytes expected;
    };
    const std::vector<Case> cases = {
        {"--no-answer", {}},
        {"--malformed", {0x02, 0x07, 'C', 'O', 'N', 'N', 0x00, 0x04}},
        {"--foreign", {0x02, 0x07, 'C', 'O', 'N', 'X', 0x00, 0x03}},
        {"--silent", {}},
        {"--echo", ConnectRequest()},
        // The reply sent at 9600 baud as a 2400 baud receiver reads it.
        {"--wrong-speed=9600", {0xAB, 0xF2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.option);
        std::vector<std::string> options = {c.option, "--reply-delay", "10"};
        if (const auto equals = c.option.find('='); equals != std::string::npos) {
            options = {c.option.substr(0, equals), c.option.substr(equals + 1), "--reply-delay", "10"};
        }
        SimProcess sim(options);
        ASSERT_TRUE(sim.started());
        SerialPeer peer(sim.device());
        peer.Send(ConnectRequest());
        EXPECT_EQ(peer.ReceiveFor(milliseconds(400)), c.expected);
    }
    // Garbage: bytes, none of them able to start a frame.
    SimProcess sim({"--garbage", "--reply-delay", "10"});
    SerialPeer peer(sim.device());
    peer.Send(ConnectRequest());
    const Bytes got = peer.ReceiveFor(milliseconds(400));
    EXPECT_EQ(got.size(), 16u);
    EXPECT_EQ(std::count(got.begin(), got.end(), 0x02), 0);
}

// A radio switched off ignores the read command too; an echoing line sends it back.
TEST(SimHandshake, SilentAndEchoingLinesIgnoreCommands) {
    for (const char* option : {"--silent", "--echo"}) {
        SCOPED_TRACE(option);
        SimProcess sim({option, "--read-delay", "10"});
        SerialPeer peer(sim.device());
        const Bytes got = (peer.Send(ReadCommand(0)), peer.ReceiveFor(milliseconds(400)));
        EXPECT_EQ(got, std::string(option) == "--echo" ? ReadCommand(0) : Bytes{});
    }
}

TEST(SimHandshake, LateAnswerAndNoiseArriveWhenAsked) {
    {
        SimProcess sim({"--late-answer", "500"});
        SerialPeer peer(sim.device());
        const auto sent = Clock::now();
        peer.Send(ConnectRequest());
        ASSERT_EQ(peer.Receive(kFrameLength, milliseconds(3000)), ConnectRequest());
        EXPECT_GE(MsBetween(sent, peer.arrivals().front()), 490);
    }
    {
        SimProcess sim({"--noise"});
        SerialPeer peer(sim.device());
        peer.Send(ConnectRequest());
        const Bytes got = peer.ReceiveFor(milliseconds(600));
        ASSERT_GT(got.size(), kFrameLength);
        const Bytes tail(got.end() - kFrameLength, got.end());
        EXPECT_EQ(tail, ConnectRequest());
        EXPECT_EQ(std::count(got.begin(), got.end() - kFrameLength, 0x02), 0);
    }
}

TEST(SimHandshake, StrayBytesBeforeAFrameDoNotHideIt) {
    SimProcess sim({"--reply-delay", "10"});
    SerialPeer peer(sim.device());
    Bytes noisy = {0x55, 0x02, 0x09, 0xFF};
    const Bytes request = ConnectRequest();
    noisy.insert(noisy.end(), request.begin(), request.end());
    peer.Send(noisy);
    EXPECT_EQ(peer.ReceiveFor(milliseconds(400)), ConnectRequest());
}

TEST(SimMemory, DefaultImageIsTheProgrammersDefaultPlan) {
    SimProcess sim({"--byte-time-us", kFastestByteTimeUs});
    SerialPeer peer(sim.device());
    const Bytes image = ReadImage(peer);
    ASSERT_EQ(image.size(), kImageSize);

    Workspace ws;
    ws.edition = kEditionPmrLpd;
    ws.channelMode = kModeDefault;
    ApplyRadioDefaults(ws.settings);
    FillDefaults(ws);
    const auto built = BuildImage(ws);
    ASSERT_TRUE(built.ok()) << built.message();
    EXPECT_EQ(image, Bytes(built->begin(), built->end()));
    // 446.00625 MHz on channel 1, 77 channels used, edition byte 2.
    EXPECT_EQ(image[66], 0xC1);
    EXPECT_EQ(image[67], 0x16);
    EXPECT_EQ(image[63], 77);
    EXPECT_EQ(image[14], 2);
}

TEST(SimMemory, WrittenImageIsReadBackAndKeptInTheMemoryFile) {
    TempDir dir;
    const auto memory = dir / "memory.bin";
    const auto received = dir / "received.bin";
    const Bytes image = PatternImage();
    {
        SimProcess sim(
            {"--memory", memory.string(), "--received-image", received.string(), "--byte-time-us", kFastestByteTimeUs});
        SerialPeer peer(sim.device());
        peer.Send(WriteCommand(1));
        // Pieces with pauses, as the programmer's 25 ms pacer hands them out.
        for (std::size_t at = 0; at < kImageSize; at += 500) {
            peer.Send(Bytes(image.begin() + at, image.begin() + std::min(at + 500, kImageSize)));
            std::this_thread::sleep_for(milliseconds(30));
        }
        std::this_thread::sleep_for(milliseconds(100));
        EXPECT_EQ(ReadFileBytes(received), image);
        EXPECT_EQ(ReadFileBytes(memory), image);
        EXPECT_EQ(ReadImage(peer), image);
        EXPECT_EQ(sim.Stop(), 0);
    }
    SimProcess again({"--memory", memory.string(), "--byte-time-us", kFastestByteTimeUs});
    SerialPeer peer(again.device());
    EXPECT_EQ(ReadImage(peer), image);
}

TEST(SimMemory, StalledWriteIsAbandonedAndMemoryKept) {
    TempDir dir;
    const auto log = dir / "sim.log";
    SimProcess sim({"--collect-timeout", "150", "--byte-time-us", kFastestByteTimeUs, "--log", log.string()});
    SerialPeer peer(sim.device());
    const Bytes before = ReadImage(peer);
    ASSERT_EQ(before.size(), kImageSize);
    peer.Send(WriteCommand(0));
    peer.Send(Bytes(100, 0x77));
    std::this_thread::sleep_for(milliseconds(400));
    // After the stall the line is back to frames: a read answers the old memory.
    EXPECT_EQ(ReadImage(peer), before);
    EXPECT_NE(ReadFileText(log).find("RX IMAGE INCOMPLETE 100"), std::string::npos);
}

TEST(SimMemory, MemoryFileOfWrongSizeIsNotUsed) {
    TempDir dir;
    const auto memory = dir / "memory.bin";
    WriteFileBytes(memory, Bytes(100, 0x11));
    SimProcess sim({"--memory", memory.string(), "--byte-time-us", kFastestByteTimeUs});
    SerialPeer peer(sim.device());
    const Bytes image = ReadImage(peer);
    ASSERT_EQ(image.size(), kImageSize);
    EXPECT_EQ(image[14], 2);  // the default image, not the file
}

TEST(SimBurst, ReadBurstRunsAtLineSpeedWithoutGaps) {
    constexpr int kBytes = 220;
    constexpr double kByteMs = 4.583;
    SimProcess sim({"--short", std::to_string(kBytes)});
    SerialPeer peer(sim.device());
    const auto sent = Clock::now();
    peer.Send(ReadCommand(0));
    const Bytes got = peer.Receive(kBytes, milliseconds(5000));
    ASSERT_EQ(got.size(), static_cast<std::size_t>(kBytes));
    const auto& at = peer.arrivals();
    // Nothing before the programmer has left its 100 ms deaf window.
    EXPECT_GE(MsBetween(sent, at.front()), 150);
    // Never faster than 2400 baud 8N2.
    EXPECT_GE(MsBetween(sent, at.back()), 200 + static_cast<long long>((kBytes - 1) * kByteMs) - 5);
    long long widest = 0;
    for (std::size_t i = 1; i < at.size(); ++i) widest = std::max(widest, MsBetween(at[i - 1], at[i]));
    // A silence of about 100 ms would end the programmer's collection.
    EXPECT_LT(widest, 90);
}

TEST(SimBurst, ShortExtraAndPauseShapeTheBurst) {
    {
        SimProcess sim({"--short", "1935", "--byte-time-us", kFastestByteTimeUs});
        SerialPeer peer(sim.device());
        peer.Send(ReadCommand(0));
        EXPECT_EQ(peer.ReceiveFor(milliseconds(800)).size(), 1935u);
    }
    {
        SimProcess sim({"--extra", "64", "--byte-time-us", kFastestByteTimeUs});
        SerialPeer peer(sim.device());
        peer.Send(ReadCommand(0));
        const Bytes got = peer.ReceiveFor(milliseconds(800));
        ASSERT_EQ(got.size(), kImageSize + 64);
        EXPECT_EQ(got[14], 2);
    }
    {
        SimProcess sim({"--pause-at", "100:300", "--byte-time-us", kFastestByteTimeUs});
        SerialPeer peer(sim.device());
        const auto sent = Clock::now();
        peer.Send(ReadCommand(0));
        ASSERT_EQ(peer.Receive(100, milliseconds(2000)).size(), 100u);
        const auto hundredth = peer.arrivals().back();
        ASSERT_EQ(peer.Receive(1, milliseconds(2000)).size(), 1u);
        // Timed from the request, as a busy machine can only make a byte seem
        // later: the first hundred come after the deaf window (150 ms), the
        // next after the pause too.
        EXPECT_LT(MsBetween(sent, hundredth), 150 + 300 - 10);
        EXPECT_GE(MsBetween(sent, peer.arrivals().front()), 150 + 300 - 10);
        EXPECT_EQ(peer.Receive(kImageSize - 101, milliseconds(2000)).size(), kImageSize - 101);
    }
}

TEST(SimBurst, CorruptReadDamagesOneByteOfEveryReadButNotTheMemory) {
    TempDir dir;
    const auto memory = dir / "memory.bin";
    WriteFileBytes(memory, PatternImage());
    SimProcess sim({"--memory", memory.string(), "--corrupt-read", "88", "--byte-time-us", kFastestByteTimeUs});
    ASSERT_TRUE(sim.started());
    SerialPeer peer(sim.device());
    for (int read = 0; read < 2; ++read) {
        Bytes expected = PatternImage();
        expected[88] = static_cast<uint8_t>(~expected[88]);
        EXPECT_EQ(ReadImage(peer), expected);
    }
    EXPECT_EQ(ReadFileBytes(memory), PatternImage());
}

TEST(SimRun, OnceEndsAfterOneTransferAndLinkIsRemovedOnStop) {
    TempDir dir;
    const auto link = dir / "ttyUSB0";
    {
        SimProcess sim({"--once", "--byte-time-us", kFastestByteTimeUs, "--link", link.string()});
        ASSERT_TRUE(sim.started());
        ASSERT_TRUE(std::filesystem::is_symlink(link));
        EXPECT_EQ(std::filesystem::read_symlink(link).string(), sim.device());
        SerialPeer peer(link.string());
        peer.Send(ConnectRequest());
        EXPECT_EQ(peer.Receive(kFrameLength, milliseconds(2000)).size(), kFrameLength);
        EXPECT_FALSE(sim.WaitExit(milliseconds(100)).has_value());  // a handshake is no transfer
        EXPECT_EQ(ReadImage(peer).size(), kImageSize);
        EXPECT_EQ(sim.WaitExit(milliseconds(5000)), std::optional<int>(0));
    }
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link)));
    {
        SimProcess sim({"--link", link.string()});
        ASSERT_TRUE(std::filesystem::is_symlink(link));
        EXPECT_EQ(sim.Stop(), 0);
        EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link)));
    }
}

TEST(SimRun, EndsWithItsParentWhenAsked) {
    TempDir dir;
    const auto link = dir / "ttyUSB0";
    const std::string script = std::string("'") + CORVANE_SIM_PATH + "' --exit-with-parent --link '" +
                               link.string() + "' >/dev/null & sleep 0.5";
    const auto shell = RunProcess({"/bin/sh", "-c", script}, milliseconds(5000));
    ASSERT_EQ(shell.exitCode, 0);
    const auto limit = Clock::now() + milliseconds(3000);
    while (std::filesystem::exists(std::filesystem::symlink_status(link)) && Clock::now() < limit) {
        std::this_thread::sleep_for(milliseconds(20));
    }
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link)));
}

TEST(SimRun, GivenDeviceIsUsedInsteadOfANewPty) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    const std::string slave = ptsname(master);
    {
        SimProcess sim({"--device", slave, "--reply-delay", "10"});
        ASSERT_EQ(sim.device(), slave);
        ASSERT_EQ(write(master, ConnectRequest().data(), kFrameLength), static_cast<ssize_t>(kFrameLength));
        std::this_thread::sleep_for(milliseconds(300));
        Bytes reply(kFrameLength);
        ASSERT_EQ(read(master, reply.data(), reply.size()), static_cast<ssize_t>(kFrameLength));
        EXPECT_EQ(reply, ConnectRequest());
    }
    close(master);
}

TEST(SimRun, HelpListsEveryOptionAndBadOptionsAreRefused) {
    const auto help = RunProcess({CORVANE_SIM_PATH, "--help"}, milliseconds(5000));
    EXPECT_EQ(help.exitCode, 0);
    for (const char* option : {"--device", "--link", "--memory", "--reply-delay", "--no-answer", "--late-answer",
                               "--malformed", "--foreign", "--short", "--extra", "--pause-at", "--noise", "--log",
                               "--once", "--received-image", "--byte-time-us", "--silent", "--echo", "--garbage",
                               "--wrong-speed"}) {
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
    }
    EXPECT_EQ(RunProcess({CORVANE_SIM_PATH, "--bogus"}, milliseconds(5000)).exitCode, 2);
    EXPECT_EQ(RunProcess({CORVANE_SIM_PATH, "--pause-at", "12"}, milliseconds(5000)).exitCode, 2);
    EXPECT_EQ(RunProcess({CORVANE_SIM_PATH, "--wrong-speed", "2400"}, milliseconds(5000)).exitCode, 2);
    const auto missing = RunProcess({CORVANE_SIM_PATH, "--device", "/nonexistent/ttyX"}, milliseconds(5000));
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("/nonexistent/ttyX"), std::string::npos);
}

}  // namespace
}  // namespace corvane::e2e
