#include "link/ImageCompare.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <utility>

#include "link/ImageLayout.h"
#include "link/MemoryImage.h"
#include "model/GroupTable.h"
#include "model/ToneTable.h"

namespace corvane {
namespace {

constexpr int kLastCtcssToneNumber = kCtcssCodeCount - 1;

struct FlagName {
    uint8_t bit;
    const char* name;
};
constexpr std::array kFlagNames = {
    FlagName{image::kFlagScan, "Scan"},           FlagName{image::kFlagWide, "Band"},
    FlagName{image::kFlagHigh, "Power"},          FlagName{image::kFlagScrambler, "Scrambler"},
    FlagName{image::kFlagCompander, "Compander"},
};
constexpr uint8_t kKnownFlags =
    image::kFlagScan | image::kFlagWide | image::kFlagHigh | image::kFlagScrambler | image::kFlagCompander;

class Comparison {
public:
    Comparison(std::span<const uint8_t> sent, std::span<const uint8_t> readBack) : sent_(sent), back_(readBack) {}

    // One name for the bytes first..first+count-1.
    void Bytes(image::Index first, std::size_t count, const std::string& name) {
        for (std::size_t i = 0; i < count; ++i) {
            if (sent_[first + i] != back_[first + i]) {
                found_.push_back(name);
                return;
            }
        }
    }
    void Word(image::Index index, const std::string& name) { Bytes(index, image::kWordWidth, name); }

    void Tone(image::Index index, const std::string& channel) {
        const int sent = image::GetWord(sent_, index);
        const int back = image::GetWord(back_, index);
        if (sent == back) return;
        const int named = sent != 0 ? sent : back;
        found_.push_back(channel + (named > kLastCtcssToneNumber ? " DCS" : " CTCSS"));
    }

    void Flags(image::Index index, const std::string& channel) {
        const uint8_t changed = sent_[index] ^ back_[index];
        for (const FlagName& flag : kFlagNames) {
            if (changed & flag.bit) found_.push_back(channel + " " + flag.name);
        }
        if (changed & ~kKnownFlags) found_.push_back(channel + " flags");
    }

    std::vector<std::string> Take() { return std::move(found_); }

private:
    std::span<const uint8_t> sent_;
    std::span<const uint8_t> back_;
    std::vector<std::string> found_;
};

std::string Channel(int c) { return "channel " + std::to_string(c); }

void CompareHeader(Comparison& cmp) {
    cmp.Bytes(image::kChannelMode, 1, "ChannelMode");
    for (const image::ByteField& field : image::kByteFields) cmp.Bytes(field.index, 1, field.name);
    cmp.Bytes(image::kPriChannel, 1, "PriChannel");
    cmp.Bytes(image::kEdition, 1, "Edition");
    cmp.Bytes(image::kNameIdChar1, 2, "NameId");
    cmp.Bytes(image::kDtmfIdLength, 1 + image::kDtmfDigitCount, "DtmfId");
    cmp.Bytes(image::kBandSelect, 1, "BandSelect");
    for (int g = 0; g < kGroupCount; ++g) {
        const std::string letter(1, static_cast<char>('A' + g));
        cmp.Bytes(image::kGroupSizes + static_cast<image::Index>(g), 1, "group " + letter + " size");
    }
    cmp.Bytes(image::kGroupsEnabled, 1, "GroupsEnabled");
    cmp.Bytes(image::kGroupSlotCount, 1, "GroupSlotCount");
    cmp.Bytes(image::kImageChannelCount, 1, "channel count");
}

void CompareChannels(Comparison& cmp, const image::ChannelAreas& areas) {
    for (int c = 1; c <= image::kAreaChannels; ++c) {
        const std::string channel = Channel(c);
        cmp.Word(image::WordAt(image::kRxFrequencies, c), channel + " RX");
        cmp.Word(image::WordAt(image::kTxFrequencies, c), channel + " TX");
        if (c <= areas.toneChannels) cmp.Tone(image::WordAt(areas.tones, c), channel);
        if (c <= areas.flagChannels) cmp.Flags(image::ByteAt(areas.flags, c), channel);
    }
}

void CompareGroupSlots(Comparison& cmp) {
    for (image::Index base : {image::kGroupSlotStart, image::kGroupSlotEnd, image::kGroupSlotLetter}) {
        cmp.Bytes(base, static_cast<std::size_t>(kGroupSlotCount), "group slots");
    }
}

}  // namespace

std::vector<std::string> DifferingFields(std::span<const uint8_t> sent, std::span<const uint8_t> readBack) {
    if (sent.size() < kImageLength || readBack.size() < kImageLength) return {"image length"};
    Comparison cmp(sent, readBack);
    CompareHeader(cmp);
    // The channels ordered by channel number, whatever area they sit in.
    CompareChannels(cmp, image::AreasFor(image::GetByte(sent, image::kEdition), image::GetByte(sent, image::kBandSelect)));
    CompareGroupSlots(cmp);
    std::vector<std::string> fields = cmp.Take();
    // "group slots" once, however many of the three rows differ.
    std::vector<std::string> unique;
    for (std::string& field : fields) {
        if (field == "group slots" && !unique.empty() && unique.back() == field) continue;
        unique.push_back(std::move(field));
    }
    return unique;
}

std::string VerifyFailedText(const std::vector<std::string>& fields) {
    std::string text = "Verify failed: ";
    const std::size_t shown = std::min(fields.size(), kVerifyFieldsShown);
    for (std::size_t i = 0; i < shown; ++i) {
        if (i > 0) text += ", ";
        text += fields[i];
    }
    if (fields.size() > shown) text += ", ... (" + std::to_string(fields.size() - shown) + " more)";
    return text;
}

}  // namespace corvane
