#include "image/ImageDiff.h"

#include <array>
#include <utility>

#include "image/ImageFrequency.h"
#include "image/ImageLayout.h"
#include "image/MemoryImage.h"
#include "model/ChannelTable.h"
#include "model/CodePage.h"
#include "model/Frequency.h"
#include "model/GroupTable.h"
#include "model/SetupForm.h"
#include "model/ToneTable.h"

namespace corvane {
namespace {

constexpr int kLastDigit = 9;
constexpr char kUpperHexDigits[] = "0123456789ABCDEF";

struct FlagName {
    uint8_t bit;
    const char* name;
    std::string_view set;
    std::string_view clear;
};
constexpr std::array kFlagNames = {
    FlagName{image::kFlagScan, "Scan", kYes, kNo},
    FlagName{image::kFlagWide, "Band", kWide, kNarrow},
    FlagName{image::kFlagHigh, "Power", kHigh, kLow},
    FlagName{image::kFlagScrambler, "Scrambler", kOn, kOff},
    FlagName{image::kFlagCompander, "Compander", kOn, kOff},
};
constexpr uint8_t kKnownFlags =
    image::kFlagScan | image::kFlagWide | image::kFlagHigh | image::kFlagScrambler | image::kFlagCompander;

std::string Hex(uint8_t byte) { return std::string("0x") + kUpperHexDigits[byte >> 4] + kUpperHexDigits[byte & 0x0F]; }

std::string ByteList(std::span<const uint8_t> bytes, image::Index first, std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) text += (i ? " " : "") + std::to_string(bytes[first + i]);
    return text;
}

// One image and what its own bytes say about how to read it.
class ImageView {
public:
    explicit ImageView(std::span<const uint8_t> bytes)
        : bytes_(bytes),
          edition_(image::GetByte(bytes, image::kEdition)),
          areas_(image::AreasFor(edition_, image::GetByte(bytes, image::kBandSelect))) {}

    std::span<const uint8_t> bytes() const { return bytes_; }
    uint8_t Byte(image::Index index) const { return image::GetByte(bytes_, index); }
    uint16_t Word(image::Index index) const { return image::GetWord(bytes_, index); }
    int16_t edition() const { return edition_; }
    const image::ChannelAreas& areas() const { return areas_; }
    bool HasTone(int channel) const { return channel <= areas_.toneChannels; }
    bool HasFlags(int channel) const { return channel <= areas_.flagChannels; }

    std::string Frequency(image::Index index) const {
        const int64_t hertz = image::CodeToHertz(Word(index));
        return FormatFrequency(static_cast<double>(hertz) / static_cast<double>(kHertzPerMegahertz));
    }

    // The channel count byte less the channels it should count: 0 for any
    // image the builder made.
    int CountMismatch() const {
        int counted = 0;
        for (int c = 1; c <= image::kAreaChannels; ++c) counted += Word(image::WordAt(image::kRxFrequencies, c)) != 0;
        return Byte(image::kImageChannelCount) - counted;
    }

