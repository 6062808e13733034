#pragma once
#include <cstdint>
#include <string_view>

namespace corvane {

// Band-plan editions, as stored in Port.txt and in the image.
constexpr int16_t kEditionPmrLpd = 2;
constexpr int16_t kEditionKorea = 3;

// ChannelMode values.
constexpr uint8_t kModeDefault = 0;
constexpr uint8_t kModeCustom = 1;

// BandSelect values.
constexpr int16_t kBandPmr = 0;
constexpr int16_t kBandLpd = 1;
constexpr int16_t kBandPmrLpd = 2;

inline bool IsKnownEdition(int edition) { return edition == kEditionPmrLpd || edition == kEditionKorea; }

// The names a user reads: "PMR + LPD" or "Korea"; "" for any other value.
constexpr std::string_view EditionName(int edition) {
    return edition == kEditionPmrLpd ? "PMR + LPD" : edition == kEditionKorea ? "Korea" : "";
}
constexpr std::string_view ModeName(int mode) { return mode == kModeCustom ? "Custom" : "Default"; }

}  // namespace corvane
