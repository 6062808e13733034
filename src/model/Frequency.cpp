#include "model/Frequency.h"

#include <cmath>
#include <cstdio>
#include <limits>

#include "model/ChannelTable.h"
#include "model/Edition.h"
#include "model/NumberParse.h"

namespace corvane {
namespace {

// Texts exactly as the radio's plan lists them, blanks included.
constexpr std::array<std::string_view, kKoreaPresetCount> kKoreaPresets = {
    "423.1875", "423.2000", "423.2125", "423.225 ", "423.2375", "423.25  ", "423.2625", "423.275 ",
    "423.2875", "423.3   ", "423.3125", "423.325 ", "423.3375", "423.35  ", "423.3625", "423.375 ",
    "423.3875", "423.4   ", "423.4125", "423.425 ", "423.4375", "423.45  ", "423.4625", "423.475 ",
    "423.4875", "423.5   ", "423.5125", "423.525 ", "423.5375", "423.55  ", "423.5625", "423.575 ",
    "423.5875", "423.6   ", "423.6125", "423.625 ", "423.6375", "423.65  ", "423.6625", "423.675 ",
    "423.6875", "423.7   ", "423.7125", "423.725 ", "423.7375", "423.75  ", "423.7625", "423.775 ",
    "423.7875", "423.8   ", "423.8125", "423.825 ", "423.8375", "423.85  ", "423.8625", "423.875 ",
    "423.8875", "423.9   ", "423.9125", "423.925 ", "423.9375", "423.95  ", "423.9625", "423.975 ",
    "423.9875", "444.025 ", "444.0375", "444.05  ", "444.0625", "444.075 ", "444.0875", "444.1   ",
    "444.1125", "444.125 ", "444.1375", "444.15  ",};

constexpr std::array<std::string_view, kPmrLpdPresetCount> kPmrLpdPresets = {
    "446.00625", "446.01875", "446.03125", "446.04375", "446.05625", "446.06875", "446.08125", "446.09375",
    "433.07500", "433.10000", "433.12500", "433.15000", "433.17500", "433.20000", "433.22500", "433.25000",
    "433.27500", "433.30000", "433.32500", "433.35000", "433.37500", "433.40000", "433.42500", "433.45000",
    "433.47500", "433.50000", "433.52500", "433.55000", "433.57500", "433.60000", "433.62500", "433.65000",
    "433.67500", "433.70000", "433.72500", "433.75000", "433.77500", "433.80000", "433.82500", "433.85000",
    "433.87500", "433.90000", "433.92500", "433.95000", "433.97500", "434.00000", "434.02500", "434.05000",
    "434.07500", "434.10000", "434.12500", "434.15000", "434.17500", "434.20000", "434.22500", "434.25000",
    "434.27500", "434.30000", "434.32500", "434.35000", "434.37500", "434.40000", "434.42500", "434.45000",
    "434.47500", "434.50000", "434.52500", "434.55000", "434.57500", "434.60000", "434.62500", "434.65000",
    "434.67500", "434.70000", "434.72500", "434.75000", "434.77500",};

template <std::size_t N>
std::string PresetAt(const std::array<std::string_view, N>& list, int index) {
    if (index <= 0) return std::string(list.front());
    if (index > static_cast<int>(N)) return "";
    return std::string(list[index - 1]);
}

constexpr double kHertzPerMegahertzDouble = static_cast<double>(kHertzPerMegahertz);
constexpr int kDecimalsPerHertz = 6;  // MHz text decimals that still name whole hertz
constexpr int64_t kHertzLimit = std::numeric_limits<int64_t>::max() / 20;

}  // namespace

std::string KoreaPreset(int index) { return PresetAt(kKoreaPresets, index); }
std::string PmrLpdPreset(int index) { return PresetAt(kPmrLpdPresets, index); }

int PresetCountFor(int16_t edition) {
    return edition == kEditionKorea ? kKoreaPresetCount : kPmrLpdPresetCount;
}

void RefreshPresetFrequencies(PresetFrequencies& presets, int16_t edition) {
    if (edition == kEditionKorea) {
        for (int i = 1; i <= kKoreaPresetCount; ++i) presets.entries[i] = KoreaPreset(i);
        presets.count = kKoreaPresetCount;
    } else if (edition == kEditionPmrLpd) {
        for (int i = 1; i <= kPmrLpdPresetCount; ++i) presets.entries[i] = PmrLpdPreset(i);
        presets.count = kPmrLpdPresetCount;
    }
}

FrequencyCheck CheckFrequencyEntry(std::string_view text) {
    if (text.empty()) return FrequencyCheck::Empty;
    const double hertz = LenientNumber(text) * kHertzPerMegahertzDouble;
    if (hertz < static_cast<double>(kLowestFrequencyHz) || hertz > static_cast<double>(kHighestFrequencyHz)) {
        return FrequencyCheck::RangeError;
    }
    const double steps = hertz / static_cast<double>(kChannelRasterHz);
    if (steps - std::round(steps) != 0.0) return FrequencyCheck::DivideError;
    return FrequencyCheck::Ok;
}

std::string_view FrequencyCheckMessage(FrequencyCheck check) {
    switch (check) {
        case FrequencyCheck::RangeError: return kRangeErrorText;
        case FrequencyCheck::DivideError: return kDivideErrorText;
        case FrequencyCheck::Ok:
        case FrequencyCheck::Empty: break;
    }
    return {};
}

int64_t FrequencyTextToHertz(std::string_view text) {
    // Same grammar as the lenient parse, but in integers so 446.00625 is exactly 446006250.
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int64_t hertz = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        if (hertz < kHertzLimit) hertz = hertz * 10 + (text[i] - '0') * kHertzPerMegahertz;
        if (hertz > kHertzLimit) hertz = kHertzLimit;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        int64_t scale = kHertzPerMegahertz;
        int decimals = 0;
        for (; i < text.size() && IsDigit(text[i]); ++i, ++decimals) {
            const int digit = text[i] - '0';
            if (decimals < kDecimalsPerHertz) {
                scale /= 10;
                hertz += digit * scale;
            } else if (decimals == kDecimalsPerHertz && digit >= 5) {
                ++hertz;  // round half away from zero on the first dropped digit
            }
        }
    }
    if (hertz > kHertzLimit) hertz = kHertzLimit;
    return negative ? -hertz : hertz;
}

std::string FormatHertz(int64_t hertz) {
    const bool negative = hertz < 0;
    const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(hertz) : static_cast<uint64_t>(hertz);
    const uint64_t whole = magnitude / kHertzPerMegahertz;
    const auto fraction = static_cast<unsigned long long>(magnitude % kHertzPerMegahertz);
    char buffer[48];
    if (whole == 0) {
        std::snprintf(buffer, sizeof buffer, "%s.%06llu", negative ? "-" : "", fraction);
    } else {
        std::snprintf(buffer, sizeof buffer, "%s%llu.%06llu", negative ? "-" : "",
                      static_cast<unsigned long long>(whole), fraction);
    }
    return buffer;
}

std::string HertzToFrequencyText(int64_t hertz) { return hertz == 0 ? std::string() : FormatHertz(hertz); }

int32_t WordFromBytes(uint8_t high, uint8_t low) { return static_cast<int32_t>(high) * 256 + low; }

}  // namespace corvane
