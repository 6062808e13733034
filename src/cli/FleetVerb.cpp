// corvane-cli fleet UNITS: the working set into one radio after another.
#include <unistd.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <array>
#include <csignal>
#include <ostream>

#include "cli/CliLink.h"
#include "cli/Commands.h"
#include "cli/ReadOnlySet.h"
#include "fleet/FleetLogFile.h"
#include "fleet/FleetRun.h"
#include "fleet/FleetStart.h"
#include "image/ImageDigest.h"
#include "link/qt/LinkDriver.h"
#include "store/LinkFileStorage.h"

#ifdef CORVANE_HAVE_WORKBOOK
#include "store/workbook/UnitsListFile.h"
#endif

namespace corvane::cli {
namespace {

constexpr std::string_view kFleetVerb = "fleet";
constexpr std::array kFleetOptions = {OptionSpec{"--port", true}, OptionSpec{"--log", true},
                                      OptionSpec{"--folder", true}};

volatile std::sig_atomic_t gStopRequested = 0;

void RequestStop(int) { gStopRequested = 1; }

void PrintFleetHelp(std::ostream& out) {
    out << "Usage: " << kProgramName << " [--folder DIR] fleet UNITS --port N|PATH [--log FILE] [--folder DIR]\n"
        << "\n"
        << "Writes the working set in DIR (the plan) into one radio after another, each\n"
        << "with the Name ID and DTMF ID its row of UNITS gives, reads every radio back\n"
        << "and compares it with what was written.\n"
        << "\n"
        << "UNITS is a CSV file or a workbook (.xlsx, .ods, .xls; first sheet) with one\n"
        << "row per radio: Label, Name ID, DTMF ID (a header row with these names is\n"
        << "optional). The list is checked first: a bad row is refused, naming its row\n"
        << "and column, before any radio is touched.\n"
        << "\n"
        << "For each radio: connect it (the program tests the line every second until\n"
        << "a radio answers), wait for the write (about 48 s) and the read-back, then\n"
        << "take it off and connect the next one. A radio that fails is logged as\n"
        << "failed and the run goes on. Ctrl+C stops at any moment; the log stays valid.\n"
        << "\n"
        << "  --port N|PATH  COM port 1 to 12, or a serial device path\n"
        << "  --log FILE     the log, one CSV row per radio: time, label, name_id,\n"
        << "                 dtmf_id, port, result (verified, failed or stopped),\n"
        << "                 sha256 of the image written, differences. Default:\n"
        << "                 DIR/Data/fleet-<date>_<time>.csv. Given an existing log,\n"
        << "                 radios it shows verified with this very plan are skipped.\n"
        << "  --folder DIR   the plan's folder (as the global --folder); a working set\n"
        << "                 that is missing a file or damaged is refused\n"
        << "\n"
        << "With --backup-dir every image written and read back is also kept there.\n"
        << "\n"
        << "Exit status: 0 when every radio is verified (or was already), 1 when one\n"
        << "failed or the run was stopped, 2 on a usage error or a refused list or plan.\n";
}

Result<std::vector<FleetUnit>> LoadUnits(const std::filesystem::path& path) {
#ifdef CORVANE_HAVE_WORKBOOK
    return LoadUnitsListFile(path);
#else
    return LoadUnitsCsvFile(path);
#endif
}

// What the run shows: prompts and results on stdout, trouble on stderr, a
// progress bar when stderr is a terminal.
class FleetPrinter final : public FleetListener {
public:
    explicit FleetPrinter(CliContext& ctx) : ctx_(ctx), bar_(::isatty(STDERR_FILENO) == 1) {}
    void SetRun(const FleetRun* run) { run_ = run; }

    void OnPhaseChanged(FleetPhase phase) override {
        EndBar();
        if (phase == FleetPhase::Finished || phase == FleetPhase::Stopped) return;
        if (run_ != nullptr) ctx_.out << run_->Prompt() << std::endl;
    }
    void OnProgress(int value) override {
        if (!bar_ || value <= 0) return;
        ctx_.err << '\r' << ProgressBar(value) << ' ' << std::flush;
        barShown_ = true;
    }
    void OnPortProblem(const std::string& text) override {
        EndBar();
        if (!text.empty()) ctx_.err << kProgramName << ": " << text << " (still trying)" << std::endl;
    }
    void OnUnitSkipped(const FleetUnit& unit) override {
        ctx_.out << unit.label << ": already verified in the log, skipped" << std::endl;
    }
    void OnRowLogged(const FleetLogRow& row) override {
        EndBar();
        ctx_.out << row.label << ": " << OutcomeText(row.outcome) << " (image " << row.sha256.substr(0, kFingerprintDigits)
                 << ")" << (row.details.empty() ? "" : ": " + row.details) << std::endl;
    }
    void OnLogFailed(const std::string& text) override {
        EndBar();
        ctx_.err << kProgramName << ": " << text << "; stopping, as no radio may go unrecorded" << std::endl;
    }

private:
    void EndBar() {
        if (!barShown_) return;
        ctx_.err << '\n';
        barShown_ = false;
    }

