#pragma once
// The reasons a workbook reader gives; the caller puts the file's name in
// front and a full stop after, so each refusal is one sentence.
#include <string>
#include <string_view>

namespace corvane::detail {

inline constexpr std::string_view kTooLargeUnpacked = "would unpack to more than 32 MB, far more than any workbook holds";
inline constexpr std::string_view kDamaged = "is damaged or cut short";

// "is damaged (detail)": what exactly does not hold together.
inline std::string DamagedBecause(std::string_view detail) { return "is damaged (" + std::string(detail) + ")"; }

}  // namespace corvane::detail
