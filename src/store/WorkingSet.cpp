#include "store/WorkingSet.h"

#include <filesystem>
#include <system_error>

#include "image/MemoryImage.h"
#include "model/ChannelDefaults.h"
#include "model/GroupTable.h"
#include "store/ChannelFiles.h"
#include "store/ConfigFiles.h"
#include "store/ImageBackups.h"
#include "store/SavePoint.h"
#include "store/TextLines.h"

namespace corvane {

namespace {

// Inside the caller's save point: the readers' rewrites and the preset plan
// of an edition switch are written as one set.
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

Result<Recovery> RecoverInterruptedSave(const std::filesystem::path& folder) {
    return RecoverFileSet(folder, WorkingFileNames(), WorkingFileSystem());
}

Result<StartReport> PrepareWorkingSet(const std::filesystem::path& folder, StartMode mode) {
    StartReport report;
    const Result<Recovery> recovered = RecoverInterruptedSave(folder);
    if (!recovered) return recovered.status();
    report.recovery = *recovered;
    if (Status readable = CheckWorkingFilesReadable(folder); !readable) return readable;
    if (mode == StartMode::ReadOnly) return report;

    // The readers run on a scratch workspace as start-up runs them: nothing
    // known before, so every reset they would make shows.
    Workspace scratch;
    scratch.programFolder = folder;
    ClearToStartUpState(scratch);
    FileResets resets;
    Status loaded = LoadConfigFile(scratch, resets);
    loaded = FirstFailure(loaded, LoadGroupFile(scratch, resets));
    loaded = FirstFailure(loaded, LoadChannelFiles(scratch, resets));
    if (!loaded) return loaded;
    const Result<std::string> notice = ReplaceDamagedFiles(folder, resets, DefaultBackupFolder(scratch));
    if (!notice) return notice.status();
    report.notice = *notice;
    return report;
}

Status LoadConfigBeforeAccessCode(Workspace& ws) {
    FileResets resets;
    const Status loaded = LoadConfigFile(ws, resets);
    ws.previousEdition = ws.edition;
    if (!loaded) return loaded;
    FileResets creating;
    for (const FileReset& reset : resets) {
        if (!ReplacesAFile(ws.programFolder, reset)) creating.push_back(reset);
    }
    return ApplyResets(ws.programFolder, creating, DefaultBackupFolder(ws));
}

Result<AcceptedCode> AcceptAccessCode(Workspace& ws, int16_t edition) {
    const Result<StartReport> prepared = PrepareWorkingSet(ws.programFolder, StartMode::MayReset);
    if (!prepared) return prepared.status();
    ws.edition = edition;
    return AcceptedCode{prepared->notice, SaveConfigFile(ws)};
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
    SavePoint point(ws.programFolder);
    const Status config = LoadConfigFile(ws);
    const Status loaded = FirstFailure(config, LoadAfterConfig(ws));
    return FirstFailure(loaded, point.Commit());
}

Status LoadWorkingSetUnchangedEdition(Workspace& ws) {
    if (Status readable = CheckWorkingFilesReadable(ws.programFolder); !readable) return readable;
    SavePoint point(ws.programFolder);
    const Status config = LoadConfigFile(ws);
    ws.previousEdition = ws.edition;
    const Status loaded = FirstFailure(config, LoadAfterConfig(ws));
    return FirstFailure(loaded, point.Commit());
}

Status LoadWorkingSetReadOnly(Workspace& ws) {
    if (Status readable = CheckWorkingFilesReadable(ws.programFolder); !readable) return readable;
    FileResets resets;
    Status loaded = LoadConfigFile(ws, resets);
    ws.previousEdition = ws.edition;
    loaded = FirstFailure(loaded, LoadGroupFile(ws, resets));
    loaded = FirstFailure(loaded, LoadChannelFiles(ws, resets));
    FillGroupColumn(ws.groups, ws.channels);
    if (!loaded) return loaded;
    return RefuseReplacingResets(ws.programFolder, resets);
}

Status SaveWorkingSetOnExit(Workspace& ws) {
    SavePoint point(ws.programFolder);
    // Staged in the save point: its Commit reports any failure.
    (void)SaveChannelFiles(ws);
    (void)SaveGroupFile(ws);
    return point.Commit();
}

Status AcceptImageFromRadio(std::span<const uint8_t> image, Workspace& ws) {
    if (Status decoded = DecodeImage(image, ws); !decoded.ok()) return decoded;
    SavePoint point(ws.programFolder);
    // Staged in the save point: its Commit reports any failure.
    (void)SaveConfigFile(ws);
    (void)SaveGroupFile(ws);
    return point.Commit();
}

}  // namespace corvane
