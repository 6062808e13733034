#pragma once
// Fixed texts of the group window.
namespace corvane::forms {

inline constexpr const char* kGroupCaption = "Corvane PC Programmer Group Control";
inline constexpr const char* kNoRemainedChannels = "There is no remained channels...";
inline constexpr const char* kGroupLengthError = "[Error] Group Length .....";
inline constexpr const char* kToneLengthError = "[Error] Tone Length .....";
inline constexpr const char* kChannelTypingError = "[Error] Channel Legnth !!!";
inline constexpr const char* kToneTypingError = "[Error] Tone Legnth !!!";
inline constexpr const char* kDivideError = "Frequency: Divide Error !!!";

inline constexpr const char* kFrequencySteps[] = {"12.5[KHz]", "25.0[KHz]", "37.5[KHz]", "50.0[KHz]"};
inline constexpr const char* kToneSteps[] = {"1", "2", "3", "4", "5", "6", "7", "8", "9"};
inline constexpr const char* kTargetCaptions[] = {"RX", "TX", "RX/TX"};
inline constexpr const char* kNarrowCaption = "Narrow\"";

}  // namespace corvane::forms
