// corvane-cli detect: find the port the radio answers on.
#include <ostream>

#include "cli/Commands.h"
#include "cli/CliLink.h"
#include "model/Workspace.h"
#include "store/ConfigFiles.h"

namespace corvane::cli {
namespace {

constexpr std::string_view kDetectVerb = "detect";
// Twelve ports, 21 ticks of 20 ms each, and the last answer.
constexpr std::chrono::milliseconds kDetectLimit{12 * 21 * 20 + 2000};

void PrintDetectHelp(std::ostream& out) {
    out << "Usage: " << kProgramName << " [--folder DIR] [--serial-dir DIR] detect\n"
        << "\n"
        << "Sends a connection request on COM1 to COM12 in turn, starting with the port\n"
        << "in Port.txt, and prints the first port that answers (about 0.4 s per port).\n"
        << "Port.txt is not changed. Exit status 1 when no port answers.\n";
}

}  // namespace

int RunDetect(CliContext& ctx, std::span<const std::string> args) {
    if (WantsHelp(args)) {
        PrintDetectHelp(ctx.out);
        return kExitOk;
    }
    if (!args.empty()) return UsageError(ctx, kDetectVerb, "unexpected argument " + args.front());

    ProgramSession program = CliProgram(ctx);
    Workspace& ws = program.Ws();
    // Port.txt is only read: a missing one gives the default port, a damaged one is refused.
    FileResets resets;
    if (Status loaded = LoadConfigFile(ws, resets); !loaded) return Fail(ctx, ctx.folder.string(), loaded.message());
    if (Status kept = RefuseReplacingResets(ctx.folder, resets); !kept) return Fail(ctx, ctx.folder.string(), kept.message());

    CliLinkSession session(ctx, program, PortMap::WithSerialDir(ctx.serialDir));
    LinkEngine& engine = session.Engine();
    engine.StartAutoDetect();
    session.RunUntil([&engine] { return !engine.AutoDetectRunning(); }, kDetectLimit);
    engine.Shutdown();
    if (!engine.Connected()) return Fail(ctx, "detect", "no radio answered on COM1 to COM12");
    ctx.out << "COM" << ws.portName << ' ' << engine.CurrentDevice() << '\n';
    return kExitOk;
}

}  // namespace corvane::cli
