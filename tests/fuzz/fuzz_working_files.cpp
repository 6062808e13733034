// Any bytes in any of the working files: the readers never crash, keep the
// table's shape, and the tones and switches they load save and load back the same.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "store/ChannelFiles.h"
#include "store/ConfigFiles.h"
#include "store/WorkingSet.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kFiles[] = {"Port.txt", "Group.txt", "Rx_Freq.txt", "Tx_Freq.txt", "Tone.txt",
                                  "Scan.txt", "Band.txt", "Power.txt", "Scr.txt", "Comp.txt"};

void Check(bool condition) {
    if (!condition) std::abort();
}

const fs::path& Folder() {
    static const fs::path folder = [] {
        fs::path dir = fs::temp_directory_path() / ("corvane-fuzz-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        return dir;
    }();
    return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace corvane;
    if (size == 0) return 0;
    // The first byte picks the file, the rest is its content; the others are absent.
    const fs::path& folder = Folder();
    for (const char* name : kFiles) fs::remove(folder / name);
    {
        std::ofstream out(folder / kFiles[data[0] % std::size(kFiles)], std::ios::binary);
        out.write(reinterpret_cast<const char*>(data + 1), static_cast<std::streamsize>(size - 1));
    }

    Workspace ws;
    ws.programFolder = folder;
    (void)LoadWorkingSetUnchangedEdition(ws);
    for (int row = 1; row < kRowCount; ++row) Check(ws.channels.GetCell(row, ColLabel) == ChannelLabel(row));

    // What was loaded survives a save and a reload.
    Workspace saved = ws;
    Check(SaveChannelFiles(saved).ok() && SaveConfigFile(saved).ok() && SaveGroupFile(saved).ok());
    Workspace again;
    again.programFolder = folder;
    again.edition = again.previousEdition = saved.edition;
    Check(LoadConfigFile(again).ok() && LoadGroupFile(again).ok() && LoadChannelFiles(again).ok());
    for (int row = 1; row < kRowCount; ++row)
        for (int col = ColCtcss; col < kColumnCount; ++col)
            Check(again.channels.GetCell(row, col) == saved.channels.GetCell(row, col));
    return 0;
}
