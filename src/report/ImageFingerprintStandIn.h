#pragma once
// STAND-IN, to be removed: ImageFingerprint is being added to the core next
// to the image (with its SHA-256). Until it lands, this file gives the same
// name and result so the channel list can be built and tested; the sheet
// includes it from ChannelSheet.cpp only.
#include <cstdint>
#include <span>
#include <string>

namespace corvane {

// The first 8 hex digits (lower case) of the SHA-256 of image.
std::string ImageFingerprint(std::span<const uint8_t> image);

}  // namespace corvane