    // The slots and slot count are what FillGroupColumn makes of the sizes.
    bool SlotsFollowSizes() const {
        GroupTable groups;
        for (int g = 0; g < kGroupCount; ++g) groups.GroupSize[g] = Byte(image::kGroupSizes + static_cast<image::Index>(g));
        groups.GroupsEnabled = Byte(image::kGroupsEnabled);
        ChannelTable scratch;
        FillGroupColumn(groups, scratch);
        if (groups.GroupSlotCount != Byte(image::kGroupSlotCount)) return false;
        for (int i = 0; i < kGroupSlotCount; ++i) {
            const auto offset = static_cast<image::Index>(i);
            if (groups.GroupSlotStart[i] != Byte(image::kGroupSlotStart + offset) ||
                groups.GroupSlotEnd[i] != Byte(image::kGroupSlotEnd + offset) ||
                groups.GroupSlotLetter[i] != Byte(image::kGroupSlotLetter + offset)) {
                return false;
            }
        }
        return true;
    }

private:
    std::span<const uint8_t> bytes_;
    int16_t edition_;
    const image::ChannelAreas& areas_;
};

// ---------------------------------------------------------------- value texts

std::string OptionText(std::span<const std::string_view> list, uint8_t index) {
    if (index < list.size()) return std::string(list[index]);
    return std::to_string(index) + " (not in the list)";
}

std::string TickedCaptions(uint8_t mask, std::span<const std::string_view> captions) {
    std::string text = std::to_string(mask) + " (";
    bool any = false;
    for (std::size_t bit = 0; bit < 8; ++bit) {
        if (!((mask >> bit) & 1U)) continue;
        text += any ? ", " : "";
        text += bit < captions.size() ? std::string(captions[bit]) : "bit " + std::to_string(bit);
        any = true;
    }
    return text + (any ? ")" : "none)");
}

std::string ByteFieldText(const image::ByteField& field, uint8_t value) {
    if (field.field == &SettingsRecord::FunctionFlags1) return TickedCaptions(value, FunctionFlags1Captions());
    if (field.field == &SettingsRecord::FunctionFlags2) return TickedCaptions(value, FunctionFlags2Captions());
    if (field.field == &SettingsRecord::PowerControl) return value == 0 ? "not ticked" : value == 1 ? "ticked" : std::to_string(value);
    for (const SetupList& list : SetupLists()) {
        if (list.field == field.field) return OptionText(list.items(), value);
    }
    return std::to_string(value);
}

std::string EditionText(uint8_t edition) {
    if (edition == kEditionPmrLpd) return "PMR + LPD";
    if (edition == kEditionKorea) return "Korea";
    return std::to_string(edition);
}

std::string ModeText(uint8_t mode) {
    if (mode == kModeDefault) return "Default";
    if (mode == kModeCustom) return "Custom";
    return std::to_string(mode);
}

std::string BandText(uint8_t band) {
    if (band < kBandOptionCount) return std::string(BandOptionCaption(band));
    return std::to_string(band);
}

// As the decoder shows it: code + 54 in Windows-1252.
std::string NameIdText(const ImageView& view) {
    std::string name;
    for (image::Index index : {image::kNameIdChar1, image::kNameIdChar2}) {
        name.push_back(image::NameIdChar(view.Byte(index)));
    }
    return Windows1252ToUtf8(name);
}

// The digits the radio uses; anything a builder would not write is spelled out.
std::string DtmfIdText(const ImageView& view) {
    const int length = view.Byte(image::kDtmfIdLength);
    std::string digits;
    bool plain = length <= image::kDtmfDigitCount;
    for (int i = 0; i < image::kDtmfDigitCount; ++i) {
        const uint8_t digit = view.Byte(image::kDtmfDigits + static_cast<image::Index>(i));
        if (i < length) {
            plain = plain && digit <= kLastDigit;
            digits += std::to_string(digit);
        } else {
            plain = plain && digit == 0;
        }
    }
    if (plain) return digits;
    return "length " + std::to_string(length) + ", digits " +
           ByteList(view.bytes(), image::kDtmfDigits, static_cast<std::size_t>(image::kDtmfDigitCount));
}

std::string GroupSlotsText(const ImageView& view) {
    std::string text;
    for (int i = 0; i < kGroupSlotCount; ++i) {
        const auto offset = static_cast<image::Index>(i);
        const uint8_t start = view.Byte(image::kGroupSlotStart + offset);
        const uint8_t end = view.Byte(image::kGroupSlotEnd + offset);
        const uint8_t letter = view.Byte(image::kGroupSlotLetter + offset);
        if (start == 0 && end == 0 && letter == 0) continue;
        const std::string name = letter < kGroupCount ? std::string(1, GroupLetter(letter)) : "group " + std::to_string(letter);
        text += (text.empty() ? "" : ", ") + name + " " + std::to_string(start) + "-" + std::to_string(end);
    }
    return text;
}

// ---------------------------------------------------------------- comparison

class Comparison {
public:
    Comparison(std::span<const uint8_t> left, std::span<const uint8_t> right) : left_(left), right_(right) {}

