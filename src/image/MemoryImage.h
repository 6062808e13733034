#pragma once
// The 1936-byte memory image exchanged with the radio.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "model/Status.h"
#include "model/Workspace.h"

namespace corvane {

constexpr std::size_t kImageLength = 1936;
using MemoryImage = std::array<uint8_t, kImageLength>;

// Builds the image from the settings, the channel table and the group table.
// Refuses (with a message naming the field or channel) a NameId the setup
// window would not take or a channel frequency off the range or raster.
Result<MemoryImage> BuildImage(const Workspace& ws);

// Decodes an image read from the radio into the workspace: settings, Edition,
// ChannelMode, channels and groups (Group column rebuilt). An image whose
// edition or mode byte is unknown changes nothing and is reported invalid.
// Writes no file.
Status DecodeImage(std::span<const uint8_t> image, Workspace& ws);

// The four bytes of a 32-bit value, lowest first.
std::array<uint8_t, 4> SplitLong(uint32_t value);

// The DTMF ID one character per slot; slots 0..4 the text does not reach hold "0".
constexpr int kDtmfIdSlots = 11;
constexpr int kDtmfIdMaxLength = 5;
struct DtmfIdSplit {
    std::array<std::string, kDtmfIdSlots> DtmfIdDigits;
    int DtmfIdLength = 0;  // characters of the text
};
DtmfIdSplit SplitDtmfId(std::string_view dtmfId);

// The name ID one character per slot (characters beyond the sixth dropped).
constexpr int kNameIdSlots = 6;
std::array<std::string, kNameIdSlots> SplitNameId(std::string_view nameId);

}  // namespace corvane
