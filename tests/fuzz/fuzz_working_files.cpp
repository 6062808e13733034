// Any bytes in any one of the working files: its reader never crashes and
// keeps the table's shape, and what it loaded saves and loads back the same.
// Each run reads and writes that one file only, in a folder in memory (tmpfs)
// where the system has one; the folder goes when the fuzzer ends.
#include <stdlib.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "model/ChannelDefaults.h"
#include "model/Edition.h"
#include "store/ChannelFiles.h"
#include "store/ConfigFiles.h"

namespace {

namespace fs = std::filesystem;
using namespace corvane;

void Check(bool condition) {
    if (!condition) std::abort();
}

// A folder of this process's own, gone when the process ends normally.
class ScratchFolder {
public:
    ScratchFolder() {
        std::error_code ec;
        for (const fs::path& base : {fs::path("/dev/shm"), fs::temp_directory_path(ec)}) {
            std::string pattern = (base / "corvane-fuzz-XXXXXX").string();
            if (::mkdtemp(pattern.data()) != nullptr) {
                path_ = pattern;
                return;
            }
        }
        std::abort();
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ~ScratchFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

// A working file with its reader and writer; what survives a round trip is
// compared by the caller.
struct WorkingFile {
    const char* name;
    std::function<Status(Workspace&)> load;
    std::function<Status(Workspace&)> save;
};

// Loaders are given somewhere to put their resets, so that a damaged file
// is not replaced (with a copy kept) on every run: what a reset writes is the
// set commit's business, not the reader's.
template <typename Load>
std::function<Status(Workspace&)> Reading(Load load) {
    return [load](Workspace& ws) {
        FileResets resets;
        return load(ws, resets);
    };
}

Status FlagLoad(Workspace& ws, FlagField field, FileResets& resets) { return LoadFlagFile(ws, field, resets); }

const WorkingFile kFiles[] = {
    {kConfigFile, Reading([](Workspace& ws, FileResets& r) { return LoadConfigFile(ws, r); }), [](Workspace& ws) { return SaveConfigFile(ws); }},
    {kGroupFile, Reading([](Workspace& ws, FileResets& r) { return LoadGroupFile(ws, r); }), [](Workspace& ws) { return SaveGroupFile(ws); }},
    {kRxFreqFile, Reading([](Workspace& ws, FileResets& r) { return LoadFrequencyFiles(ws, r); }), [](Workspace& ws) { return SaveFrequencyFiles(ws); }},
    {kTxFreqFile, Reading([](Workspace& ws, FileResets& r) { return LoadFrequencyFiles(ws, r); }), [](Workspace& ws) { return SaveFrequencyFiles(ws); }},
    {kToneFile, Reading([](Workspace& ws, FileResets& r) { return LoadToneFile(ws, r); }), [](Workspace& ws) { return SaveToneFile(ws); }},
    {"Scan.txt", Reading([](Workspace& ws, FileResets& r) { return FlagLoad(ws, FlagField::Scan, r); }), [](Workspace& ws) { return SaveFlagFile(ws, FlagField::Scan); }},
    {"Band.txt", Reading([](Workspace& ws, FileResets& r) { return FlagLoad(ws, FlagField::Band, r); }), [](Workspace& ws) { return SaveFlagFile(ws, FlagField::Band); }},
    {"Power.txt", Reading([](Workspace& ws, FileResets& r) { return FlagLoad(ws, FlagField::Power, r); }), [](Workspace& ws) { return SaveFlagFile(ws, FlagField::Power); }},
    {"Scr.txt", Reading([](Workspace& ws, FileResets& r) { return FlagLoad(ws, FlagField::Scrambler, r); }), [](Workspace& ws) { return SaveFlagFile(ws, FlagField::Scrambler); }},
    {"Comp.txt", Reading([](Workspace& ws, FileResets& r) { return FlagLoad(ws, FlagField::Compander, r); }), [](Workspace& ws) { return SaveFlagFile(ws, FlagField::Compander); }},
};

const fs::path& Folder() {
    static const ScratchFolder folder;
    return folder.path();
}

// The frequency files are read as a pair: the other one is a complete file
// of empty channels, so the fuzzed one's content is what counts.
void PlacePartner(const fs::path& folder, const std::string& name) {
    if (name != kRxFreqFile && name != kTxFreqFile) return;
    std::ofstream out(folder / (name == kRxFreqFile ? kTxFreqFile : kRxFreqFile), std::ios::binary);
    for (int line = 0; line < kChannelFileLines; ++line) out << "0\r\n";
}

// A workspace of the edition's defaults in the folder, made once per edition.
const Workspace& Fresh(const fs::path& folder, int16_t edition) {
    static const auto make = [&folder](int16_t of) {
        Workspace ws;
        ws.programFolder = folder;
        ws.edition = ws.previousEdition = of;
        FillDefaults(ws);
        return ws;
    };
    static const Workspace pmrLpd = make(kEditionPmrLpd);
    static const Workspace korea = make(kEditionKorea);
    return edition == kEditionPmrLpd ? pmrLpd : korea;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte picks the file and the edition, the rest is the file.
    const WorkingFile& file = kFiles[data[0] % std::size(kFiles)];
    const int16_t edition = (data[0] & 0x80) != 0 ? kEditionPmrLpd : kEditionKorea;
    const fs::path& folder = Folder();
    {
        std::ofstream out(folder / file.name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data + 1), static_cast<std::streamsize>(size - 1));
    }
    PlacePartner(folder, file.name);

    Workspace ws = Fresh(folder, edition);
    (void)file.load(ws);
    for (int row = 1; row < kRowCount; ++row) Check(ws.channels.GetCell(row, ColLabel) == ChannelLabel(row));

    // What was loaded survives a save and a reload.
    Check(file.save(ws).ok());
    Workspace again = Fresh(folder, ws.edition);
    if (ws.edition != edition) again.channels = Fresh(folder, edition).channels;
    Check(file.load(again).ok());
    Check(again.channels == ws.channels);
    // A port name that begins with the characters of a UTF-8 byte-order mark
    // (in Windows-1252) is written as those bytes at the start of Port.txt,
    // where a reader takes them for the mark an editor adds: it cannot come back.
    constexpr std::string_view kMarkAsRead = "\u00EF\u00BB\u00BF";
    if (std::string_view(file.name) == kConfigFile && !ws.portName.starts_with(kMarkAsRead)) {
        Check(again.settings == ws.settings && again.edition == ws.edition && again.channelMode == ws.channelMode &&
              again.portName == ws.portName);
    }
    return 0;
}