    void Header() {
        Bytes(image::kChannelMode, 1, "ChannelMode", [](const ImageView& v) { return ModeText(v.Byte(image::kChannelMode)); });
        for (const image::ByteField& field : image::kByteFields) {
            Bytes(field.index, 1, field.name, [&field](const ImageView& v) { return ByteFieldText(field, v.Byte(field.index)); });
        }
        Bytes(image::kPriChannel, 1, "PriChannel", [](const ImageView& v) { return std::to_string(v.Byte(image::kPriChannel)); });
        Bytes(image::kEdition, 1, "Edition", [](const ImageView& v) { return EditionText(v.Byte(image::kEdition)); });
        Bytes(image::kNameIdChar1, 2, "NameId", NameIdText);
        Bytes(image::kDtmfIdLength, 1 + image::kDtmfDigitCount, "DtmfId", DtmfIdText);
        Bytes(image::kBandSelect, 1, "BandSelect", [](const ImageView& v) { return BandText(v.Byte(image::kBandSelect)); });
        for (int g = 0; g < kGroupCount; ++g) {
            const image::Index index = image::kGroupSizes + static_cast<image::Index>(g);
            Bytes(index, 1, "group " + std::string(1, GroupLetter(g)) + " size",
                  [index](const ImageView& v) { return std::to_string(v.Byte(index)); });
        }
        Bytes(image::kGroupsEnabled, 1, "GroupsEnabled", [](const ImageView& v) { return std::to_string(v.Byte(image::kGroupsEnabled)); });
        // Both follow from the sizes above wherever the builder made them.
        const bool slotsFollow = left_.SlotsFollowSizes() && right_.SlotsFollowSizes();
        if (!slotsFollow) {
            Bytes(image::kGroupSlotCount, 1, "GroupSlotCount",
                  [](const ImageView& v) { return std::to_string(v.Byte(image::kGroupSlotCount)); });
        }
        // The count follows from which channels have a receive frequency.
        if (left_.CountMismatch() != right_.CountMismatch()) {
            Bytes(image::kImageChannelCount, 1, "channel count",
                  [](const ImageView& v) { return std::to_string(v.Byte(image::kImageChannelCount)); });
        }
        slotsFollow_ = slotsFollow;
    }

    void Channels() {
        for (int c = 1; c <= image::kAreaChannels; ++c) {
            Frequency(c, image::kRxFrequencies, "RX");
            Frequency(c, image::kTxFrequencies, "TX");
            Tone(c);
            Flags(c);
        }
    }

    void GroupSlots() {
        if (slotsFollow_) return;
        bool differ = false;
        for (image::Index base : {image::kGroupSlotStart, image::kGroupSlotEnd, image::kGroupSlotLetter}) {
            differ = differ || !SameBytes(base, static_cast<std::size_t>(kGroupSlotCount));
        }
        if (differ) Add(0, "group slots", GroupSlotsText(left_), GroupSlotsText(right_));
    }

    std::vector<Difference> Take() { return std::move(found_); }

private:
    template <typename Text>
    void Bytes(image::Index first, std::size_t count, const std::string& name, Text text) {
        if (SameBytes(first, count)) return;
        std::string left = text(left_);
        std::string right = text(right_);
        // A value shown alike on both sides still differs in the radio.
        if (left == right) {
            left += " (bytes " + ByteList(left_.bytes(), first, count) + ")";
            right += " (bytes " + ByteList(right_.bytes(), first, count) + ")";
        }
        Add(0, name, std::move(left), std::move(right));
    }

    bool SameBytes(image::Index first, std::size_t count) const {
        for (std::size_t i = 0; i < count; ++i) {
            if (left_.Byte(first + i) != right_.Byte(first + i)) return false;
        }
        return true;
    }

    void Frequency(int c, image::Index base, const char* name) {
        const image::Index index = image::WordAt(base, c);
        if (left_.Word(index) == right_.Word(index)) return;
        Add(c, name, left_.Frequency(index), right_.Frequency(index));
    }

