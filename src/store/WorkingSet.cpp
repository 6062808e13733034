#include "store/WorkingSet.h"

#include <filesystem>
#include <system_error>

#include "link/MemoryImage.h"
#include "model/ChannelDefaults.h"
#include "model/GroupTable.h"
#include "store/ChannelFiles.h"
#include "store/ConfigFiles.h"
#include "store/TextLines.h"

namespace corvane {

namespace {

Status FirstFailure(const Status& first, const Status& next) { return first.ok() ? next : first; }

Status LoadAfterConfig(Workspace& ws) {
    Status status = LoadGroupFile(ws);
    if (ws.edition == ws.previousEdition) {
        status = FirstFailure(status, LoadChannelFiles(ws));
        FillGroupColumn(ws.groups, ws.channels);
        return status;
    }
    // The working files belong to the other edition: start from its preset plan.
    ResetToEditionDefaults(ws);
    status = FirstFailure(status, SaveConfigFile(ws));
    status = FirstFailure(status, SaveChannelFiles(ws));
    ResetGroupSetup(ws.groups);
    return FirstFailure(status, SaveGroupFile(ws));
}

}  // namespace

std::vector<std::string> WorkingFileNames() {
    std::vector<std::string> names{kConfigFile, kGroupFile, kRxFreqFile, kTxFreqFile, kToneFile};
    for (const FlagField field : {FlagField::Scan, FlagField::Band, FlagField::Power, FlagField::Scrambler, FlagField::Compander}) {
        names.emplace_back(FlagFileName(field));
    }
    return names;
}

Status CheckWorkingFilesReadable(const std::filesystem::path& folder) {
    for (const std::string& name : WorkingFileNames()) {
        const int lines = name == kConfigFile ? kConfigFileLines : name == kGroupFile ? kGroupFileLines : kChannelFileLines;
        if (auto read = ReadValueLines(folder / name, static_cast<std::size_t>(lines)); !read) return read.status();
    }
    return Status::Ok();
}

int RemoveLeftoverTemporaryFiles(const std::filesystem::path& folder) {
    int removed = 0;
    for (const std::string& name : WorkingFileNames()) removed += RemoveLeftoverTemporaries(folder / name);
    return removed;
}

Status EnsureDataFolder(const Workspace& ws) {
    const auto folder = ws.DataFolder();
    std::error_code ec;
    if (std::filesystem::is_directory(folder, ec)) return Status::Ok();
    std::filesystem::create_directory(folder, ec);
    if (ec) return Status::Error("cannot create the spreadsheet folder " + folder.string() + ": " + ec.message());
    return Status::Ok();
}

Status LoadWorkingSet(Workspace& ws) {
    if (Status readable = CheckWorkingFilesReadable(ws.programFolder); !readable) return readable;
    const Status config = LoadConfigFile(ws);
    return FirstFailure(config, LoadAfterConfig(ws));
}

Status LoadWorkingSetUnchangedEdition(Workspace& ws) {
    if (Status readable = CheckWorkingFilesReadable(ws.programFolder); !readable) return readable;
    const Status config = LoadConfigFile(ws);
    ws.previousEdition = ws.edition;
    return FirstFailure(config, LoadAfterConfig(ws));
}

Status SaveWorkingSetOnExit(Workspace& ws) {
    const Status channels = SaveChannelFiles(ws);
    return FirstFailure(channels, SaveGroupFile(ws));
}

Status AcceptImageFromRadio(std::span<const uint8_t> image, Workspace& ws) {
    if (Status decoded = DecodeImage(image, ws); !decoded.ok()) return decoded;
    const Status config = SaveConfigFile(ws);
    return FirstFailure(config, SaveGroupFile(ws));
}

}  // namespace corvane
