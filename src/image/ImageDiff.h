#pragma once
// What two memory images hold, compared field by field: the one comparison
// behind Verify after Write, `corvane-cli diff`, the compare windows and the
// fleet's read-back. Working sets are compared as the radio would hold them,
// through the images they build, so a set and its own image are equal.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/Status.h"
#include "model/Workspace.h"

namespace corvane {

// One field whose value differs. channel 1..255 for a channel's field, 0 for
// a radio-wide one. Values are the texts the program shows ("446.006250",
// "[05] C79.7", "Yes", "Auto"); "" where a side holds nothing there (an empty
// channel, or a field the image's layout leaves out).
struct Difference {
    int channel = 0;
    // A channel's field: "RX", "TX", "CTCSS", "DCS", "Scan", "Band", "Power",
    // "Scrambler", "Compander"; "tone" and "flags" for codes no column shows.
    // A radio-wide one: the settings record's name ("Squelch", "NameId",
    // "DtmfId", "ChannelMode", "Edition", ...), "group B size",
    // "GroupsEnabled", "GroupSlotCount", "group slots" or "channel count".
    std::string field;
    std::string left;
    std::string right;

    bool operator==(const Difference&) const = default;
};

// Every differing field of two whole images, in image order: the radio-wide
// settings, then channel by channel, then the group slots. Each image is read
// in its own layout (the LPD layout keeps tones and flags further up). Bytes
// no field owns are not compared, and values that follow from others (the
// channel count, the group slots) only when they do not follow. Both spans
// must hold at least a whole image; shorter ones give one "image length"
// difference.
std::vector<Difference> CompareImages(std::span<const uint8_t> left, std::span<const uint8_t> right);

// The two working sets as the radio would hold them. Refused, with the
// builder's reason, when a set cannot become an image.
Result<std::vector<Difference>> CompareWorkingSets(const Workspace& left, const Workspace& right);

// "channel 12 RX", "Squelch".
std::string DifferenceName(const Difference& difference);
// "channel 12  RX  446.006250 -> 430.000000", "Squelch  Auto -> 3"; an
// empty value reads "(empty)".
std::string DifferenceLine(const Difference& difference);
inline constexpr std::string_view kEmptyValueText = "(empty)";

}  // namespace corvane