    // One tone word shows as two columns; each column that changed is named.
    void Tone(int c) {
        const int leftTone = ToneNumber(left_, c);
        const int rightTone = ToneNumber(right_, c);
        if (leftTone == rightTone) return;
        const auto [leftCtcss, leftDcs] = ToneLabels(left_, c, leftTone);
        const auto [rightCtcss, rightDcs] = ToneLabels(right_, c, rightTone);
        const bool ctcss = leftCtcss != rightCtcss;
        const bool dcs = leftDcs != rightDcs;
        if (ctcss) Add(c, "CTCSS", leftCtcss, rightCtcss);
        if (dcs) Add(c, "DCS", leftDcs, rightDcs);
        // A code beyond both lists, or a layout without this channel's tone.
        if (!ctcss && !dcs) Add(c, "tone", ToneCodeText(left_, c, leftTone), ToneCodeText(right_, c, rightTone));
    }

    static int ToneNumber(const ImageView& view, int c) {
        return view.HasTone(c) ? view.Word(image::WordAt(view.areas().tones, c)) : -1;
    }

    static std::pair<std::string, std::string> ToneLabels(const ImageView& view, int c, int tone) {
        if (!view.HasTone(c)) return {"", ""};
        if (tone > kLastCtcssToneNumber) return {std::string(kCtcssOff), DcsLabel(tone - kToneNumberDcsOffset, view.edition())};
        return {CtcssLabel(tone), std::string(kDcsOff)};
    }

    static std::string ToneCodeText(const ImageView& view, int c, int tone) {
        return view.HasTone(c) ? "code " + std::to_string(tone) : std::string();
    }

    void Flags(int c) {
        const bool leftHas = left_.HasFlags(c);
        const bool rightHas = right_.HasFlags(c);
        const uint8_t leftFlags = leftHas ? left_.Byte(image::ByteAt(left_.areas().flags, c)) : 0;
        const uint8_t rightFlags = rightHas ? right_.Byte(image::ByteAt(right_.areas().flags, c)) : 0;
        for (const FlagName& flag : kFlagNames) {
            const bool leftSet = leftFlags & flag.bit;
            const bool rightSet = rightFlags & flag.bit;
            if (leftHas == rightHas && leftSet == rightSet) continue;
            Add(c, flag.name, leftHas ? std::string(leftSet ? flag.set : flag.clear) : std::string(),
                rightHas ? std::string(rightSet ? flag.set : flag.clear) : std::string());
        }
        const uint8_t leftOther = leftFlags & ~kKnownFlags;
        const uint8_t rightOther = rightFlags & ~kKnownFlags;
        if (leftOther != rightOther) Add(c, "flags", Hex(leftOther), Hex(rightOther));
    }

    void Add(int channel, std::string field, std::string left, std::string right) {
        found_.push_back(Difference{channel, std::move(field), std::move(left), std::move(right)});
    }

    ImageView left_;
    ImageView right_;
    bool slotsFollow_ = true;
    std::vector<Difference> found_;
};

}  // namespace

std::vector<Difference> CompareImages(std::span<const uint8_t> left, std::span<const uint8_t> right) {
    if (left.size() < kImageLength || right.size() < kImageLength) {
        return {Difference{0, "image length", std::to_string(left.size()), std::to_string(right.size())}};
    }
    Comparison comparison(left.first(kImageLength), right.first(kImageLength));
    comparison.Header();
    comparison.Channels();
    comparison.GroupSlots();
    return comparison.Take();
}

Result<std::vector<Difference>> CompareWorkingSets(const Workspace& left, const Workspace& right) {
    const Result<MemoryImage> leftImage = BuildImage(left);
    if (!leftImage) return leftImage.status();
    const Result<MemoryImage> rightImage = BuildImage(right);
    if (!rightImage) return rightImage.status();
    return CompareImages(*leftImage, *rightImage);
}

std::string DifferenceName(const Difference& difference) {
    if (difference.channel == 0) return difference.field;
    return "channel " + std::to_string(difference.channel) + " " + difference.field;
}

std::string DifferenceLine(const Difference& difference) {
    const auto shown = [](const std::string& value) { return value.empty() ? std::string(kEmptyValueText) : value; };
    const std::string where = difference.channel == 0 ? difference.field
                                                      : "channel " + std::to_string(difference.channel) + "  " + difference.field;
    return where + "  " + shown(difference.left) + " -> " + shown(difference.right);
}

}  // namespace corvane
