#pragma once
// CTCSS and DCS label lists and the conversions between label and code.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace corvane {

constexpr int kCtcssCodeCount = 74;                        // codes 0..73
constexpr int kDcsCodeCount = 209;                         // codes 0..208
constexpr int kDcsNormalCount = 104;                       // codes 1..104 normal, 105..208 inverted
constexpr int kToneNumberDcsOffset = 73;                   // ToneNumber = DCS code + 73
constexpr int kLastCtcssToneNumber = kCtcssCodeCount - 1;  // above it, a DCS code

inline constexpr std::string_view kCtcssOff = "[00] OFF";
inline constexpr std::string_view kDcsOff = "[000] OFF";

std::span<const std::string> CtcssList();
std::span<const std::string> DcsListPmrLpd();
std::span<const std::string> DcsListKorea();
// The DCS list of an edition: "PMR + LPD" for 2, Korea for any other value.
std::span<const std::string> DcsListFor(int16_t edition);

std::string CtcssLabel(int code);                     // "[00] OFF" outside 1..73
int CtcssCode(std::string_view label);                // 0 when no label matches
std::string DcsLabel(int code, int16_t edition);      // "[000] OFF" outside 1..208
int DcsCode(std::string_view label, int16_t edition); // 0 when no label matches

// The single number carrying a channel's tone: 0 none, 1..73 CTCSS, 74..281 DCS + 73.
struct DecodedTone {
    int ctcssCode = 0;
    int dcsCode = 0;
};
DecodedTone DecodeToneNumber(int toneNumber);
// CTCSS wins when both are set (image side).
int ToneNumberCtcssFirst(std::string_view ctcssLabel, std::string_view dcsLabel, int16_t edition);
// DCS wins when both are set (Tone.txt side).
int ToneNumberDcsFirst(std::string_view ctcssLabel, std::string_view dcsLabel, int16_t edition);

}  // namespace corvane
