#pragma once
// A units list read from a CSV file or a workbook (first sheet), checked.
#include <filesystem>
#include <vector>

#include "fleet/UnitsList.h"

namespace corvane {

Result<std::vector<FleetUnit>> LoadUnitsListFile(const std::filesystem::path& path);

}  // namespace corvane
