#pragma once
// Timings, counts and texts shared by the files of LinkEngine.
#include <cstdint>
#include <string>

#include "image/MemoryImage.h"
#include "link/PortMap.h"

namespace corvane::link_detail {

inline constexpr int64_t kDelayMs = 100;            // Delay after opening and around frames
inline constexpr int64_t kDeafWindowMs = 100;     // input dropped after a frame went out
inline constexpr int64_t kDrainLimitMs = 2000;    // a frame of 8 bytes leaves in ~40 ms
inline constexpr int64_t kDrainPollMs = 1;
inline constexpr int64_t kHandshakeLimitMs = 3000;  // a chattering line must not hold the link
inline constexpr int kByteSilence = 10;           // SilenceCounter reload per byte
inline constexpr int kHandshakeSilence = 50;      // handshake wait, counted by Timer2 and Timer4
inline constexpr int kParseAt = 1;                // the count at which a reply is examined
inline constexpr int kMinReplyBytes = 3;
inline constexpr int kTicksPerProbe = 20;
inline constexpr int kPortsToProbe = kLastPort - kFirstPort + 1;
inline constexpr int kImageBytes = static_cast<int>(kImageLength);

inline const std::string kNoFrequency = "There is no Frequency Datas ...";
inline const std::string kVerifyFailed = "Verify failed: ";
inline const std::string kWriteLabel = "Download";
inline const std::string kReadLabel = "Upload";

}  // namespace corvane::link_detail
