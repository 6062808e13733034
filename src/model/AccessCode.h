#pragma once
// The start-up rules every face of the program shares: which access code
// chooses which edition, and the frame caption an edition gives.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace corvane {

inline constexpr std::string_view kProgramTitle = "Corvane PC Programmer";
inline constexpr std::string_view kInvalidAccessCodeText = "Invalid Password !!!!! ";

// "qzv"/"QZV" give PMR + LPD, "wbn"/"WBN" Korea; nothing else is accepted.
std::optional<int16_t> EditionForAccessCode(std::string_view code);

// "Corvane PC Programmer - Kestrel : ..." by edition; any other edition keeps the plain title.
std::string FrameCaption(int16_t edition);

}  // namespace corvane
