#include "fleet/FleetStart.h"

#include <system_error>

namespace corvane {

Result<FleetStart> StartFleet(const Workspace& plan, const std::vector<FleetUnit>& units,
                              const std::filesystem::path& logPath) {
    std::error_code error;
    if (!logPath.empty() && std::filesystem::exists(logPath, error)) {
        Result<FleetLogFile> log = FleetLogFile::Open(logPath);
        if (!log) return log.status();
        Result<FleetPlan> prepared = PrepareFleet(plan, units, log->EarlierRows());
        if (!prepared) return prepared.status();
        return FleetStart{std::move(log.value()), std::move(prepared.value())};
    }
    // A new log is made only for a plan that was taken: a refusal leaves no empty log behind.
    Result<FleetPlan> prepared = PrepareFleet(plan, units, {});
    if (!prepared) return prepared.status();
    Result<std::filesystem::path> path =
        logPath.empty() ? NewFleetLogPath(plan) : Result<std::filesystem::path>(logPath);
    if (!path) return path.status();
    Result<FleetLogFile> log = FleetLogFile::Open(*path);
    if (!log) return log.status();
    return FleetStart{std::move(log.value()), std::move(prepared.value())};
}

}  // namespace corvane
