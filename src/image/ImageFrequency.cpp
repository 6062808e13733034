#include "image/ImageFrequency.h"

#include <cstddef>

#include "image/ImageLayout.h"
#include "model/Frequency.h"
#include "model/NumberParse.h"

namespace corvane::image {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Raster points need no more than five decimals of a megahertz.
constexpr int kRasterDecimals = 5;
constexpr int64_t kUnitsPerMegahertz = 100'000;  // 10 Hz units
constexpr int64_t kUnitsPerStep = kChannelRasterHz / 10;
constexpr int64_t kLowestMegahertz = kLowestFrequencyHz / kHertzPerMegahertz;
constexpr int64_t kHighestMegahertz = kHighestFrequencyHz / kHertzPerMegahertz;
// Large enough to be out of range, small enough never to overflow.
constexpr int64_t kMegahertzCap = 1'000'000;

}  // namespace

FrequencySteps ParseFrequencySteps(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';

    int64_t megahertz = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        megahertz = megahertz * 10 + (text[i] - '0');
        if (megahertz > kMegahertzCap) megahertz = kMegahertzCap;
    }
    int64_t fraction = 0;  // first five decimals, in 10 Hz units
    int decimals = 0;
    bool finerDigits = false;  // a non-zero digit past the fifth decimal
    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && IsDigit(text[i]); ++i) {
            if (decimals < kRasterDecimals) {
                fraction = fraction * 10 + (text[i] - '0');
                ++decimals;
            } else if (text[i] != '0') {
                finerDigits = true;
            }
        }
    }
    for (; decimals < kRasterDecimals; ++decimals) fraction *= 10;

    FrequencySteps result;
    if (megahertz == 0 && fraction == 0 && !finerDigits) return result;  // empty channel
    const bool anyFraction = fraction != 0 || finerDigits;
    if (negative || megahertz < kLowestMegahertz || megahertz > kHighestMegahertz ||
        (megahertz == kHighestMegahertz && anyFraction)) {
        result.check = StepsCheck::OutOfRange;
        return result;
    }
    const int64_t units = megahertz * kUnitsPerMegahertz + fraction;
    if (finerDigits || units % kUnitsPerStep != 0) {
        result.check = StepsCheck::OffRaster;
        return result;
    }
    result.check = StepsCheck::Ok;
    result.steps = units / kUnitsPerStep;
    return result;
}

uint16_t FrequencyCode(int64_t steps) { return static_cast<uint16_t>(steps % kFrequencyCodeWrap); }

int64_t CodeToHertz(uint16_t code) {
    if (code == 0) return 0;
    return (static_cast<int64_t>(code) + kFrequencyCodeWrap) * kChannelRasterHz;
}

}  // namespace corvane::image
