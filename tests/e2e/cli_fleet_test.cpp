// corvane-cli diff and fleet against files and the simulated radio.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "e2e_support.h"
#include "fleet/FleetLog.h"
#include "image/ImageDigest.h"
#include "image/MemoryImage.h"
#include "model/ChannelDefaults.h"
#include "model/GroupTable.h"
#include "model/Workspace.h"
#include "store/ChannelFiles.h"
#include "store/ConfigFiles.h"

namespace corvane::e2e {
namespace {

constexpr int kDifferent = 1;
constexpr int kTrouble = 2;

Workspace PlanIn(const std::filesystem::path& folder) {
    Workspace ws;
    ws.programFolder = folder;
    ws.portName = "5";
    ws.edition = ws.previousEdition = kEditionPmrLpd;
    ApplyRadioDefaults(ws.settings);
    ResetGroupSetup(ws.groups);
    ResetToEditionDefaults(ws);
    ws.settings.Squelch = 3;
    return ws;
}

void Save(Workspace& ws) {
    ASSERT_TRUE(SaveConfigFile(ws).ok());
    ASSERT_TRUE(SaveGroupFile(ws).ok());
    ASSERT_TRUE(SaveChannelFiles(ws).ok());
}

Bytes ImageOf(const Workspace& ws) {
    const Result<MemoryImage> image = BuildImage(ws);
    EXPECT_TRUE(image.ok()) << image.message();
    return image.ok() ? Bytes(image->begin(), image->end()) : Bytes();
}

Bytes ImageWithIds(Workspace ws, const std::string& nameId, const std::string& dtmfId) {
    ws.settings.NameId = nameId;
    ws.settings.DtmfId = dtmfId;
    return ImageOf(ws);
}

// Every file below folder with its bytes.
std::vector<std::pair<std::string, Bytes>> Snapshot(const std::filesystem::path& folder) {
    std::vector<std::pair<std::string, Bytes>> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        files.emplace_back(entry.path().string(), entry.is_regular_file() ? ReadFileBytes(entry.path()) : Bytes());
    }
    std::sort(files.begin(), files.end());
    return files;
}

TEST(CliDiff, ComparesFoldersImagesAndTheRadioWithoutWritingAnything) {
    TempDir work, other, serial;
    Workspace ws = PlanIn(work.path());
    Save(ws);
    WriteFileBytes(work / "plan.img", ImageOf(ws));
    Workspace changed = PlanIn(other.path());
    changed.channels.SetFrequencyCell(430.0, 12, ColRxFreq);
    changed.settings.Squelch = 6;
    Save(changed);
    const auto before = Snapshot(work.path());
    const auto otherBefore = Snapshot(other.path());

    const auto same = RunCli({"diff", work.path().string(), (work / "plan.img").string()});
    EXPECT_EQ(same.exitCode, 0) << same.both();
    EXPECT_EQ(same.out, "");
    const auto differ = RunCli({"diff", work.path().string(), other.path().string()});
    EXPECT_EQ(differ.exitCode, kDifferent) << differ.both();
    EXPECT_EQ(differ.out, "Squelch  3 -> Auto\nchannel 12  RX  433.150000 -> 430.000000\n");
    const auto csv = RunCli({"diff", "--csv", work.path().string(), other.path().string()});
    EXPECT_EQ(csv.exitCode, kDifferent);
    EXPECT_EQ(csv.out, "channel,field," + work.path().string() + "," + other.path().string() +
                           "\r\n,Squelch,3,Auto\r\n12,RX,433.150000,430.000000\r\n");

    // The radio holds the other set: read, compared, kept nowhere.
    WriteFileBytes(serial / "memory.img", ImageOf(changed));
    {
        SimProcess sim({"--link", (serial / kCom5Device).string(), "--memory", (serial / "memory.img").string(),
                        "--byte-time-us", kFastByteTimeUs});
        ASSERT_TRUE(sim.started());
        const auto radio = RunCli({"--folder", other.path().string(), "--serial-dir", serial.path().string(), "diff",
                                   "radio:5", work.path().string()});
        EXPECT_EQ(radio.exitCode, kDifferent) << radio.both();
        EXPECT_EQ(radio.out, "Squelch  Auto -> 3\nchannel 12  RX  430.000000 -> 433.150000\n");
    }
    EXPECT_EQ(Snapshot(work.path()), before);
    EXPECT_EQ(Snapshot(other.path()), otherBefore);

    // A damaged set is refused, not repaired; so is a side that is nothing.
    WriteFileBytes(other / "Tone.txt", Bytes());
    const auto damaged = RunCli({"diff", work.path().string(), other.path().string()});
    EXPECT_EQ(damaged.exitCode, kTrouble);
    EXPECT_NE(damaged.err.find("Tone.txt is empty, so it would be reset"), std::string::npos) << damaged.err;
    EXPECT_EQ(ReadFileBytes(other / "Tone.txt"), Bytes());
    const auto missing = RunCli({"diff", work.path().string(), (work / "nothing").string()});
    EXPECT_EQ(missing.exitCode, kTrouble);
    EXPECT_NE(missing.err.find("no such folder or file"), std::string::npos) << missing.err;
}

TEST(CliFleet, ABadUnitsListIsRefusedBeforeAnyRadioHearsAThing) {
    TempDir work, serial;
    Workspace ws = PlanIn(work.path());
    Save(ws);
    WriteFileBytes(work / "units.csv", Bytes{'A', ',', 'A', 'B', ',', '1', '\n', 'B', ',', 'C', '7', ',', '2', '\n'});
    SimProcess sim({"--link", (serial / kCom5Device).string(), "--log", (serial / "sim.log").string()});
    ASSERT_TRUE(sim.started());
    const auto run = RunCli({"--folder", work.path().string(), "--serial-dir", serial.path().string(), "fleet",
                             (work / "units.csv").string(), "--port", "5", "--log", (work / "fleet.csv").string()});
    EXPECT_EQ(run.exitCode, kTrouble) << run.both();
    EXPECT_NE(run.err.find("row 2, column B (Name ID): \"C7\""), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(work / "fleet.csv"));
    sim.Stop();
    EXPECT_EQ(ReadFileText(serial / "sim.log").find("RX"), std::string::npos);
}

TEST(CliFleet, CtrlCWhileWaitingForARadioStopsWithAValidLog) {
    TempDir work, serial;
    Workspace ws = PlanIn(work.path());
    Save(ws);
    WriteFileBytes(work / "units.csv", Bytes{'A', ',', 'A', 'B', ',', '1', '\n'});
    SimProcess sim({"--link", (serial / kCom5Device).string(), "--no-answer"});
    ASSERT_TRUE(sim.started());
    // One SIGINT after two seconds, as Ctrl+C would send it (without --foreground,
    // timeout sends a second one to its process group: that one ends the program).
    const auto run = RunProcess({"/usr/bin/timeout", "--foreground", "--preserve-status", "-s", "INT", "2", CORVANE_CLI,
                                 "--folder", work.path().string(), "--serial-dir", serial.path().string(), "fleet",
                                 (work / "units.csv").string(), "--port", "5"},
                                kCliLimit);
    EXPECT_EQ(run.exitCode, 1) << run.both();
    EXPECT_NE(run.out.find("Connect radio 1 of 1: A\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Stopped: 0 verified, 0 failed, 0 skipped; log: "), std::string::npos) << run.out;
    // The default log, in Data: the header and nothing else.
    std::vector<std::filesystem::path> logs;
    for (const auto& entry : std::filesystem::directory_iterator(work / "Data")) logs.push_back(entry.path());
    ASSERT_EQ(logs.size(), 1u);
    EXPECT_TRUE(logs[0].filename().string().starts_with("fleet-")) << logs[0];
    EXPECT_EQ(ReadFileText(logs[0]), FleetLogHeader() + "\r\n");
}

// A run started again: every unit the log shows verified with this very plan
// is skipped before any radio is asked for. Writing a unit, its read-back and
// its log row run on the engine's manual clock in the core tests.
TEST(CliFleet, AStartedAgainRunSkipsWhatTheLogShowsVerified) {
    TempDir work, serial;
    Workspace ws = PlanIn(work.path());
    Save(ws);
    {
        std::ofstream units(work / "units.csv", std::ios::binary);
        units << "Label,Name ID,DTMF ID\r\nGate,gt,10001\r\nCar park,CP,10002\r\n";
    }
    FleetLogRow gate{"2026-03-01T09:00:00+01:00", "Gate", "GT", "10001", "COM5", UnitOutcome::Verified, "", ""};
    gate.sha256 = Sha256Hex(ImageWithIds(ws, "GT", "10001"));
    FleetLogRow carPark{"2026-03-01T09:02:00+01:00", "Car park", "CP", "10002", "COM5", UnitOutcome::Verified, "", ""};
    carPark.sha256 = Sha256Hex(ImageWithIds(ws, "CP", "10002"));
    {
        std::ofstream log(work / "fleet.csv", std::ios::binary);
        log << FleetLogHeader() << "\r\n" << FleetLogLine(gate) << "\r\n" << FleetLogLine(carPark) << "\r\n";
    }
    const std::string logBefore = ReadFileText(work / "fleet.csv");
    const auto run = RunCli({"--folder", work.path().string(), "--serial-dir", serial.path().string(), "fleet",
                             (work / "units.csv").string(), "--port", "5", "--log", (work / "fleet.csv").string()});
    ASSERT_EQ(run.exitCode, 0) << run.both();
    EXPECT_NE(run.out.find("Gate: already verified in the log, skipped\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Car park: already verified in the log, skipped\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Done: 0 verified, 0 failed, 2 skipped; log: "), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("Connect radio"), std::string::npos) << run.out;
    EXPECT_EQ(ReadFileText(work / "fleet.csv"), logBefore);
}

}  // namespace
}  // namespace corvane::e2e
