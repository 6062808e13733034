#include "store/WorkingSet.h"

#include <filesystem>
#include <system_error>

#include "link/MemoryImage.h"
#include "model/ChannelDefaults.h"
#include "model/GroupTable.h"
#include "store/ChannelFiles.h"
#include "store/ConfigFiles.h"

namespace corvane {

namespace {

Status FirstFailure(const Status& first, const Status& next) { return first.ok() ? next : first; }

// The Data folder only matters to the spreadsheet dialogs, so failing to
// create it is reported but stops nothing.
Status EnsureDataFolder(const Workspace& ws) {
    const auto folder = ws.DataFolder();
    std::error_code ec;
    if (std::filesystem::is_directory(folder, ec)) return Status::Ok();
    std::filesystem::create_directory(folder, ec);
    if (ec) return Status::Error("cannot create " + folder.string() + ": " + ec.message());
    return Status::Ok();
}

Status LoadAfterConfig(Workspace& ws) {
    Status status = EnsureDataFolder(ws);
    status = FirstFailure(status, LoadGroupFile(ws));
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

Status LoadWorkingSet(Workspace& ws) {
    const Status config = LoadConfigFile(ws);
    return FirstFailure(config, LoadAfterConfig(ws));
}

Status LoadWorkingSetUnchangedEdition(Workspace& ws) {
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
