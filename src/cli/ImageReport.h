#pragma once
// A readable listing of a decoded image for `image show`.
#include <iosfwd>

#include "model/Workspace.h"

namespace corvane::cli {

void PrintImageReport(std::ostream& out, const Workspace& ws);

}  // namespace corvane::cli
