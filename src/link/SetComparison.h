#pragma once
// What the compare windows of both faces show: the working set on screen
// against the image a radio or a file holds, and the texts around it.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "image/ImageDiff.h"

namespace corvane {

// The table's columns: channel, field, then one per side.
inline constexpr std::string_view kChannelColumnTitle = "Channel";
inline constexpr std::string_view kFieldColumnTitle = "Field";
inline constexpr std::string_view kProgramSideTitle = "In the program";
inline constexpr std::string_view kRadioSideTitle = "In the radio";
inline constexpr std::string_view kFileSideTitle = "In the file";

// Said instead of a write when Show Changes before Write finds nothing to change.
inline constexpr std::string_view kNothingToWriteText =
    "The radio already holds what the program would write: nothing was written.";

// The set as the next write would send it (left) against image (right).
// Refused with the builder's reason when the set cannot become an image, and
// with the decoder's when the image is one the program would refuse to read.
Result<std::vector<Difference>> CompareSetWithImage(const Workspace& ws, std::span<const uint8_t> image);

// "No differences", "1 difference", "12 differences".
std::string DifferenceCountText(std::size_t count);

}  // namespace corvane
