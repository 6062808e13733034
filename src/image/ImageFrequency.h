#pragma once
// Frequency texts as the image counts them: steps of 6.25 kHz, read exactly
// from the decimal digits so no binary rounding can move a channel.
#include <cstdint>
#include <string_view>

namespace corvane::image {

enum class StepsCheck { Zero, Ok, OutOfRange, OffRaster };

struct FrequencySteps {
    StepsCheck check = StepsCheck::Zero;
    int64_t steps = 0;  // 6.25 kHz steps; set for Ok only
};

// Reads the leading number of the text with the lenient grammar (blanks,
// sign, digits, point, digits). Empty or zero texts give Zero; anything else
// must lie inside 420..450 MHz and on the 6.25 kHz raster.
FrequencySteps ParseFrequencySteps(std::string_view text);

// The 16 bits the image holds for a step count.
uint16_t FrequencyCode(int64_t steps);
// Hertz of a code read from an image; 0 for the empty code.
int64_t CodeToHertz(uint16_t code);

}  // namespace corvane::image
