#pragma once
// A fleet log kept in a CSV file: created with its header, each row appended
// and flushed to the disk before the run goes on.
#include <filesystem>
#include <vector>

#include "fleet/FleetLog.h"
#include "model/Workspace.h"

namespace corvane {

class FleetLogFile final : public FleetLog {
public:
    // Opens the log at path: an existing file must be a fleet log and its
    // rows are read (a run started again skips what they show verified); a
    // missing one is created with the header. Its folder must exist.
    static Result<FleetLogFile> Open(const std::filesystem::path& path);

    const std::filesystem::path& path() const { return path_; }
    const std::vector<FleetLogRow>& EarlierRows() const { return earlier_; }

    Status Append(const FleetLogRow& row) override;

private:
    explicit FleetLogFile(std::filesystem::path path) : path_(std::move(path)) {}

    std::filesystem::path path_;
    std::vector<FleetLogRow> earlier_;
};

// Where a run given no log keeps a new one: the plan's Data folder (created
// when missing), under a name of the time.
Result<std::filesystem::path> NewFleetLogPath(const Workspace& plan);

}  // namespace corvane
