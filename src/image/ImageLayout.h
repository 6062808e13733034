#pragma once
// Where every value sits in the memory image, and the only code that reads or
// writes its bytes. The builder and the decoder both go through this file so
// the two directions cannot drift apart.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "model/Edition.h"
#include "model/SettingsRecord.h"

namespace corvane::image {

using Index = std::size_t;

// Header.
constexpr Index kChannelMode = 0;
constexpr Index kPriChannel = 10;
constexpr Index kEdition = 14;
constexpr Index kNameIdSlot0 = 16;  // read back, never part of the name
constexpr Index kNameIdChar1 = 17;
constexpr Index kNameIdChar2 = 18;
constexpr Index kDtmfIdLength = 35;
constexpr Index kDtmfDigits = 36;
constexpr int kDtmfDigitCount = 5;
constexpr Index kBandSelect = 44;
constexpr Index kGroupSizes = 48;  // A..J, one byte each
constexpr Index kGroupsEnabled = 60;
constexpr Index kGroupSlotCount = 61;
constexpr Index kImageChannelCount = 63;

// The name ID travels as character code minus this offset.
constexpr int kNameIdCodeOffset = 54;

// A name ID byte's character (Windows-1252). A code past one byte shows as
// '?': a control character would break the one-value-per-line files.
constexpr char NameIdChar(uint8_t byte) {
    constexpr int kHighestCode = 255;
    const int code = byte + kNameIdCodeOffset;
    return code <= kHighestCode ? static_cast<char>(static_cast<unsigned char>(code)) : '?';
}

// Settings that travel as one byte, unchanged, in both directions.
struct ByteField {
    Index index;
    uint8_t SettingsRecord::*field;
    const char* name;  // the settings record's name, for reports
};
inline constexpr std::array kByteFields = {
    ByteField{1, &SettingsRecord::FunctionFlags1, "FunctionFlags1"},
    ByteField{2, &SettingsRecord::FunctionFlags2, "FunctionFlags2"},
    ByteField{3, &SettingsRecord::VoxLevel, "VoxLevel"},
    ByteField{4, &SettingsRecord::ScanDelayTime, "ScanDelayTime"},
    ByteField{5, &SettingsRecord::ScanStayTime, "ScanStayTime"},
    ByteField{6, &SettingsRecord::TotalTime, "TotalTime"},
    ByteField{7, &SettingsRecord::ResumeTime, "ResumeTime"},
    ByteField{8, &SettingsRecord::HiddenSetting8, "HiddenSetting8"},
    ByteField{9, &SettingsRecord::PowerSaveOffTime, "PowerSaveOffTime"},
    ByteField{11, &SettingsRecord::PowerControl, "PowerControl"},
    ByteField{12, &SettingsRecord::BacklightOnTime, "BacklightOnTime"},
    ByteField{13, &SettingsRecord::PowerSaveOnTime, "PowerSaveOnTime"},
    ByteField{19, &SettingsRecord::VoxAttackTime, "VoxAttackTime"},
    ByteField{20, &SettingsRecord::VoxReleaseTime, "VoxReleaseTime"},
    ByteField{23, &SettingsRecord::HiddenSetting23, "HiddenSetting23"},
    ByteField{24, &SettingsRecord::KeyP1Side, "KeyP1Side"},
    ByteField{25, &SettingsRecord::KeyP2Left, "KeyP2Left"},
    ByteField{26, &SettingsRecord::KeyP3Center, "KeyP3Center"},
    ByteField{27, &SettingsRecord::KeyP4Right, "KeyP4Right"},
    ByteField{28, &SettingsRecord::CallTone, "CallTone"},
    ByteField{32, &SettingsRecord::DtmfGenerationTime, "DtmfGenerationTime"},
    ByteField{33, &SettingsRecord::DtmfPauseTime, "DtmfPauseTime"},
    ByteField{34, &SettingsRecord::DtmfDelayTime, "DtmfDelayTime"},
    ByteField{41, &SettingsRecord::Bclo, "Bclo"},
    ByteField{42, &SettingsRecord::BacklightType, "BacklightType"},
    ByteField{43, &SettingsRecord::SqTail, "SqTail"},
    ByteField{45, &SettingsRecord::Squelch, "Squelch"},
};

// Channel areas. Channel c (1-based) sits at base + width * (c - 1).
constexpr int kAreaChannels = 255;
constexpr Index kRxFrequencies = 66;
constexpr Index kTxFrequencies = 578;
constexpr Index kWordWidth = 2;

struct ChannelAreas {
    Index tones;
    int toneChannels;
    Index flags;
    int flagChannels;
};
// The decoder always reads the standard areas.
inline constexpr ChannelAreas kStandardAreas{1090, kAreaChannels, 1601, kAreaChannels};
// "PMR + LPD" edition with the LPD band: fewer tones and flags, further up.
inline constexpr ChannelAreas kLpdAreas{1108, 239, 1609, 247};

constexpr Index WordAt(Index base, int channel) { return base + kWordWidth * static_cast<Index>(channel - 1); }
// The areas a builder uses for an image of this edition and band.
constexpr const ChannelAreas& AreasFor(int edition, int bandSelect) {
    return edition == kEditionPmrLpd && bandSelect == kBandLpd ? kLpdAreas : kStandardAreas;
}

constexpr Index ByteAt(Index base, int channel) { return base + static_cast<Index>(channel - 1); }

// Group slots, 11 entries each.
constexpr Index kGroupSlotStart = 1856;
constexpr Index kGroupSlotEnd = 1872;
constexpr Index kGroupSlotLetter = 1888;

// Channel flag bits.
constexpr uint8_t kFlagScan = 0x01;
constexpr uint8_t kFlagWide = 0x02;
constexpr uint8_t kFlagHigh = 0x04;
constexpr uint8_t kFlagScrambler = 0x08;
constexpr uint8_t kFlagCompander = 0x10;

// Frequency codes count 6.25 kHz steps modulo 65536; the reader adds the
// wrapped-off 65536 back.
constexpr int64_t kFrequencyCodeWrap = 65536;

// Byte access. Indices come from the constants above and are checked once by
// the callers' loop bounds; the spans are always a whole image.
inline void PutByte(std::span<uint8_t> image, Index index, uint8_t value) { image[index] = value; }
inline uint8_t GetByte(std::span<const uint8_t> image, Index index) { return image[index]; }

// 16-bit little-endian: lower byte at the lower index.
inline void PutWord(std::span<uint8_t> image, Index index, uint16_t value) {
    image[index] = static_cast<uint8_t>(value & 0xFF);
    image[index + 1] = static_cast<uint8_t>(value >> 8);
}
inline uint16_t GetWord(std::span<const uint8_t> image, Index index) {
    return static_cast<uint16_t>(image[index] | (image[index + 1] << 8));
}

}  // namespace corvane::image
