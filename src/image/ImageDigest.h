#pragma once
// SHA-256 of a memory image, and the short fingerprint people compare by eye.
// Written out here because the core also runs in the browser, where no
// system crypto library is at hand.
#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace corvane {

using Sha256Digest = std::array<uint8_t, 32>;

// FIPS 180-4 SHA-256 of the bytes.
Sha256Digest Sha256(std::span<const uint8_t> bytes);
// The digest as 64 lower-case hex digits.
std::string Sha256Hex(std::span<const uint8_t> bytes);

// The first 8 hex digits of the image's SHA-256: enough to tell two images
// apart at a glance, and the start of the full hash the fleet log keeps.
constexpr std::size_t kFingerprintDigits = 8;
std::string ImageFingerprint(std::span<const uint8_t> image);

}  // namespace corvane
