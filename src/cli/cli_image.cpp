// corvane-cli image build|decode|show: the memory image without a radio.
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/ImageReport.h"
#include "link/MemoryImage.h"
#include "model/Workspace.h"
#include "store/ChannelFiles.h"
#include "store/TextLines.h"
#include "store/WorkingSet.h"

namespace corvane::cli {
namespace {

constexpr std::string_view kVerb = "image";

void PrintImageHelp(std::ostream& out) {
    out << "Usage: " << kProgramName << " [--folder DIR] image build OUT\n"
        << "       " << kProgramName << " [--folder DIR] image decode IN\n"
        << "       " << kProgramName << " image show IN\n"
        << "\n"
        << "  build OUT   build the 1936-byte image a write would send from the files\n"
        << "              in DIR and write it to OUT\n"
        << "  decode IN   take IN as if read from the radio: Port.txt, Group.txt and the\n"
        << "              channel files in DIR are rewritten from it\n"
        << "  show IN     print the settings, groups and channels an image holds\n"
        << "\n"
        << "Only the first 1936 bytes of IN are used; shorter files are refused.\n";
}

// Reads the image file; files longer than an image keep only its bytes.
Result<std::vector<uint8_t>> ReadImageFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return Status::Error("cannot open the file");
    std::vector<uint8_t> bytes;
    bytes.reserve(kImageLength);
    std::istreambuf_iterator<char> it(in);
    const std::istreambuf_iterator<char> end;
    for (; it != end && bytes.size() < kImageLength; ++it) bytes.push_back(static_cast<uint8_t>(*it));
    if (in.bad()) return Status::Error("cannot read the file");
    if (bytes.size() < kImageLength) {
        return Status::Error("only " + std::to_string(bytes.size()) + " bytes, an image has " +
                             std::to_string(kImageLength));
    }
    return bytes;
}

int Build(CliContext& ctx, const std::string& outPath) {
    Workspace ws;
    if (Status loaded = LoadWorkspace(ctx, ws); !loaded) return Fail(ctx, ctx.folder.string(), loaded.message());
    const Result<MemoryImage> image = BuildImage(ws);
    if (!image) return Fail(ctx, ctx.folder.string(), image.message());
    const std::string_view bytes(reinterpret_cast<const char*>(image->data()), image->size());
    if (Status written = WriteFileAtomically(outPath, bytes); !written) return Fail(ctx, outPath, written.message());
    return kExitOk;
}

int Decode(CliContext& ctx, const std::string& inPath) {
    const auto bytes = ReadImageFile(inPath);
    if (!bytes) return Fail(ctx, inPath, bytes.message());
    Workspace ws;
    if (Status loaded = LoadWorkspace(ctx, ws); !loaded) return Fail(ctx, ctx.folder.string(), loaded.message());
    // What a completed read does, then what the program does when it ends.
    if (Status accepted = AcceptImageFromRadio(*bytes, ws); !accepted) return Fail(ctx, inPath, accepted.message());
    if (Status saved = SaveChannelFiles(ws); !saved) return Fail(ctx, ctx.folder.string(), saved.message());
    return kExitOk;
}

int Show(CliContext& ctx, const std::string& inPath) {
    const auto bytes = ReadImageFile(inPath);
    if (!bytes) return Fail(ctx, inPath, bytes.message());
    Workspace ws;
    if (Status decoded = DecodeImage(*bytes, ws); !decoded) return Fail(ctx, inPath, decoded.message());
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
    if (!parsed) return UsageError(ctx, kVerb, parsed.message());
    const std::vector<std::string>& words = parsed->positional;
    if (words.empty()) return UsageError(ctx, kVerb, "missing subcommand (build, decode or show)");
    const std::string& sub = words[0];
    if (sub != "build" && sub != "decode" && sub != "show") return UsageError(ctx, kVerb, "unknown subcommand '" + sub + "'");
    if (words.size() != 2) return UsageError(ctx, kVerb, sub + " needs exactly one file");
    if (sub == "build") return Build(ctx, words[1]);
    if (sub == "decode") return Decode(ctx, words[1]);
    return Show(ctx, words[1]);
}

}  // namespace corvane::cli
