// Building the memory image from the workspace.
#include "image/MemoryImage.h"

#include <cmath>
#include <string>

#include "image/ImageFrequency.h"
#include "image/ImageLayout.h"
#include "model/CodePage.h"
#include "model/NumberParse.h"
#include "model/SettingsRecord.h"
#include "model/ToneTable.h"

namespace corvane {
namespace {

constexpr int kNameIdLength = kNameIdMaxLength;
constexpr int kBitsPerByte = 8;
constexpr uint32_t kByteMask = 0xFF;
constexpr double kHighestPriChannel = 255.0;

uint8_t ChannelFlags(const ChannelTable& table, int row) {
    uint8_t flags = 0;
    if (table.GetCell(row, ColScan) == kYes) flags |= image::kFlagScan;
    if (table.GetCell(row, ColBand) == kWide) flags |= image::kFlagWide;
    if (table.GetCell(row, ColPower) == kHigh) flags |= image::kFlagHigh;
    if (table.GetCell(row, ColScrambler) == kOn) flags |= image::kFlagScrambler;
    if (table.GetCell(row, ColCompander) == kOn) flags |= image::kFlagCompander;
    return flags;
}

Status CheckHeaderFields(const Workspace& ws) {
    if (!IsKnownEdition(ws.edition)) {
        return Status::Error("Edition " + std::to_string(ws.edition) + " cannot be sent: it must be 2 or 3");
    }
    if (ws.channelMode != kModeDefault && ws.channelMode != kModeCustom) {
        return Status::Error("ChannelMode " + std::to_string(ws.channelMode) + " cannot be sent: it must be 0 or 1");
    }
    return Status::Ok();
}

Result<uint8_t> PriChannelByte(const std::string& text) {
    // Whole-number conversion rounds halves to even, as the radio's own tools do.
    const double value = std::nearbyint(LenientNumber(text));
    if (!(value >= 0.0 && value <= kHighestPriChannel)) {
        return Status::Error("PRI Channel \"" + text + "\" cannot be sent: it must be 0 to 255");
    }
    return static_cast<uint8_t>(value);
}

// nameId is UTF-8; the radio takes Windows-1252 codes. The setup window's
// rule decides what is sent, so what it takes is never refused here.
Result<std::array<uint8_t, kNameIdLength>> NameIdBytes(const std::string& text) {
    if (!IsSendableNameId(text)) {
        return Status::Error("Name ID \"" + text + "\" cannot be sent: it needs " + std::string(kNameIdCharacters));
    }
    const auto slots = SplitNameId(Utf8ToWindows1252(text));
    std::array<uint8_t, kNameIdLength> bytes{};
    for (int i = 0; i < kNameIdLength; ++i) {
        const int code = static_cast<unsigned char>(slots[i][0]);
        bytes[i] = static_cast<uint8_t>(code - image::kNameIdCodeOffset);
    }
    return bytes;
}

Status PutHeader(const Workspace& ws, std::span<uint8_t> out) {
    if (Status status = CheckHeaderFields(ws); !status) return status;
    const SettingsRecord& s = ws.settings;
    const auto pri = PriChannelByte(s.PriChannel);
    if (!pri) return pri.status();
    const auto name = NameIdBytes(s.NameId);
    if (!name) return name.status();
    const DtmfIdSplit dtmf = SplitDtmfId(Utf8ToWindows1252(s.DtmfId));
    if (dtmf.DtmfIdLength > kDtmfIdMaxLength) {
        return Status::Error("DTMF ID \"" + s.DtmfId + "\" cannot be sent: it has more than 5 characters");
    }

    image::PutByte(out, image::kChannelMode, ws.channelMode);
    for (const image::ByteField& field : image::kByteFields) image::PutByte(out, field.index, s.*field.field);
    image::PutByte(out, image::kPriChannel, *pri);
    image::PutByte(out, image::kEdition, static_cast<uint8_t>(ws.edition));
    image::PutByte(out, image::kNameIdChar1, (*name)[0]);
    image::PutByte(out, image::kNameIdChar2, (*name)[1]);
    image::PutByte(out, image::kDtmfIdLength, static_cast<uint8_t>(dtmf.DtmfIdLength));
    for (int i = 0; i < dtmf.DtmfIdLength; ++i) {
        const char c = dtmf.DtmfIdDigits[i][0];
        const uint8_t digit = (c >= '0' && c <= '9') ? static_cast<uint8_t>(c - '0') : 0;
        image::PutByte(out, image::kDtmfDigits + static_cast<image::Index>(i), digit);
    }
    image::PutByte(out, image::kBandSelect, static_cast<uint8_t>(s.BandSelect));

    const GroupTable& g = ws.groups;
    for (int i = 0; i < kGroupCount; ++i) image::PutByte(out, image::kGroupSizes + static_cast<image::Index>(i), g.GroupSize[i]);
    image::PutByte(out, image::kGroupsEnabled, g.GroupsEnabled);
    image::PutByte(out, image::kGroupSlotCount, g.GroupSlotCount);
    return Status::Ok();
}

Result<uint16_t> ChannelFrequencyCode(const ChannelTable& table, int channel, Column col) {
    const std::string& text = table.GetCell(channel, col);
    const image::FrequencySteps parsed = image::ParseFrequencySteps(text);
    const std::string what = "channel " + std::to_string(channel) + (col == ColRxFreq ? ": RX frequency " : ": TX frequency ") + text;
    switch (parsed.check) {
        case image::StepsCheck::Zero: return uint16_t{0};
        case image::StepsCheck::Ok: return image::FrequencyCode(parsed.steps);
        case image::StepsCheck::OutOfRange: return Status::Error(what + " is outside 420-450 MHz");
        case image::StepsCheck::OffRaster: return Status::Error(what + " is not on the 6.25 kHz raster");
    }
    return Status::Error(what + " cannot be read");
}

Status PutChannels(const Workspace& ws, std::span<uint8_t> out) {
    const ChannelTable& table = ws.channels;
    uint8_t channelCount = 0;
    for (int c = 1; c <= image::kAreaChannels; ++c) {
        const auto rx = ChannelFrequencyCode(table, c, ColRxFreq);
        if (!rx) return rx.status();
        const auto tx = ChannelFrequencyCode(table, c, ColTxFreq);
        if (!tx) return tx.status();
        image::PutWord(out, image::WordAt(image::kRxFrequencies, c), *rx);
        image::PutWord(out, image::WordAt(image::kTxFrequencies, c), *tx);
        if (*rx != 0) ++channelCount;
    }
    image::PutByte(out, image::kImageChannelCount, channelCount);

    const image::ChannelAreas& areas = image::AreasFor(ws.edition, ws.settings.BandSelect);
    for (int c = 1; c <= areas.toneChannels; ++c) {
        const int tone = ToneNumberCtcssFirst(table.GetCell(c, ColCtcss), table.GetCell(c, ColDcs), ws.edition);
        image::PutWord(out, image::WordAt(areas.tones, c), static_cast<uint16_t>(tone));
    }
    for (int c = 1; c <= areas.flagChannels; ++c) image::PutByte(out, image::ByteAt(areas.flags, c), ChannelFlags(table, c));
    return Status::Ok();
}

void PutGroupSlots(const GroupTable& groups, std::span<uint8_t> out) {
    for (int i = 0; i < kGroupSlotCount; ++i) {
        const auto offset = static_cast<image::Index>(i);
        image::PutByte(out, image::kGroupSlotStart + offset, groups.GroupSlotStart[i]);
        image::PutByte(out, image::kGroupSlotEnd + offset, groups.GroupSlotEnd[i]);
        image::PutByte(out, image::kGroupSlotLetter + offset, groups.GroupSlotLetter[i]);
    }
}

}  // namespace

std::array<uint8_t, 4> SplitLong(uint32_t value) {
    std::array<uint8_t, 4> bytes{};
    for (std::size_t k = 0; k < bytes.size(); ++k) bytes[k] = static_cast<uint8_t>((value >> (kBitsPerByte * k)) & kByteMask);
    return bytes;
}

DtmfIdSplit SplitDtmfId(std::string_view dtmfId) {
    DtmfIdSplit split;
    for (std::size_t i = 0; i < split.DtmfIdDigits.size() && i < dtmfId.size(); ++i) {
        split.DtmfIdDigits[i] = std::string(1, dtmfId[i]);
    }
    for (std::size_t i = dtmfId.size(); i < static_cast<std::size_t>(kDtmfIdMaxLength); ++i) split.DtmfIdDigits[i] = "0";
    split.DtmfIdLength = static_cast<int>(dtmfId.size());
    return split;
}

std::array<std::string, kNameIdSlots> SplitNameId(std::string_view nameId) {
    std::array<std::string, kNameIdSlots> slots;
    for (std::size_t i = 0; i < slots.size() && i < nameId.size(); ++i) slots[i] = std::string(1, nameId[i]);
    return slots;
}

Result<MemoryImage> BuildImage(const Workspace& ws) {
    MemoryImage image{};
    if (Status status = PutHeader(ws, image); !status) return status;
    if (Status status = PutChannels(ws, image); !status) return status;
    PutGroupSlots(ws.groups, image);
    return image;
}

}  // namespace corvane
