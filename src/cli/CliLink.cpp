#include "cli/CliLink.h"

#include <unistd.h>

#include <QEventLoop>
#include <QTimer>
#include <cstdio>
#include <ostream>

#include "link/qt/DriverLink.h"
#include "model/NumberParse.h"
#include "model/Workspace.h"
#include "store/LinkFileStorage.h"

namespace corvane::cli {
namespace {

constexpr int kBarWidth = 30;
// The start-up connection test: settling delay, frame, deaf window and the
// radio's answer with room to spare.
constexpr std::chrono::milliseconds kConnectLimit{1500};

std::string TimeText(std::chrono::seconds seconds) {
    const long long total = seconds.count();
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld", total / 60, total % 60);
    return text;
}

}  // namespace

Result<PortMap> ChoosePort(const CliContext& ctx, const std::string& port, Workspace& ws) {
    if (port.empty()) return PortMap::WithSerialDir(ctx.serialDir);
    if (LooksLikeDevicePath(port)) return PortMap::WithFixedDevice(port);
    const long long number = LenientInteger(port);
    if (std::to_string(number) != port || number < kFirstPort || number > kLastPort) {
        return Status::Error("--port takes a number 1 to 12 or a device path, not '" + port + "'");
    }
    ws.portName = port;
    return PortMap::WithSerialDir(ctx.serialDir);
}

ProgramSession CliProgram(const CliContext& ctx) {
    const std::filesystem::path backups = BackupFolder(ctx);
    LinkFactory link = MakeDriverLinkFactory(PortMap::WithSerialDir(ctx.serialDir),
                                             [backups](Workspace& ws) -> std::unique_ptr<LinkStorage> {
                                                 auto storage = std::make_unique<LinkFileStorage>(ws);
                                                 storage->SetBackupFolder(backups);
                                                 return storage;
                                             });
    return ProgramSession(ctx.folder.string(), SavePolicy::AtSavePoints, std::move(link));
}

CliLinkSession::CliLinkSession(CliContext& ctx, ProgramSession& program, PortMap portMap)
    : ctx_(ctx), program_(program), programName_(kProgramName) {
    progressOnTerminal_ = ::isatty(STDERR_FILENO) == 1;
    if (!QCoreApplication::instance()) {
        argv_ = {programName_.data(), nullptr};
        app_ = std::make_unique<QCoreApplication>(argc_, argv_.data());
    }
    program_.OpenLink(*this);
    program_.SetPortMap(std::move(portMap));
}

// The link reports to this listener and runs on this event loop: it ends first.
CliLinkSession::~CliLinkSession() {
    EndProgressLine();
    program_.CloseLink();
}

bool CliLinkSession::RunUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    if (done()) return true;
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(kPollMs);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done()) loop.quit();
    });
    QTimer giveUp;
    giveUp.setSingleShot(true);
    QObject::connect(&giveUp, &QTimer::timeout, &loop, &QEventLoop::quit);
    poll.start();
    giveUp.start(static_cast<int>(limit.count()));
    loop.exec();
    return done();
}

std::string CliLinkSession::PortDescription() {
    const std::string device = Engine().CurrentDevice();
    if (Engine().Ports().HasFixedDevice()) return device;
    return "COM" + program_.Ws().portName + (device.empty() ? std::string() : " (" + device + ")");
}

bool CliLinkSession::Connect() {
    LinkEngine& engine = Engine();
    engine.ReconnectPort();
    RunUntil([&engine] { return engine.Connected(); }, kConnectLimit);
    if (engine.Connected()) return true;
    if (!engine.PortOpen() && !engine.LastOpenStatus().ok()) {
        Fail(ctx_, engine.Ports().HasFixedDevice() ? "port" : "COM" + program_.Ws().portName,
             engine.LastOpenStatus().message());
    }
    Fail(ctx_, PortDescription(), kHandshakeFailure);
    return false;
}

void CliLinkSession::OnMessage(const std::string& text, MessageKind kind) {
    EndProgressLine();
    messages_.push_back(text);
    if (kind == MessageKind::Exclamation) {
        ctx_.out << text << '\n';
    } else {
        ctx_.err << kProgramName << ": " << text << '\n';
    }
}

void CliLinkSession::OnProgress(int value) {
    if (!progressOnTerminal_ || value <= 0) return;
    const auto now = std::chrono::steady_clock::now();
    if (!progressStart_) progressStart_ = now;
    const int total = static_cast<int>(kImageLength);
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(now - *progressStart_);
    const auto left = std::chrono::duration_cast<std::chrono::seconds>(elapsed * (total - value) / value);
    std::string line = ProgressBar(value) + "  " + TimeText(left) + " left ";
    if (line == lastProgressLine_) return;
    ctx_.err << '\r' << line << std::flush;
    lastProgressLine_ = std::move(line);
    progressShown_ = true;
}

void CliLinkSession::OnImageReceived(std::span<const uint8_t> image) {
    receivedImage_.assign(image.begin(), image.end());
}

void CliLinkSession::OnBackupSaved(const std::string& path) {
    EndProgressLine();
    ctx_.err << "backup: " << path << '\n';
}

void CliLinkSession::OnBackupFailed(const std::string& text) {
    EndProgressLine();
    ctx_.err << kProgramName << ": " << text << '\n';
}

void CliLinkSession::EndProgressLine() {
    if (!progressShown_) return;
    ctx_.err << '\n';
    progressShown_ = false;
    progressStart_.reset();
    lastProgressLine_.clear();
}

std::string ProgressBar(int value) {
    const int total = static_cast<int>(kImageLength);
    const int filled = value * kBarWidth / total;
    return "[" + std::string(static_cast<std::size_t>(filled), '#') +
           std::string(static_cast<std::size_t>(kBarWidth - filled), '-') + "] " + std::to_string(value * 100 / total) +
           "%";
}

}  // namespace corvane::cli
