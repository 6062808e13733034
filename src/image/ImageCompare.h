#pragma once
// Verify after Write: the image read back from the radio against the one
// that was sent, as the names of the fields that differ.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace corvane {

// The names of the fields CompareImages finds different, in its order:
// "ChannelMode", "Squelch", "NameId", "group B size", "group slots",
// "channel 12 RX", "channel 12 TX", "channel 40 CTCSS" (or "DCS"),
// "channel 7 Scan", "Band", "Power", "Scrambler", "Compander".
std::vector<std::string> DifferingFields(std::span<const uint8_t> sent, std::span<const uint8_t> readBack);

// "Verify failed: channel 12 RX, channel 40 CTCSS, ..." with at most the
// first kVerifyFieldsShown names and the count of the rest.
constexpr std::size_t kVerifyFieldsShown = 12;
std::string VerifyFailedText(const std::vector<std::string>& fields);

}  // namespace corvane
