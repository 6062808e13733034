#pragma once
// The memory a factory-fresh radio holds: "PMR + LPD" edition, Default mode,
// the PMR446 + LPD433 preset plan and the default radio settings.
#include "image/MemoryImage.h"

namespace corvane::sim {

MemoryImage MakeDefaultImage();

}  // namespace corvane::sim
