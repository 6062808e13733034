#pragma once
// Preset channel plans of the two editions and the frequency entry check.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace corvane {

constexpr int kKoreaPresetCount = 76;
constexpr int kPmrLpdPresetCount = 77;
constexpr int kPresetCapacity = 81;  // indices 0..80

constexpr int64_t kHertzPerMegahertz = 1'000'000;
constexpr int64_t kLowestFrequencyHz = 420'000'000;
constexpr int64_t kHighestFrequencyHz = 450'000'000;
constexpr int64_t kChannelRasterHz = 6'250;

inline constexpr std::string_view kRangeErrorText = "Frequency: Range Error !!!";
inline constexpr std::string_view kDivideErrorText = "Frequency: Divide Error !!!";

std::string KoreaPreset(int index);   // "423.1875" for index <= 0, "" above 76
std::string PmrLpdPreset(int index);  // "446.00625" for index <= 0, "" above 77

struct PresetFrequencies {
    std::array<std::string, kPresetCapacity> entries{};  // 1..count used
    int count = 0;
};

int PresetCountFor(int16_t edition);  // 76 for Korea (3), 77 otherwise
// Copies the edition's list; any edition other than 2 or 3 leaves it unchanged.
void RefreshPresetFrequencies(PresetFrequencies& presets, int16_t edition);

enum class FrequencyCheck { Ok, Empty, RangeError, DivideError };
// Checks an entry typed into a frequency editor: range 420..450 MHz, 6.25 kHz raster.
FrequencyCheck CheckFrequencyEntry(std::string_view text);
// The message text of a failed check; empty for Ok and Empty.
std::string_view FrequencyCheckMessage(FrequencyCheck check);

// Integer hertz of a frequency text (rounded); 0 for an empty text.
int64_t FrequencyTextToHertz(std::string_view text);
// "###.000000" of a hertz count: no leading zero before the point, ".000000" for 0.
std::string FormatHertz(int64_t hertz);
// "446.006250" from 446006250 Hz; "" for 0.
std::string HertzToFrequencyText(int64_t hertz);

int32_t WordFromBytes(uint8_t high, uint8_t low);

}  // namespace corvane
