// corvane-cli new: a fresh channel table, as "New File" does, optionally in
// another edition or mode first (the access code and the Mode menu headless).
#include <array>
#include <optional>
#include <ostream>
#include <string>

#include "cli/Commands.h"
#include "model/ChannelDefaults.h"
#include "model/GroupTable.h"
#include "store/ChannelFiles.h"
#include "store/ConfigFiles.h"
#include "store/SavePoint.h"

namespace corvane::cli {
namespace {

constexpr std::string_view kNewVerb = "new";
constexpr std::array kNewOptions = {OptionSpec{"--edition", true}, OptionSpec{"--mode", true}};

void PrintNewHelp(std::ostream& out) {
    out << "Usage: " << kProgramName << " [--folder DIR] new [--edition pmr-lpd|korea] [--mode default|custom]\n"
        << "\n"
        << "Resets the channel table in DIR to the defaults of the mode and edition (the\n"
        << "preset plan in Default mode, empty channels in Custom mode) and the group\n"
        << "set-up to its defaults, as the program's New File does. --edition first\n"
        << "switches the edition as the access code does: another edition starts from its\n"
        << "preset plan in Default mode. --mode then sets the mode as the Mode menu does.\n"
        << "Port.txt, Group.txt and the channel files are written as one set: all of\n"
        << "them change, or none when one cannot be written.\n";
}

std::optional<int16_t> ParseEdition(std::string_view text) {
    if (text == "pmr-lpd" || text == "2") return kEditionPmrLpd;
    if (text == "korea" || text == "3") return kEditionKorea;
    return std::nullopt;
}

std::optional<uint8_t> ParseMode(std::string_view text) {
    if (text == "default" || text == "0") return kModeDefault;
    if (text == "custom" || text == "1") return kModeCustom;
    return std::nullopt;
}

int CountFrequencies(const ChannelTable& table) {
    int count = 0;
    for (int row = 1; row <= kChannelCount; ++row) count += table.GetCell(row, ColRxFreq).empty() ? 0 : 1;
    return count;
}

}  // namespace

int RunNew(CliContext& ctx, std::span<const std::string> args) {
    if (WantsHelp(args)) {
        PrintNewHelp(ctx.out);
        return kExitOk;
    }
    const Result<ParsedArgs> parsed = ParseArgs(args, kNewOptions);
    if (!parsed) return UsageError(ctx, kNewVerb, parsed.message());
    if (!parsed->positional.empty())
        return UsageError(ctx, kNewVerb, "unexpected argument " + parsed->positional.front());
    std::optional<int16_t> edition;
    if (parsed->Has("--edition") && !(edition = ParseEdition(parsed->Value("--edition")))) {
        return UsageError(ctx, kNewVerb, "--edition takes pmr-lpd or korea");
    }
    std::optional<uint8_t> mode;
    if (parsed->Has("--mode") && !(mode = ParseMode(parsed->Value("--mode")))) {
        return UsageError(ctx, kNewVerb, "--mode takes default or custom");
    }

    Workspace ws;
    if (Status loaded = LoadWorkspace(ctx, ws); !loaded) return Fail(ctx, ctx.folder.string(), loaded.message());
    if (edition && *edition != ws.edition) {
        ws.edition = *edition;
        ResetToEditionDefaults(ws);  // Default mode, as the access code's edition switch
    }
    if (mode) {
        ws.channelMode = *mode;
        ws.settings.BandSelect = kBandPmrLpd;
    }
    ResetGroupSetup(ws.groups);
    ClearGroupLayout(ws.groups, ws.channels);
    FillDefaults(ws);
    SavePoint point(ctx.folder);
    // Staged in the save point: its Commit reports any failure.
    (void)SaveConfigFile(ws);
    (void)SaveGroupFile(ws);
    (void)SaveChannelFiles(ws);
    if (Status saved = point.Commit(); !saved) return Fail(ctx, ctx.folder.string(), saved.message());
    ctx.out << "New channel table: " << (ws.edition == kEditionPmrLpd ? "PMR + LPD" : "Korea") << ", "
            << (ws.channelMode == kModeCustom ? "Custom" : "Default") << " mode, " << CountFrequencies(ws.channels)
            << " channels with a frequency\n";
    return kExitOk;
}

}  // namespace corvane::cli
