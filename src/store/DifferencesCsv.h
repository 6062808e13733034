#pragma once
// A comparison saved as a table: one CSV row per differing field.
#include <string>
#include <string_view>
#include <vector>

#include "image/ImageDiff.h"

namespace corvane {

// "channel,field,<left title>,<right title>", then one row per difference
// (the channel empty for a radio-wide setting), CR LF line ends.
std::string DifferencesCsv(const std::vector<Difference>& differences, std::string_view leftTitle,
                           std::string_view rightTitle);

}  // namespace corvane
