#pragma once
// What every face does before a fleet run's first unit: the log found or
// made, and the plan checked against it.
#include <filesystem>
#include <vector>

#include "fleet/FleetLogFile.h"
#include "fleet/FleetRun.h"

namespace corvane {

struct FleetStart {
    FleetLogFile log;
    FleetPlan plan;
};

// Opens the run's log (logPath; a new one in the plan's Data folder when
// logPath is empty) and prepares the plan against the rows it already
// holds, before any radio is touched. A refusal's text names its file or
// folder, or the plan's row.
Result<FleetStart> StartFleet(const Workspace& plan, const std::vector<FleetUnit>& units,
                              const std::filesystem::path& logPath);

}  // namespace corvane
