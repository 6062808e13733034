// corvane-cli doctor: what is wrong with the connection to the radio, and
// how to fix it.
#include <unistd.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <array>
#include <filesystem>
#include <memory>
#include <ostream>

#include "cli/CliLink.h"
#include "cli/Commands.h"
#include "link/ConnectionDiagnosis.h"
#include "link/PortMap.h"
#include "link/qt/DoctorDriver.h"
#include "link/qt/SerialDevices.h"
#include "model/Workspace.h"
#include "store/ConfigFiles.h"

namespace corvane::cli {
namespace {

constexpr std::string_view kDoctorVerb = "doctor";
constexpr std::array kDoctorOptions = {OptionSpec{"--port", true}};
// Opening, the request and the listening take about a second.
constexpr int kDoctorLimitMs = 10000;

struct DoctorExit {
    Diagnosis diagnosis;
    int code;
};

// Scripts tell the findings apart by these.
constexpr std::array kExits = {
    DoctorExit{Diagnosis::RadioAnswers, kExitOk},   DoctorExit{Diagnosis::NoSuchDevice, 10},
    DoctorExit{Diagnosis::PermissionDenied, 11},     DoctorExit{Diagnosis::InUse, 12},
    DoctorExit{Diagnosis::Silence, 13},              DoctorExit{Diagnosis::EchoOnly, 14},
    DoctorExit{Diagnosis::NoFrame, 15},              DoctorExit{Diagnosis::ForeignAnswer, 16},
};

int ExitCodeOf(Diagnosis diagnosis) {
    for (const DoctorExit& exit : kExits) {
        if (exit.diagnosis == diagnosis) return exit.code;
    }
    return kExitFailure;
}

void PrintDoctorHelp(std::ostream& out) {
    out << "Usage: " << kProgramName << " [--folder DIR] [--serial-dir DIR] doctor [--port N|PATH]\n"
        << "\n"
        << "Finds out why the radio does not answer: opens the port, sends one\n"
        << "connection request, listens for about a second and prints what it found\n"
        << "and how to fix it.\n"
        << "\n"
        << "  --port N|PATH   COM port 1 to 12 (default: the port in Port.txt) or a\n"
        << "                  serial device path\n"
        << "\n"
        << "Exit status:\n";
    for (const DoctorExit& exit : kExits) {
        const DiagnosisText& text = TextOf(exit.diagnosis);
        const std::string code = std::to_string(exit.code);
        const std::string id(text.id);
        out << "  " << code << std::string(4 - code.size(), ' ') << id << std::string(20 - id.size(), ' ')
            << text.finding << '\n';
        if (exit.code == kExitOk) {
            out << "  1   Port.txt cannot be read\n"
                << "  2   usage error\n";
        }
    }
}

// Prints each check as it begins, where someone watches.
class DoctorReport : public DoctorListener {
public:
    explicit DoctorReport(CliContext& ctx) : ctx_(ctx), onTerminal_(::isatty(STDERR_FILENO) == 1) {}
    void OnDoctorStep(DoctorStep step) override {
        if (onTerminal_) ctx_.err << DoctorStepText(step) << " ...\n";
    }

private:
    CliContext& ctx_;
    bool onTerminal_;
};

// Where the cable may be instead: the ports whose devices exist.
void ListPresentPorts(CliContext& ctx, const PortMap& ports) {
    std::string list;
    for (int number = kFirstPort; number <= kLastPort; ++number) {
        const std::string device = ports.DeviceForPort(std::to_string(number));
        std::error_code error;
        if (device.empty() || !std::filesystem::exists(device, error)) continue;
        list += "  COM" + std::to_string(number) + "  " + DeviceWithCable(device) + '\n';
    }
    ctx.out << (list.empty() ? "No serial port is present.\n" : "Serial ports present:\n" + list);
}

DoctorFinding Examine(const std::string& device, DoctorReport& report) {
    int argc = 1;
    std::string name(kProgramName);
    std::array<char*, 2> argv = {name.data(), nullptr};
    std::unique_ptr<QCoreApplication> app;
    if (!QCoreApplication::instance()) app = std::make_unique<QCoreApplication>(argc, argv.data());

    DoctorDriver driver(report);
    ConnectionDoctor& doctor = driver.Doctor();
    doctor.Start(device);
    if (doctor.Running()) {
        QEventLoop loop;
        QTimer done;
        QObject::connect(&done, &QTimer::timeout, &loop, [&] {
            if (!doctor.Running()) loop.quit();
        });
        done.start(10);
        QTimer::singleShot(kDoctorLimitMs, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return doctor.Finding().value_or(DoctorFinding{Diagnosis::Silence, "the checks did not finish", {}});
}

}  // namespace

int RunDoctor(CliContext& ctx, std::span<const std::string> args) {
    if (WantsHelp(args)) {
        PrintDoctorHelp(ctx.out);
        return kExitOk;
    }
    const Result<ParsedArgs> parsed = ParseArgs(args, kDoctorOptions);
    if (!parsed) return UsageError(ctx, kDoctorVerb, parsed.message());
    if (!parsed->positional.empty())
        return UsageError(ctx, kDoctorVerb, "unexpected argument " + parsed->positional.front());

    Workspace ws;
    ws.programFolder = ctx.folder;
    ClearToStartUpState(ws);
    // A folder without Port.txt gets none from a look at the port: the default port is tried.
    std::error_code noFile;
    if (parsed->Has("--port") || !std::filesystem::exists(ctx.folder / kConfigFile, noFile)) {
        ws.portName = kDefaultPortName;
    } else {
        // Only read: a damaged Port.txt gives the default port in memory and stays as it is.
        FileResets notWritten;
        if (Status loaded = LoadConfigFile(ws, notWritten); !loaded) return Fail(ctx, ctx.folder.string(), loaded.message());
    }
    const Result<PortMap> ports = ChoosePort(ctx, parsed->Value("--port"), ws);
    if (!ports) return UsageError(ctx, kDoctorVerb, ports.message());
    const std::string device = ports->DeviceForPort(ws.portName);

    if (ports->HasFixedDevice()) {
        ctx.out << DeviceWithCable(device) << '\n';
    } else {
        ctx.out << "COM" << ws.portName << (device.empty() ? std::string() : "  " + DeviceWithCable(device)) << '\n';
    }

    DoctorReport report(ctx);
    const DoctorFinding finding = Examine(device, report);
    ctx.out << FindingLine(finding) << '\n' << "Fix: " << FixLine(finding) << '\n';
    if (finding.diagnosis == Diagnosis::NoSuchDevice) ListPresentPorts(ctx, PortMap::WithSerialDir(ctx.serialDir));
    return ExitCodeOf(finding.diagnosis);
}

}  // namespace corvane::cli
