// corvane-cli image build|decode|show: the memory image without a radio.
#include <ostream>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/ImageReport.h"
#include "image/ImageDigest.h"
#include "image/ImageLayout.h"
#include "image/MemoryImage.h"
#include "model/Workspace.h"
#include "store/ChannelFiles.h"
#include "store/ImageBackups.h"
#include "store/SavePoint.h"
#include "store/TextLines.h"
#include "store/WorkingSet.h"

namespace corvane::cli {
namespace {

constexpr std::string_view kImageVerb = "image";

void PrintImageHelp(std::ostream& out) {
    out << "Usage: " << kProgramName << " [--folder DIR] [--backup-dir DIR] image build OUT\n"
        << "       " << kProgramName << " [--folder DIR] [--backup-dir DIR] image decode IN\n"
        << "       " << kProgramName << " image show IN\n"
        << "\n"
        << "  build OUT   build the 1936-byte image a write would send from the files\n"
        << "              in DIR and write it to OUT (DIR is left unchanged)\n"
        << "  decode IN   take IN as if read from the radio: Port.txt, Group.txt and the\n"
        << "              channel files in DIR are rewritten from it\n"
        << "  show IN     print the image's fingerprint (the first 8 hex digits of its\n"
        << "              SHA-256) and the settings, groups and channels it holds\n"
        << "\n"
        << "Only the first 1936 bytes of IN are used; shorter files are refused.\n"
        << "With --backup-dir, build keeps a \"write\" copy and decode a \"read\" copy of\n"
        << "the image there, as a transfer would.\n";
}

int Build(CliContext& ctx, const std::string& outPath) {
    Workspace ws;
    if (Status loaded = LoadWorkspaceReadOnly(ctx, ws); !loaded) return Fail(ctx, ctx.folder.string(), loaded.message());
    const Result<MemoryImage> image = BuildImage(ws);
    if (!image) return Fail(ctx, ctx.folder.string(), image.message());
    if (Status written = WriteImageFile(outPath, *image); !written) return Fail(ctx, outPath, written.message());
    SaveExplicitBackup(ctx, *image, ws.edition, BackupKind::Write);
    return kExitOk;
}

int Decode(CliContext& ctx, const std::string& inPath) {
    const auto bytes = ReadImageFile(inPath);
    if (!bytes) return Fail(ctx, inPath, bytes.message());
    SaveExplicitBackup(ctx, *bytes, static_cast<int16_t>((*bytes)[image::kEdition]), BackupKind::Read);
    Workspace ws;
    if (Status loaded = LoadWorkspace(ctx, ws); !loaded) return Fail(ctx, ctx.folder.string(), loaded.message());
    // What a completed read does, then what the program does when it ends: one set.
    SavePoint point(ctx.folder);
    if (Status accepted = AcceptImageFromRadio(*bytes, ws); !accepted) return Fail(ctx, inPath, accepted.message());
    // Staged in the save point: its Commit reports any failure.
    (void)SaveChannelFiles(ws);
    if (Status saved = point.Commit(); !saved) return Fail(ctx, ctx.folder.string(), saved.message());
    return kExitOk;
}

int Show(CliContext& ctx, const std::string& inPath) {
    const auto bytes = ReadImageFile(inPath);
    if (!bytes) return Fail(ctx, inPath, bytes.message());
    Workspace ws;
    if (Status decoded = DecodeImage(*bytes, ws); !decoded) return Fail(ctx, inPath, decoded.message());
    ctx.out << "Fingerprint: " << ImageFingerprint(*bytes) << '\n';
    PrintImageReport(ctx.out, ws);
    return kExitOk;
}

}  // namespace

int RunImage(CliContext& ctx, std::span<const std::string> args) {
    if (WantsHelp(args)) {
        PrintImageHelp(ctx.out);
        return kExitOk;
    }
    const auto parsed = ParseArgs(args, {});
    if (!parsed) return UsageError(ctx, kImageVerb, parsed.message());
    const std::vector<std::string>& words = parsed->positional;
    if (words.empty()) return UsageError(ctx, kImageVerb, "missing subcommand (build, decode or show)");
    const std::string& sub = words[0];
    if (sub != "build" && sub != "decode" && sub != "show")
        return UsageError(ctx, kImageVerb, "unknown subcommand '" + sub + "'");
    if (words.size() != 2) return UsageError(ctx, kImageVerb, sub + " needs exactly one file");
    if (sub == "build") return Build(ctx, words[1]);
    if (sub == "decode") return Decode(ctx, words[1]);
    return Show(ctx, words[1]);
}

}  // namespace corvane::cli