    CliContext& ctx_;
    const FleetRun* run_ = nullptr;
    bool bar_;
    bool barShown_ = false;
};

// Ctrl+C (and SIGTERM) ask the run to stop; a second one ends the program at once.
class StopSignals {
public:
    StopSignals() {
        gStopRequested = 0;
        struct sigaction action {};
        action.sa_handler = RequestStop;
        action.sa_flags = SA_RESETHAND;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, &oldInt_);
        sigaction(SIGTERM, &action, &oldTerm_);
    }
    ~StopSignals() {
        sigaction(SIGINT, &oldInt_, nullptr);
        sigaction(SIGTERM, &oldTerm_, nullptr);
    }
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

private:
    struct sigaction oldInt_ {};
    struct sigaction oldTerm_ {};
};

int Run(CliContext& ctx, FleetPlan plan, const PortMap& ports, FleetLogFile& log) {
    int argc = 1;
    std::string name(kProgramName);
    std::array<char*, 2> argv = {name.data(), nullptr};
    std::unique_ptr<QCoreApplication> app;
    if (!QCoreApplication::instance()) app = std::make_unique<QCoreApplication>(argc, argv.data());

    const std::string portText = ports.HasFixedDevice() ? ports.DeviceForPort(plan.plan.portName) : "COM" + plan.plan.portName;
    FleetPrinter printer(ctx);
    QtLinkClock clock;
    FleetRun run(std::move(plan), FleetRun::Settings{portText}, clock, log, printer, std::chrono::system_clock::now);
    printer.SetRun(&run);
    LinkFileStorage backups(run.LinkWorkspace());
    if (!ctx.backupDir.empty()) {
        backups.SetBackupFolder(ctx.backupDir);
        run.SetBackupStorage(&backups);
    }
    LinkDriver driver(run.LinkWorkspace(), run, ports);

    const StopSignals stopOnSignal;
    run.Start(driver.Engine());
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(kPollMs);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (gStopRequested != 0) run.Stop();
        run.Service();
        if (run.Done()) loop.quit();
    });
    poll.start();
    if (!run.Done()) loop.exec();

    ctx.out << run.Prompt() << "; log: " << log.path().string() << std::endl;
    const FleetSummary& summary = run.Summary();
    return summary.failed == 0 && !summary.stopped ? kExitOk : kExitFailure;
}

}  // namespace

int RunFleet(CliContext& ctx, std::span<const std::string> args) {
    if (WantsHelp(args)) {
        PrintFleetHelp(ctx.out);
        return kExitOk;
    }
    const Result<ParsedArgs> parsed = ParseArgs(args, kFleetOptions);
    if (!parsed) return UsageError(ctx, kFleetVerb, parsed.message());
    if (parsed->positional.size() != 1) return UsageError(ctx, kFleetVerb, "needs exactly one units list");
    if (!parsed->Has("--port"))
        return UsageError(ctx, kFleetVerb, "--port is needed: the radios are programmed on one port");

    const std::filesystem::path folder = parsed->Has("--folder") ? std::filesystem::path(parsed->Value("--folder")) : ctx.folder;
    Workspace ws;
    if (Status loaded = LoadWorkingSetReadOnly(folder, ws); !loaded) {
        Fail(ctx, folder.string(), loaded.message());
        return kExitUsage;
    }
    const std::string unitsPath = parsed->positional.front();
    const Result<std::vector<FleetUnit>> units = LoadUnits(unitsPath);
    if (!units) {
        Fail(ctx, unitsPath, units.message());
        return kExitUsage;
    }
    const Result<PortMap> ports = ChoosePort(ctx, parsed->Value("--port"), ws);
    if (!ports) return UsageError(ctx, kFleetVerb, ports.message());

    Result<FleetStart> start = StartFleet(ws, *units, parsed->Value("--log"));
    if (!start) {
        Fail(ctx, kFleetVerb, start.message());
        return kExitUsage;
    }
    return Run(ctx, std::move(start.value().plan), ports.value(), start.value().log);
}

}  // namespace corvane::cli
