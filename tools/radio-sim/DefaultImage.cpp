#include "DefaultImage.h"

#include <cstdint>

#include "model/Edition.h"
#include "model/SettingsRecord.h"

namespace corvane::sim {
namespace {

constexpr int kChannelCount = 255;
constexpr int kPmrChannels = 8;
constexpr int kLpdChannels = 69;
constexpr int64_t kPmrFirstHz = 446'006'250;
constexpr int64_t kPmrStepHz = 12'500;
constexpr int64_t kLpdFirstHz = 433'075'000;
constexpr int64_t kLpdStepHz = 25'000;
constexpr int64_t kRasterHz = 6'250;

constexpr std::size_t kRxFreqBase = 66;
constexpr std::size_t kTxFreqBase = 578;
constexpr std::size_t kFlagBase = 1601;
constexpr std::size_t kChannelCountIndex = 63;

constexpr uint8_t kFlagScan = 0x01;
constexpr uint8_t kFlagWide = 0x02;
constexpr uint8_t kFlagHigh = 0x04;
constexpr int kNameIdOffset = 54;

int64_t PresetHz(int channel) {
    if (channel <= kPmrChannels) return kPmrFirstHz + (channel - 1) * kPmrStepHz;
    if (channel <= kPmrChannels + kLpdChannels) return kLpdFirstHz + (channel - kPmrChannels - 1) * kLpdStepHz;
    return 0;
}

void PutWord(MemoryImage& image, std::size_t index, uint32_t value) {
    image[index] = static_cast<uint8_t>(value & 0xFF);
    image[index + 1] = static_cast<uint8_t>((value >> 8) & 0xFF);
}

void PutChannels(MemoryImage& image) {
    int used = 0;
    for (int c = 1; c <= kChannelCount; ++c) {
        const auto code = static_cast<uint32_t>(PresetHz(c) / kRasterHz);
        const std::size_t offset = 2 * static_cast<std::size_t>(c - 1);
        PutWord(image, kRxFreqBase + offset, code);
        PutWord(image, kTxFreqBase + offset, code);
        if (code != 0) ++used;
        const uint8_t width = c <= kPmrChannels ? 0 : kFlagWide;
        image[kFlagBase + static_cast<std::size_t>(c - 1)] = kFlagScan | kFlagHigh | width;
    }
    image[kChannelCountIndex] = static_cast<uint8_t>(used);
}

void PutSettings(MemoryImage& image, const SettingsRecord& s) {
    image[0] = kModeDefault;
    image[1] = s.FunctionFlags1;
    image[2] = s.FunctionFlags2;
    image[3] = s.VoxLevel;
    image[4] = s.ScanDelayTime;
    image[5] = s.ScanStayTime;
    image[6] = s.TotalTime;
    image[7] = s.ResumeTime;
    image[8] = s.HiddenSetting8;
    image[9] = s.PowerSaveOffTime;
    image[10] = 0;  // PriChannel "0"
    image[11] = s.PowerControl;
    image[12] = s.BacklightOnTime;
    image[13] = s.PowerSaveOnTime;
    image[14] = static_cast<uint8_t>(kEditionPmrLpd);
    image[17] = static_cast<uint8_t>(s.NameId.at(0) - kNameIdOffset);
    image[18] = static_cast<uint8_t>(s.NameId.at(1) - kNameIdOffset);
    image[19] = s.VoxAttackTime;
    image[20] = s.VoxReleaseTime;
    image[23] = s.HiddenSetting23;
    image[24] = s.KeyP1Side;
    image[25] = s.KeyP2Left;
    image[26] = s.KeyP3Center;
    image[27] = s.KeyP4Right;
    image[28] = s.CallTone;
    image[32] = s.DtmfGenerationTime;
    image[33] = s.DtmfPauseTime;
    image[34] = s.DtmfDelayTime;
    image[35] = static_cast<uint8_t>(s.DtmfId.size());
    for (std::size_t i = 0; i < s.DtmfId.size() && i < 5; ++i) {
        const char ch = s.DtmfId[i];
        image[36 + i] = (ch >= '0' && ch <= '9') ? static_cast<uint8_t>(ch - '0') : 0;
    }
    image[41] = s.Bclo;
    image[42] = s.BacklightType;
    image[43] = s.SqTail;
    image[44] = static_cast<uint8_t>(s.BandSelect);
    image[45] = s.Squelch;
    // Groups 48..61 and the slot tables stay 0: no groups.
}

}  // namespace

MemoryImage MakeDefaultImage() {
    MemoryImage image{};
    PutSettings(image, SettingsRecord{});
    PutChannels(image);
    return image;
}

}  // namespace corvane::sim
