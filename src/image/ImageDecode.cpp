// Reading a memory image from the radio back into the workspace.
#include <string>
#include <string_view>

#include "image/ImageFrequency.h"
#include "image/ImageLayout.h"
#include "image/MemoryImage.h"
#include "model/CodePage.h"
#include "model/Frequency.h"
#include "model/GroupTable.h"
#include "model/ToneTable.h"

namespace corvane {
namespace {

Status CheckImage(std::span<const uint8_t> bytes) {
    if (bytes.size() < kImageLength) {
        return Status::Error("invalid image: " + std::to_string(bytes.size()) + " bytes (expected " +
                             std::to_string(kImageLength) + ")");
    }
    const uint8_t edition = image::GetByte(bytes, image::kEdition);
    if (!IsKnownEdition(edition)) {
        return Status::Error("invalid image: edition byte " + std::to_string(edition) + " (expected 2 or 3)");
    }
    const uint8_t mode = image::GetByte(bytes, image::kChannelMode);
    if (mode != kModeDefault && mode != kModeCustom) {
        return Status::Error("invalid image: mode byte " + std::to_string(mode) + " (expected 0 or 1)");
    }
    return Status::Ok();
}

void DecodeHeader(std::span<const uint8_t> bytes, Workspace& ws) {
    SettingsRecord& s = ws.settings;
    ws.channelMode = image::GetByte(bytes, image::kChannelMode);
    ws.edition = image::GetByte(bytes, image::kEdition);
    for (const image::ByteField& field : image::kByteFields) s.*field.field = image::GetByte(bytes, field.index);
    s.PriChannel = std::to_string(image::GetByte(bytes, image::kPriChannel));
    // Slot 0 (index 16) is read by the radio's tools but never shown.
    const char name[] = {image::NameIdChar(image::GetByte(bytes, image::kNameIdChar1)),
                         image::NameIdChar(image::GetByte(bytes, image::kNameIdChar2))};
    s.NameId = Windows1252ToUtf8(std::string_view(name, sizeof name));
    // The five digit slots joined, never cut to the stored length.
    s.DtmfId.clear();
    for (int i = 0; i < image::kDtmfDigitCount; ++i) {
        s.DtmfId += std::to_string(image::GetByte(bytes, image::kDtmfDigits + static_cast<image::Index>(i)));
    }
    s.BandSelect = image::GetByte(bytes, image::kBandSelect);

    GroupTable& g = ws.groups;
    for (int i = 0; i < kGroupCount; ++i) g.GroupSize[i] = image::GetByte(bytes, image::kGroupSizes + static_cast<image::Index>(i));
    g.GroupsEnabled = image::GetByte(bytes, image::kGroupsEnabled);
    g.GroupSlotCount = image::GetByte(bytes, image::kGroupSlotCount);
}

void DecodeFrequency(std::span<const uint8_t> bytes, image::Index index, ChannelTable& table, int row, Column col) {
    const int64_t hertz = image::CodeToHertz(image::GetWord(bytes, index));
    table.SetFrequencyCell(static_cast<double>(hertz) / static_cast<double>(kHertzPerMegahertz), row, col);
}

void DecodeChannels(std::span<const uint8_t> bytes, Workspace& ws) {
    ChannelTable& table = ws.channels;
    const image::ChannelAreas& areas = image::kStandardAreas;
    for (int c = 1; c <= image::kAreaChannels; ++c) {
        DecodeFrequency(bytes, image::WordAt(image::kRxFrequencies, c), table, c, ColRxFreq);
        DecodeFrequency(bytes, image::WordAt(image::kTxFrequencies, c), table, c, ColTxFreq);

        const int tone = image::GetWord(bytes, image::WordAt(areas.tones, c));
        if (tone > kLastCtcssToneNumber) {
            table.SetCell(c, ColCtcss, std::string(kCtcssOff));
            table.SetCell(c, ColDcs, DcsLabel(tone - kToneNumberDcsOffset, ws.edition));
        } else {
            table.SetCell(c, ColCtcss, CtcssLabel(tone));
            table.SetCell(c, ColDcs, std::string(kDcsOff));
        }

        const uint8_t flags = image::GetByte(bytes, image::ByteAt(areas.flags, c));
        table.SetCell(c, ColScan, std::string(flags & image::kFlagScan ? kYes : kNo));
        table.SetCell(c, ColBand, std::string(flags & image::kFlagWide ? kWide : kNarrow));
        table.SetCell(c, ColPower, std::string(flags & image::kFlagHigh ? kHigh : kLow));
        table.SetCell(c, ColScrambler, std::string(flags & image::kFlagScrambler ? kOn : kOff));
        table.SetCell(c, ColCompander, std::string(flags & image::kFlagCompander ? kOn : kOff));
    }
}

}  // namespace

Status DecodeImage(std::span<const uint8_t> bytes, Workspace& ws) {
    if (Status status = CheckImage(bytes); !status) return status;

    // Decode into a scratch copy without the view's listener, then hand every
    // cell over through SetCell so a grid showing ws follows the change.
    Workspace scratch = ws;
    scratch.channels.SetChangeListener({});
    DecodeHeader(bytes, scratch);
    DecodeChannels(bytes, scratch);
    FillGroupColumn(scratch.groups, scratch.channels);

    ws.settings = scratch.settings;
    ws.groups = scratch.groups;
    ws.edition = scratch.edition;
    ws.channelMode = scratch.channelMode;
    for (int row = 1; row <= kChannelCount; ++row) {
        for (int col = ColGroup; col < kColumnCount; ++col) ws.channels.SetCell(row, col, scratch.channels.GetCell(row, col));
    }
    return Status::Ok();
}

}  // namespace corvane
