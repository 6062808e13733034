#pragma once
// A units list read from a workbook (its first sheet) or, any other file,
// as CSV; checked.
#include <filesystem>
#include <vector>

#include "fleet/UnitsList.h"

namespace corvane {

Result<std::vector<FleetUnit>> LoadUnitsListFile(const std::filesystem::path& path);

}  // namespace corvane
