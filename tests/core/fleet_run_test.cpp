// A fleet of simulated radios programmed one after the other on the manual
// clock, and the comparison of a radio with what was written into it.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "DefaultImage.h"
#include "fleet/FleetRun.h"
#include "fleet/FleetStart.h"
#include "image/ImageDiff.h"
#include "image/ImageDigest.h"
#include "image_fixtures.h"
#include "random_edits.h"
#include "sim_harness.h"

namespace corvane::simtest {
namespace {

constexpr int64_t kUnitLimitMs = 120'000;  // a write is ~48 s, a read-back ~9 s
const auto kWallTime = std::chrono::system_clock::time_point(std::chrono::hours(24 * 20000));

class TempFolder {
public:
    TempFolder() {
        path_ = std::filesystem::temp_directory_path() /
                ("corvane-fleet-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

std::vector<uint8_t> ReadFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<uint8_t> ImageBytes(const MemoryImage& image) { return {image.begin(), image.end()}; }

Workspace Plan() {
    Workspace ws = testing::RichWorkspace(kEditionPmrLpd);
    ws.portName = "5";
    return ws;
}

MemoryImage ImageFor(const Workspace& plan, const FleetUnit& unit) {
    Workspace ws = plan;
    ws.settings.NameId = unit.nameId;
    ws.settings.DtmfId = unit.dtmfId;
    const Result<MemoryImage> image = BuildImage(ws);
    EXPECT_TRUE(image.ok()) << image.message();
    return image.ok() ? *image : MemoryImage{};
}

std::vector<FleetUnit> Units(int count) {
    std::vector<FleetUnit> units;
    for (int i = 1; i <= count; ++i) {
        units.push_back({"Unit-0" + std::to_string(i), std::string("S") + static_cast<char>('A' + i),
                         "1000" + std::to_string(i), i + 1});
    }
    return units;
}

class MemoryLog : public FleetLog {
public:
    Status Append(const FleetLogRow& row) override {
        if (refuse) return Status::Error("disk full");
        rows.push_back(row);
        return Status::Ok();
    }
    std::vector<FleetLogRow> rows;
    bool refuse = false;
};

struct RecordingFleetListener : FleetListener {
    void OnPhaseChanged(FleetPhase phase) override { phases.push_back(phase); }
    void OnUnitSkipped(const FleetUnit& unit) override { skipped.push_back(unit.label); }
    void OnLogFailed(const std::string& text) override { logFailures.push_back(text); }
    void OnFinished(const FleetSummary&) override { ++finished; }
    std::vector<FleetPhase> phases;
    std::vector<std::string> skipped;
    std::vector<std::string> logFailures;
    int finished = 0;
};

// A bench, a run and its engine, wired as a window or the CLI wires them.
struct FleetSetup {
    FleetSetup(sim::SimOptions options, const std::vector<FleetUnit>& units, std::vector<FleetLogRow> earlier = {})
        : bench(std::move(options)) {
        Result<FleetPlan> plan = PrepareFleet(Plan(), units, earlier);
        EXPECT_TRUE(plan.ok()) << plan.message();
        run = std::make_unique<FleetRun>(std::move(plan.value()), FleetRun::Settings{"COM5"}, bench.clock, log, listener,
                                         [] { return kWallTime; });
        engine = std::make_unique<LinkEngine>(run->LinkWorkspace(), bench.port, *run, bench.clock, PortMap::WithSerialDir("/sim"));
        run->Start(*engine);
    }

    bool RunUntil(const std::function<bool()>& done, int64_t limitMs) {
        return bench.Run(*engine, done, limitMs, [this] { return run->NextDeadline(); }, [this] { run->Service(); });
    }

    SimBench bench;
    MemoryLog log;
    RecordingFleetListener listener;
    std::unique_ptr<FleetRun> run;
    std::unique_ptr<LinkEngine> engine;
};

sim::SimOptions Radios(std::size_t units, const std::filesystem::path& memory) {
    sim::SimOptions options;
    options.units = units;
    options.memoryFile = memory.string();
    return options;
}

TEST(FleetRun, FiveRadiosTheThirdDroppingMidWriteGiveFourVerifiedAndOneFailed) {
    TempFolder folder;
    sim::SimOptions options = Radios(5, folder / "radio.img");
    options.drops.push_back({3, 900});
    const std::vector<FleetUnit> units = Units(5);
    FleetSetup fleet(options, units);
    ASSERT_TRUE(fleet.RunUntil([&] { return fleet.run->Done(); }, 5 * kUnitLimitMs));

    EXPECT_EQ(fleet.run->Phase(), FleetPhase::Finished);
    ASSERT_EQ(fleet.log.rows.size(), 5u);
    for (std::size_t i = 0; i < units.size(); ++i) {
        const FleetLogRow& row = fleet.log.rows[i];
        SCOPED_TRACE(row.label);
        const MemoryImage planned = ImageFor(Plan(), units[i]);
        EXPECT_EQ(row.label, units[i].label);
        EXPECT_EQ(row.nameId, units[i].nameId);
        EXPECT_EQ(row.dtmfId, units[i].dtmfId);
        EXPECT_EQ(row.port, "COM5");
        EXPECT_EQ(row.time, FleetTimeText(kWallTime));
        EXPECT_EQ(row.sha256, Sha256Hex(planned));
        const std::vector<uint8_t> memory = ReadFileBytes(folder / ("radio.img." + std::to_string(i + 1)));
        if (i == 2) {
            // Gone after 900 bytes: it kept its factory memory, and the
            // read-back found nobody on the line.
            EXPECT_EQ(row.outcome, UnitOutcome::Failed);
            EXPECT_EQ(row.details, "read-back: Connection Failure during handshake !!!");
            EXPECT_EQ(memory, ImageBytes(sim::MakeDefaultImage()));
        } else {
            EXPECT_EQ(row.outcome, UnitOutcome::Verified);
            EXPECT_EQ(row.details, "");
            EXPECT_EQ(memory, ImageBytes(planned));
        }
    }
    EXPECT_EQ(fleet.run->Summary().verified, 4);
    EXPECT_EQ(fleet.run->Summary().failed, 1);
    EXPECT_EQ(fleet.run->Prompt(), "Done: 4 verified, 1 failed, 0 skipped");
    EXPECT_EQ(fleet.listener.finished, 1);
    // Each radio was asked for only after the one before had left the cable.
    EXPECT_EQ(std::count(fleet.listener.phases.begin(), fleet.listener.phases.end(), FleetPhase::WaitingForUnplug), 4);

    // Started again with the same log and another radio on the cable: only
    // the failed one is programmed.
    TempFolder again;
    FleetSetup rerun(Radios(1, again / "radio.img"), units, fleet.log.rows);
    EXPECT_EQ(rerun.listener.skipped, (std::vector<std::string>{"Unit-01", "Unit-02", "Unit-04", "Unit-05"}));
    ASSERT_TRUE(rerun.RunUntil([&] { return rerun.run->Done(); }, kUnitLimitMs));
    ASSERT_EQ(rerun.log.rows.size(), 1u);
    EXPECT_EQ(rerun.log.rows[0].label, "Unit-03");
    EXPECT_EQ(rerun.log.rows[0].outcome, UnitOutcome::Verified);
    EXPECT_EQ(ReadFileBytes(again / "radio.img.1"), ImageBytes(ImageFor(Plan(), units[2])));
    EXPECT_EQ(rerun.run->Summary().skipped, 4);
}

TEST(FleetRun, StopCutsTheWriteOffAndLogsItAsStopped) {
    TempFolder folder;
    FleetSetup fleet(Radios(2, folder / "radio.img"), Units(2));
    EXPECT_EQ(fleet.run->Prompt(), "Connect radio 1 of 2: Unit-01");
    ASSERT_TRUE(fleet.RunUntil([&] { return fleet.engine->Progress() >= 400; }, kUnitLimitMs)) << fleet.run->Prompt();
    EXPECT_EQ(fleet.run->Prompt(), "Writing radio 1 of 2: Unit-01");
    fleet.run->Stop();

    EXPECT_EQ(fleet.run->Phase(), FleetPhase::Stopped);
    EXPECT_FALSE(fleet.bench.port.IsOpen());
    ASSERT_EQ(fleet.log.rows.size(), 1u);
    EXPECT_EQ(fleet.log.rows[0].outcome, UnitOutcome::Stopped);
    EXPECT_EQ(fleet.log.rows[0].details, "stopped during the write, after 400 of 1936 bytes");
    EXPECT_TRUE(fleet.run->Summary().stopped);
    EXPECT_EQ(fleet.listener.finished, 1);
    // Nothing runs on: no more bytes, no more rows.
    EXPECT_FALSE(fleet.run->NextDeadline());
    fleet.RunUntil([] { return false; }, 60'000);
    EXPECT_EQ(fleet.log.rows.size(), 1u);
    EXPECT_EQ(fleet.bench.radio().completedTransfers(), 0);
}

TEST(FleetRun, StopWhileWaitingLogsNothingAndALogThatFailsStopsTheRun) {
    sim::SimOptions silent;
    silent.noAnswer = true;
    FleetSetup waiting(silent, Units(3));
    ASSERT_FALSE(waiting.RunUntil([] { return false; }, 5'000));
    EXPECT_EQ(waiting.run->Phase(), FleetPhase::WaitingForRadio);
    waiting.run->Stop();
    EXPECT_EQ(waiting.run->Phase(), FleetPhase::Stopped);
    EXPECT_TRUE(waiting.log.rows.empty());

    FleetSetup full(sim::SimOptions{}, Units(2));
    full.log.refuse = true;
    ASSERT_TRUE(full.RunUntil([&] { return full.run->Done(); }, kUnitLimitMs));
    EXPECT_EQ(full.run->Phase(), FleetPhase::Stopped);
    EXPECT_EQ(full.listener.logFailures, std::vector<std::string>{"disk full"});
}

TEST(FleetRun, PreparingRefusesAPlanNoRadioTakesAndSkipsOnlyTheSameImage) {
    Workspace empty = Plan();
    empty.channels.SetCell(1, ColRxFreq, "");
    EXPECT_EQ(PrepareFleet(empty, Units(1), {}).message(), "channel 1 has no RX frequency: a radio takes no plan without one");
    Workspace offRaster = Plan();
    offRaster.channels.SetCell(9, ColRxFreq, "446.001000");
    EXPECT_EQ(PrepareFleet(offRaster, Units(1), {}).message(),
              "channel 9: RX frequency 446.001000 is not on the 6.25 kHz raster");

    const std::vector<FleetUnit> units = Units(3);
    const std::string sha1 = Sha256Hex(ImageFor(Plan(), units[0]));
    const std::string sha2 = Sha256Hex(ImageFor(Plan(), units[1]));
    const std::vector<FleetLogRow> earlier = {
        {"t", "Unit-01", "SB", "10001", "COM5", UnitOutcome::Verified, sha1, ""},
        {"t", "Unit-02", "SC", "10002", "COM5", UnitOutcome::Verified, sha1, ""},  // another plan then
        {"t", "Unit-03", "SD", "10003", "COM5", UnitOutcome::Failed, sha2, ""},
    };
    const Result<FleetPlan> plan = PrepareFleet(Plan(), units, earlier);
    ASSERT_TRUE(plan.ok());
    EXPECT_TRUE(plan->units[0].alreadyVerified);
    EXPECT_FALSE(plan->units[1].alreadyVerified);
    EXPECT_FALSE(plan->units[2].alreadyVerified);
}

TEST(FleetStart, MakesANewLogOnlyForAPlanItTakesAndGoesOnInTheLogItIsGiven) {
    const TempFolder folder;
    Workspace plan = Plan();
    plan.programFolder = folder / "program";
    Workspace empty = plan;
    empty.channels.SetCell(1, ColRxFreq, "");
    EXPECT_EQ(StartFleet(empty, Units(2), {}).message(),
              "channel 1 has no RX frequency: a radio takes no plan without one");
    EXPECT_EQ(StartFleet(empty, Units(2), folder / "given.csv").message(),
              "channel 1 has no RX frequency: a radio takes no plan without one");
    EXPECT_FALSE(std::filesystem::exists(plan.DataFolder()));
    EXPECT_FALSE(std::filesystem::exists(folder / "given.csv"));

    const Result<FleetStart> fresh = StartFleet(plan, Units(2), {});
    ASSERT_TRUE(fresh.ok()) << fresh.message();
    EXPECT_EQ(fresh->log.path().parent_path(), plan.DataFolder());
    EXPECT_EQ(fresh->plan.units.size(), 2U);

    const std::filesystem::path given = folder / "given.csv";
    {
        Result<FleetStart> first = StartFleet(plan, Units(2), given);
        ASSERT_TRUE(first.ok()) << first.message();
        const FleetUnitPlan& done = first->plan.units[0];
        const FleetLogRow row{"t",    done.unit.label,       done.unit.nameId, done.unit.dtmfId,
                              "COM5", UnitOutcome::Verified, done.sha256,      ""};
        ASSERT_TRUE(first.value().log.Append(row).ok());
    }
    const Result<FleetStart> again = StartFleet(plan, Units(2), given);
    ASSERT_TRUE(again.ok()) << again.message();
    EXPECT_TRUE(again->plan.units[0].alreadyVerified);
    EXPECT_FALSE(again->plan.units[1].alreadyVerified);
    // A file that is no fleet log is named once and left as it was.
    const std::filesystem::path other = folder / "channels.csv";
    std::ofstream(other, std::ios::binary) << "Location,Name\r\n";
    const std::string refusal = StartFleet(plan, Units(2), other).message();
    EXPECT_EQ(refusal.rfind(other.string() + ": not a fleet log", 0), 0U) << refusal;
    EXPECT_EQ(refusal.find(other.string(), 1), std::string::npos) << refusal;
}

// Whatever the working set, the radio holds exactly what was written.
class ReadBackCatcher : public LinkListener, public LinkStorage {
public:
    void OnMessage(const std::string& text, MessageKind) override { messages.push_back(text); }
    void OnImageReceived(std::span<const uint8_t> image) override { readBack.assign(image.begin(), image.end()); }
    Result<std::string> KeepBackup(std::span<const uint8_t>, int16_t, BackupKind) override { return std::string(); }
    Status AcceptRead(std::span<const uint8_t>, Workspace&) override { return Status::Ok(); }
    std::vector<std::string> messages;
    std::vector<uint8_t> readBack;
};

TEST(ImageDiff, AWriteFollowedByACompareWithTheRadioFindsNothing) {
    for (unsigned seed = 1; seed <= 4; ++seed) {
        SCOPED_TRACE(seed);
        Workspace ws = testing::RichWorkspace(seed % 2 ? kEditionPmrLpd : kEditionKorea);
        ws.portName = "5";
        testing::EditList edits(ws, seed);
        for (int n = 0; n < 30; ++n) edits.ApplyOne();
        ws.channels.SetFrequencyCell(446.00625, 1, ColRxFreq);  // a radio takes nothing without it
        const Workspace written = ws;

        SimBench bench{sim::SimOptions{}};
        ReadBackCatcher catcher;
        LinkEngine engine(ws, bench.port, catcher, bench.clock, PortMap::WithSerialDir("/sim"));
        engine.SetStorage(&catcher);
        engine.ReconnectPort();
        ASSERT_TRUE(bench.Run(engine, [&] { return engine.Connected() && !engine.Busy(); }, 2'000));
        engine.RequestWrite();
        ASSERT_TRUE(bench.Run(engine, [&] { return !catcher.messages.empty() && !engine.PortInUse(); }, kUnitLimitMs));
        ASSERT_EQ(catcher.messages.back(), "DOWNLOAD COMPLETE");
        engine.RequestRead();
        ASSERT_TRUE(bench.Run(engine, [&] { return !catcher.readBack.empty() && !engine.PortInUse(); }, kUnitLimitMs));

        const Result<MemoryImage> sent = BuildImage(written);
        ASSERT_TRUE(sent.ok());
        EXPECT_EQ(CompareImages(*sent, catcher.readBack), std::vector<Difference>{});
    }
}

}  // namespace
}  // namespace corvane::simtest
