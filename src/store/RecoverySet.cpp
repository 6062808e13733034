#include "store/RecoverySet.h"

#include <ctime>
#include <system_error>
#include <utility>

#include "model/GroupTable.h"
#include "store/ChannelFiles.h"
#include "store/CommitFileSystem.h"
#include "store/ConfigFiles.h"
#include "store/ProgramFolder.h"
#include "store/SavePoint.h"
#include "store/SetCommit.h"
#include "store/WorkingSet.h"

namespace corvane {
namespace {

using FileTime = std::filesystem::file_time_type;

bool IsChannelFile(const std::string& name) { return name != kConfigFile && name != kGroupFile; }

std::optional<FileTime> WriteTime(const std::filesystem::path& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
    const FileTime time = std::filesystem::last_write_time(path, ec);
    if (ec) return std::nullopt;
    return time;
}

// The oldest of the recovery's files; nullopt when one is missing.
std::optional<FileTime> KeptTime(const std::filesystem::path& folder) {
    std::optional<FileTime> oldest;
    for (const std::string& name : WorkingFileNames()) {
        const std::optional<FileTime> time = WriteTime(folder / name);
        if (!time) return std::nullopt;
        if (!oldest || *time < *oldest) oldest = time;
    }
    return oldest;
}

// The newest channel file of the program folder; a first start has none.
std::optional<FileTime> LastSavePoint(const std::filesystem::path& programFolder) {
    std::optional<FileTime> newest;
    for (const std::string& name : WorkingFileNames()) {
        if (!IsChannelFile(name)) continue;
        const std::optional<FileTime> time = WriteTime(programFolder / name);
        if (time && (!newest || *time > *newest)) newest = time;
    }
    return newest;
}

// file_clock has no portable conversion before C++20's clock_cast everywhere.
std::chrono::system_clock::time_point ToSystemTime(FileTime time) {
    const auto age = FileTime::clock::now() - time;
    return std::chrono::system_clock::now() - std::chrono::duration_cast<std::chrono::system_clock::duration>(age);
}

std::string UtcText(std::chrono::system_clock::time_point when) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    std::tm parts{};
    gmtime_r(&seconds, &parts);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S UTC", &parts);
    return text;
}

// The readers on the recovery folder, writing nothing: a reset they would
// make means the set is not what a keep wrote.
Result<WorkspaceSnapshot> ReadBack(const std::filesystem::path& folder) {
    if (Status readable = CheckWorkingFilesReadable(folder); !readable) return readable;
    Workspace kept;
    kept.programFolder = folder;
    ClearToStartUpState(kept);
    FileResets resets;
    Status loaded = LoadConfigFile(kept, resets);
    if (loaded) loaded = LoadGroupFile(kept, resets);
    if (loaded) loaded = LoadChannelFiles(kept, resets);
    if (!loaded) return loaded;
    if (!resets.empty() && !resets.front().damaged.empty()) {
        const DamagedFile& damaged = resets.front().damaged.front();
        return Status::Error((folder / damaged.name).string() + " " + damaged.problem);
    }
    FillGroupColumn(kept.groups, kept.channels);
    return TakeSnapshot(kept);
}

}  // namespace

std::filesystem::path RecoveryFolder(const std::filesystem::path& programFolder) {
    Workspace ws;
    ws.programFolder = programFolder;
    return ws.DataFolder() / kRecoveryFolderName;
}

Result<std::optional<LeftRecovery>> FindLeftRecovery(const std::filesystem::path& programFolder) {
    const std::filesystem::path folder = RecoveryFolder(programFolder);
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) return std::optional<LeftRecovery>();
    const std::vector<std::string> names = WorkingFileNames();
    if (const auto recovered = RecoverFileSet(folder, names, WorkingFileSystem()); !recovered) {
        return Status::Error("The unsaved changes kept in " + folder.string() + " cannot be read: " + recovered.message());
    }
    const std::optional<FileTime> kept = KeptTime(folder);
    if (!kept) return std::optional<LeftRecovery>();
    if (const std::optional<FileTime> saved = LastSavePoint(programFolder); saved && *saved > *kept) {
        return std::optional<LeftRecovery>();
    }
    Result<WorkspaceSnapshot> snapshot = ReadBack(folder);
    if (!snapshot) {
        return Status::Error("The unsaved changes kept in " + folder.string() + " cannot be read: " + snapshot.message());
    }
    return std::optional<LeftRecovery>(LeftRecovery{std::move(snapshot.value()), ToSystemTime(*kept)});
}

bool WorthOffering(const LeftRecovery& left, const Workspace& ws) {
    return left.snapshot.edition == ws.edition && !(left.snapshot == TakeSnapshot(ws));
}

std::string RecoveryNotice(const LeftRecovery& left) {
    return "The last run did not end through Exit, so its last changes were not saved. A copy of them was kept at " +
           UtcText(left.keptAt) + ": File > Recover Unsaved Changes... takes it in, and Edit > Undo takes it back out.";
}

RecoveryKeeper::RecoveryKeeper(std::filesystem::path programFolder) : programFolder_(std::move(programFolder)) {}

Status RecoveryKeeper::Keep(const Workspace& ws) {
    WorkspaceSnapshot now = TakeSnapshot(ws);
    if (kept_ && *kept_ == now) return Status::Ok();
    const std::filesystem::path folder = RecoveryFolder(programFolder_);
    if (Status made = CreateFolderIfMissing(folder); !made) return made;
    Workspace copy = ws;
    copy.channels.SetChangeListener(nullptr);
    copy.programFolder = folder;
    SavePoint point(folder);
    // Staged in the save point: its Commit reports any failure.
    (void)SaveConfigFile(copy);
    (void)SaveGroupFile(copy);
    (void)SaveChannelFiles(copy);
    if (Status committed = point.Commit(); !committed) return committed;
    kept_ = std::move(now);
    return Status::Ok();
}

Status RecoveryKeeper::Discard() {
    kept_.reset();
    const std::filesystem::path folder = RecoveryFolder(programFolder_);
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) return Status::Ok();
    CommitFileSystem& fs = WorkingFileSystem();
    // Without its first file the set no longer counts, wherever this stops.
    for (const std::string& name : WorkingFileNames()) {
        if (Status removed = fs.Remove(folder / name); !removed) return removed;
    }
    if (Status removed = fs.Remove(folder / kSaveJournalName); !removed) return removed;
    RemoveLeftoverTemporaryFiles(folder);
    std::filesystem::remove(folder, ec);  // only when nothing else is in it
    return Status::Ok();
}

}  // namespace corvane
