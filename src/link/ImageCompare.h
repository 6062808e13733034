#pragma once
// Comparing an image read back from the radio with the one that was sent,
// field by field, in the layout of the sent image.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace corvane {

// The fields whose bytes differ, in image order, named for the user:
// "ChannelMode", "Squelch", "NameId", "group B size", "group slots",
// "channel 12 RX", "channel 12 TX", "channel 40 CTCSS" (or "DCS"),
// "channel 7 Scan", "Band", "Power", "Scrambler", "Compander". Bytes the
// builder leaves 0 carry nothing and are not compared. Both spans must hold
// at least a whole image.
std::vector<std::string> DifferingFields(std::span<const uint8_t> sent, std::span<const uint8_t> readBack);

// "Verify failed: channel 12 RX, channel 40 CTCSS, ..." with at most the
// first kVerifyFieldsShown names and the count of the rest.
constexpr std::size_t kVerifyFieldsShown = 12;
std::string VerifyFailedText(const std::vector<std::string>& fields);

}  // namespace corvane
