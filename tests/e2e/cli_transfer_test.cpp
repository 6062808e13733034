// corvane-cli against the simulated radio: a full write and read round trip
// and the ways a transfer fails.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <thread>

#include "e2e_support.h"
#include "image/MemoryImage.h"
#include "model/ChannelDefaults.h"
#include "model/GroupTable.h"
#include "model/SettingsRecord.h"
#include "model/ToneTable.h"
#include "model/Workspace.h"
#include "store/ChannelFiles.h"
#include "store/ConfigFiles.h"

namespace corvane::e2e {
namespace {

constexpr auto kShortRun = milliseconds(15000);
// 1936 bytes at 25 ms each plus handshake and set-up.
constexpr auto kWriteRun = milliseconds(90000);
constexpr auto kReadRun = milliseconds(45000);
const std::string kHandshakeFailure = "Connection Failure during handshake !!!";
const std::array<const char*, 10> kWorkingFiles = {"Rx_Freq.txt", "Tx_Freq.txt", "Tone.txt", "Scan.txt", "Band.txt",
                                                   "Power.txt",   "Scr.txt",     "Comp.txt", "Port.txt", "Group.txt"};

// A working set in Custom mode that exercises every part of the image.
Workspace CustomWorkspace(const std::filesystem::path& folder) {
    Workspace ws;
    ws.programFolder = folder;
    ws.portName = "5";
    ws.edition = kEditionPmrLpd;
    ws.previousEdition = kEditionPmrLpd;
    ws.channelMode = kModeCustom;
    ApplyRadioDefaults(ws.settings);
    ResetGroupSetup(ws.groups);
    FillDefaults(ws);
    ws.settings.NameId = "XY";
    ws.settings.DtmfId = "54321";
    ws.settings.Squelch = 3;
    ws.settings.VoxLevel = 2;
    ws.settings.FunctionFlags1 = 0xA5;
    const std::array<double, 6> rx = {446.00625, 433.075, 420.0, 450.0, 438.5, 446.1};
    for (int c = 1; c <= static_cast<int>(rx.size()); ++c) {
        ws.channels.SetFrequencyCell(rx[c - 1], c, ColRxFreq);
        ws.channels.SetFrequencyCell(rx[c - 1] - (c % 2 ? 0.0 : 5.0), c, ColTxFreq);
    }
    ws.channels.SetFrequencyCell(440.0, 200, ColTxFreq);  // transmit only
    ws.channels.SetCell(1, ColCtcss, CtcssLabel(5));
    ws.channels.SetCell(2, ColDcs, DcsLabel(10, kEditionPmrLpd));
    ws.channels.SetCell(3, ColScan, std::string(kNo));
    ws.channels.SetCell(3, ColBand, std::string(kWide));
    ws.channels.SetCell(4, ColPower, std::string(kLow));
    ws.channels.SetCell(5, ColScrambler, std::string(kOn));
    ws.channels.SetCell(6, ColCompander, std::string(kOn));
    ws.groups.GroupSize[0] = 3;
    ws.groups.GroupSize[2] = 2;
    ws.groups.GroupsEnabled = 5;
    FillGroupColumn(ws.groups, ws.channels);
    return ws;
}

void SaveWorkingSet(Workspace& ws) {
    std::filesystem::create_directories(ws.DataFolder());
    ASSERT_TRUE(SaveConfigFile(ws).ok());
    ASSERT_TRUE(SaveGroupFile(ws).ok());
    ASSERT_TRUE(SaveChannelFiles(ws).ok());
}

// Keeps the give-up time of an incomplete read short where the CLI allows it.
ProcessResult TransferCli(const std::vector<std::string>& args, milliseconds limit) {
    return RunCli(args, limit, {"CORVANE_READ_TIMEOUT_MS=3000"});
}

void ExpectSameWorkingFiles(const std::filesystem::path& a, const std::filesystem::path& b) {
    for (const char* name : kWorkingFiles) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(std::filesystem::exists(b / name));
        EXPECT_EQ(ReadFileText(a / name), ReadFileText(b / name));
    }
}

// The one full write: ~48 s of protocol time, verified by reading it back,
// then a line-speed read into another folder.
TEST(CliTransfer, VerifiedWriteThenReadRoundTripsTheWorkingSet) {
    if (std::getenv("CORVANE_SKIP_REAL_TIME") != nullptr) GTEST_SKIP() << "real-time transfer (CORVANE_SKIP_REAL_TIME)";
    TempDir source, target, serial;
    Workspace ws = CustomWorkspace(source.path());
    SaveWorkingSet(ws);
    const auto built = BuildImage(ws);
    ASSERT_TRUE(built.ok()) << built.message();

    const auto cliImage = source / "built.bin";
    const auto imageRun =
        TransferCli({"--folder", source.path().string(), "image", "build", cliImage.string()}, kShortRun);
    ASSERT_EQ(imageRun.exitCode, 0) << imageRun.both();
    const Bytes expected = ReadFileBytes(cliImage);
    ASSERT_EQ(expected.size(), kImageSize);
    EXPECT_EQ(expected, Bytes(built->begin(), built->end()));

    const auto received = serial / "received.bin";
    SimProcess sim({"--link", (serial / kCom5Device).string(), "--received-image", received.string(), "--log",
                    (serial / "sim.log").string(), "--byte-time-us", kFastByteTimeUs});
    ASSERT_TRUE(sim.started());

    const std::string portTxt = ReadFileText(source / "Port.txt");
    const auto write = TransferCli(
        {"--folder", source.path().string(), "--serial-dir", serial.path().string(), "write", "--verify"}, kWriteRun);
    ASSERT_EQ(write.exitCode, 0) << write.both() << ReadFileText(serial / "sim.log");
    EXPECT_NE(write.out.find("DOWNLOAD COMPLETE\nVERIFY COMPLETE\n"), std::string::npos) << write.out;
    EXPECT_EQ(ReadFileBytes(received), expected);
    // The read-back is kept like any read; the working set is left alone.
    std::vector<std::string> backups;
    for (const auto& entry : std::filesystem::directory_iterator(source / "Data" / "backups")) {
        backups.push_back(entry.path().filename().string());
    }
    std::sort(backups.begin(), backups.end());
    ASSERT_EQ(backups.size(), 2u);
    EXPECT_TRUE(backups[0].ends_with("_write.img") || backups[1].ends_with("_write.img"));
    EXPECT_TRUE(backups[0].ends_with("_read.img") || backups[1].ends_with("_read.img"));
    EXPECT_EQ(ReadFileText(source / "Port.txt"), portTxt);

    const auto read =
        TransferCli({"--folder", target.path().string(), "--serial-dir", serial.path().string(), "read"}, kReadRun);
    ASSERT_EQ(read.exitCode, 0) << read.both() << ReadFileText(serial / "sim.log");
    EXPECT_NE(read.out.find("UPLOAD COMPLETE"), std::string::npos) << read.out;
    ExpectSameWorkingFiles(source.path(), target.path());
}

// A radio whose memory already holds the set; only the line-speed read runs.
TEST(CliTransfer, ReadTakesTheFirst1936BytesOfANoisyLongBurst) {
    TempDir source, target, serial;
    Workspace ws = CustomWorkspace(source.path());
    SaveWorkingSet(ws);
    const auto built = BuildImage(ws);
    ASSERT_TRUE(built.ok()) << built.message();
    const auto memory = serial / "memory.bin";
    WriteFileBytes(memory, Bytes(built->begin(), built->end()));

    SimProcess sim({"--memory", memory.string(), "--noise", "--extra", "40", "--byte-time-us", kFastByteTimeUs});
    ASSERT_TRUE(sim.started());
    const auto read = TransferCli({"--folder", target.path().string(), "read", "--port", sim.device()}, kReadRun);
    ASSERT_EQ(read.exitCode, 0) << read.both();
    ExpectSameWorkingFiles(source.path(), target.path());
}

// Not a connection test, not a handshake: a radio that is never asked for
// an image cannot be left waiting for one.
TEST(CliTransfer, RefusedImageSendsNoByte) {
    TempDir source, serial;
    Workspace ws = CustomWorkspace(source.path());
    ws.channels.SetCell(9, ColRxFreq, "446.001000");  // off the 6.25 kHz raster
    SaveWorkingSet(ws);
    SimProcess sim({"--link", (serial / kCom5Device).string(), "--log", (serial / "sim.log").string()});
    ASSERT_TRUE(sim.started());
    for (const char* extra : {"", "--verify"}) {
        std::vector<std::string> args{"--folder", source.path().string(), "--serial-dir", serial.path().string(), "write"};
        if (*extra) args.push_back(extra);
        const auto run = TransferCli(args, kShortRun);
        EXPECT_EQ(run.exitCode, 1) << run.both();
        EXPECT_NE(run.err.find("channel 9: RX frequency 446.001000 is not on the 6.25 kHz raster"), std::string::npos)
            << run.both();
    }
    sim.Stop();
    EXPECT_EQ(ReadFileText(serial / "sim.log").find("RX"), std::string::npos) << ReadFileText(serial / "sim.log");
}

TEST(CliTransfer, SilentRadioFailsTheHandshake) {
    TempDir folder;
    SimProcess sim({"--no-answer"});
    ASSERT_TRUE(sim.started());
    for (const char* verb : {"write", "read"}) {
        SCOPED_TRACE(verb);
        const auto run = TransferCli({"--folder", folder.path().string(), verb, "--port", sim.device()}, kShortRun);
        EXPECT_EQ(run.exitCode, 1) << run.both();
        EXPECT_NE(run.both().find(kHandshakeFailure), std::string::npos) << run.both();
    }
}

TEST(CliTransfer, BadAnswersFailTheHandshake) {
    TempDir folder;
    for (const char* fault : {"--malformed", "--foreign"}) {
        SCOPED_TRACE(fault);
        SimProcess sim({fault});
        ASSERT_TRUE(sim.started());
        const auto run = TransferCli({"--folder", folder.path().string(), "read", "--port", sim.device()}, kShortRun);
        EXPECT_EQ(run.exitCode, 1) << run.both();
        EXPECT_NE(run.both().find(kHandshakeFailure), std::string::npos) << run.both();
    }
}

TEST(CliTransfer, CutImageNeverCompletesTheRead) {
    TempDir folder;
    SimProcess sim({"--short", "1935", "--byte-time-us", kFastByteTimeUs});
    ASSERT_TRUE(sim.started());
    const auto run =
        TransferCli({"--folder", folder.path().string(), "read", "--port", sim.device()}, milliseconds(40000));
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.exitCode, 1) << run.both();
    EXPECT_EQ(run.out.find("UPLOAD COMPLETE"), std::string::npos);
}

TEST(CliTransfer, MissingDeviceIsNamed) {
    TempDir folder;
    const std::string device = (folder / "ttyNOPE").string();
    for (const char* verb : {"write", "read"}) {
        SCOPED_TRACE(verb);
        const auto run = TransferCli({"--folder", folder.path().string(), verb, "--port", device}, kShortRun);
        EXPECT_EQ(run.exitCode, 1) << run.both();
        EXPECT_NE(run.both().find(device), std::string::npos) << run.both();
    }
}

}  // namespace
}  // namespace corvane::e2e
