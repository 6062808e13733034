#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image/MemoryImage.h"
#include "image_fixtures.h"
#include "model/ToneTable.h"

namespace corvane {
namespace {

using testing::RichImage;
using testing::RichWorkspace;

// A blank image of a known edition and mode.
MemoryImage BlankImage(uint8_t edition = kEditionKorea) {
    MemoryImage m{};
    m[14] = edition;
    return m;
}

TEST(ImageDecode, HandMadeImage) {
    MemoryImage m = BlankImage(kEditionPmrLpd);
    m[0] = kModeCustom;
    m[1] = 0x81;
    m[8] = 9;
    m[10] = 200;
    m[16] = 99;  // read by the radio's tools, never part of the name
    m[17] = 11;
    m[18] = 12;
    m[35] = 2;
    m[36] = 1;
    m[37] = 2;
    m[44] = kBandLpd;
    m[45] = 6;
    m[48] = 3;  // A
    m[50] = 2;  // C
    m[60] = 5;
    m[63] = 77;  // channel count is not read
    m[66] = 0x80;
    m[67] = 0x06;
    m[70] = 0xC1;
    m[71] = 0x16;
    m[580] = 0x40;
    m[581] = 0x19;
    m[1090] = 74;
    m[1092] = 5;
    m[1094] = 0x19;  // 281: the last DCS code
    m[1095] = 0x01;
    m[1601] = 0x15;
    m[1602] = 0xE2;  // bits 5..7 ignored

    Workspace ws;
    ASSERT_TRUE(DecodeImage(m, ws).ok());
    EXPECT_EQ(ws.channelMode, kModeCustom);
    EXPECT_EQ(ws.edition, kEditionPmrLpd);
    EXPECT_EQ(ws.settings.FunctionFlags1, 0x81);
    EXPECT_EQ(ws.settings.HiddenSetting8, 9);
    EXPECT_EQ(ws.settings.PriChannel, "200");
    EXPECT_EQ(ws.settings.NameId, "AB");
    EXPECT_EQ(ws.settings.DtmfId, "12000");
    EXPECT_EQ(ws.settings.BandSelect, kBandLpd);
    EXPECT_EQ(ws.settings.Squelch, 6);
    EXPECT_EQ(ws.settings.TotalTime, 0);

    const ChannelTable& t = ws.channels;
    EXPECT_EQ(t.GetCell(1, ColRxFreq), "420.000000");
    EXPECT_EQ(t.GetCell(1, ColTxFreq), "");
    EXPECT_EQ(t.GetCell(2, ColRxFreq), "");
    EXPECT_EQ(t.GetCell(2, ColTxFreq), "450.000000");
    EXPECT_EQ(t.GetCell(3, ColRxFreq), "446.006250");

    EXPECT_EQ(t.GetCell(1, ColCtcss), "[00] OFF");
    EXPECT_EQ(t.GetCell(1, ColDcs), "[001] D023");
    EXPECT_EQ(t.GetCell(2, ColCtcss), CtcssLabel(5));
    EXPECT_EQ(t.GetCell(2, ColDcs), "[000] OFF");
    EXPECT_EQ(t.GetCell(3, ColDcs), "[208] ED754");
    EXPECT_EQ(t.GetCell(4, ColCtcss), "[00] OFF");
    EXPECT_EQ(t.GetCell(4, ColDcs), "[000] OFF");

    const std::vector<std::string> flags15 = {"Yes", "Narrow", "High", "Off", "On"};
    const std::vector<std::string> flagsE2 = {"No", "Wide", "Low", "Off", "Off"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(t.GetCell(1, ColScan + i), flags15[i]);
        EXPECT_EQ(t.GetCell(2, ColScan + i), flagsE2[i]);
    }

    // Groups laid out again from the decoded sizes.
    EXPECT_EQ(t.GetCell(1, ColGroup), "A-1");
    EXPECT_EQ(t.GetCell(3, ColGroup), "A-3");
    EXPECT_EQ(t.GetCell(5, ColGroup), "C-2");
    EXPECT_EQ(t.GetCell(6, ColGroup), "");
    EXPECT_EQ(ws.groups.GroupSlotCount, 2);
    EXPECT_EQ(ws.groups.GroupSlotStart[1], 4);
    EXPECT_EQ(ws.groups.GroupSlotEnd[1], 6);
    EXPECT_EQ(ws.groups.GroupSlotLetter[1], 2);
}

TEST(ImageDecode, DcsLabelsFollowTheDecodedEdition) {
    MemoryImage m = BlankImage(kEditionKorea);
    m[1090] = 73 + 84;
    m[1092] = 73 + 6;
    Workspace ws;
    ws.edition = kEditionPmrLpd;  // the image decides, not the workspace
    ASSERT_TRUE(DecodeImage(m, ws).ok());
    EXPECT_EQ(ws.channels.GetCell(1, ColDcs), "[084] D036");
    EXPECT_EQ(ws.channels.GetCell(2, ColDcs), "[006] D043");
}

TEST(ImageDecode, CodeBeyondTheDcsListReadsAsOff) {
    MemoryImage m = BlankImage();
    m[1090] = 0x1A;  // 282
    m[1091] = 0x01;
    m[1092] = 0xFF;
    m[1093] = 0xFF;
    Workspace ws;
    ASSERT_TRUE(DecodeImage(m, ws).ok());
    EXPECT_EQ(ws.channels.GetCell(1, ColCtcss), "[00] OFF");
    EXPECT_EQ(ws.channels.GetCell(1, ColDcs), "[000] OFF");
    EXPECT_EQ(ws.channels.GetCell(2, ColDcs), "[000] OFF");
}

TEST(ImageDecode, ExtremeBytesStaySafeText) {
    MemoryImage m = BlankImage();
    m[17] = 201;  // code 255, the last one a byte holds
    m[18] = 255;  // would be past 255
    for (int i = 36; i <= 40; ++i) m[i] = 255;
    m[10] = 255;
    m[66] = 0xFF;
    m[67] = 0xFF;
    Workspace ws;
    ASSERT_TRUE(DecodeImage(m, ws).ok());
    EXPECT_EQ(ws.settings.NameId, "\u00FF?");  // Windows-1252 code 255, held as UTF-8
    EXPECT_EQ(ws.settings.DtmfId, "255255255255255");
    EXPECT_EQ(ws.settings.PriChannel, "255");
    // (65535 + 65536) steps of 6.25 kHz.
    EXPECT_EQ(ws.channels.GetCell(1, ColRxFreq), "819.193750");
}

TEST(ImageDecode, RoundTripsThroughTheImageInBothEditions) {
    for (const int16_t edition : {kEditionPmrLpd, kEditionKorea}) {
        SCOPED_TRACE(edition);
        const Workspace original = RichWorkspace(edition);
        const Result<MemoryImage> built = BuildImage(original);
        ASSERT_TRUE(built.ok()) << built.message();

        Workspace decoded;
        ASSERT_TRUE(DecodeImage(*built, decoded).ok());
        EXPECT_EQ(decoded.settings, original.settings);
        EXPECT_EQ(decoded.groups, original.groups);
        EXPECT_EQ(decoded.edition, original.edition);
        EXPECT_EQ(decoded.channelMode, original.channelMode);
        for (int row = 1; row <= kChannelCount; ++row) {
            for (int col = ColGroup; col < kColumnCount; ++col) {
                ASSERT_EQ(decoded.channels.GetCell(row, col), original.channels.GetCell(row, col))
                    << "row " << row << " col " << col;
            }
        }
        const Result<MemoryImage> rebuilt = BuildImage(decoded);
        ASSERT_TRUE(rebuilt.ok());
        EXPECT_EQ(*rebuilt, *built);
    }
}

TEST(ImageDecode, LpdImageReadsBackShifted) {
    Workspace ws = RichWorkspace(kEditionPmrLpd);
    ws.settings.BandSelect = kBandLpd;
    const Result<MemoryImage> built = BuildImage(ws);
    ASSERT_TRUE(built.ok());
    Workspace decoded;
    ASSERT_TRUE(DecodeImage(*built, decoded).ok());
    // Channel 1's tone sits nine channels on, its flags eight.
    EXPECT_EQ(decoded.channels.GetCell(10, ColCtcss), "[12] C100.0");
    EXPECT_EQ(decoded.channels.GetCell(1, ColCtcss), "[00] OFF");
    EXPECT_EQ(decoded.channels.GetCell(9, ColScan), "Yes");
    EXPECT_EQ(decoded.channels.GetCell(9, ColCompander), "On");
}

TEST(ImageDecode, RefusedImageChangesNothing) {
    const struct {
        const char* what;
        std::size_t index;
        uint8_t value;
        std::string message;
    } cases[] = {
        {"edition", 14, 7, "invalid image: edition byte 7 (expected 2 or 3)"},
        {"edition zero", 14, 0, "invalid image: edition byte 0 (expected 2 or 3)"},
        {"mode", 0, 2, "invalid image: mode byte 2 (expected 0 or 1)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        MemoryImage m = RichImage(kEditionKorea);
        m[c.index] = c.value;
        Workspace ws = RichWorkspace(kEditionPmrLpd);
        ws.channelMode = kModeDefault;
        const Workspace before = ws;
        const Status status = DecodeImage(m, ws);
        ASSERT_FALSE(status.ok());
        EXPECT_EQ(status.message(), c.message);
        EXPECT_EQ(ws.settings, before.settings);
        EXPECT_EQ(ws.groups, before.groups);
        EXPECT_TRUE(ws.channels == before.channels);
        EXPECT_EQ(ws.edition, before.edition);
        EXPECT_EQ(ws.channelMode, before.channelMode);
    }
}

TEST(ImageDecode, ShortImageIsRefusedAndLongerOneReadsItsFirstBytes) {
    const MemoryImage full = RichImage(kEditionKorea);
    Workspace ws;
    const Status shortStatus = DecodeImage(std::span<const uint8_t>(full.data(), kImageLength - 1), ws);
    ASSERT_FALSE(shortStatus.ok());
    EXPECT_EQ(shortStatus.message(), "invalid image: 1935 bytes (expected 1936)");
    EXPECT_EQ(ws.edition, 0);

    std::vector<uint8_t> longer(full.begin(), full.end());
    longer.resize(2049, 0xEE);
    ASSERT_TRUE(DecodeImage(longer, ws).ok());
    EXPECT_EQ(ws.settings.NameId, "KZ");
}

TEST(ImageDecode, GridListenerSeesTheDecodedCells) {
    Workspace ws;
    int changes = 0;
    int rxChanges = 0;
    ws.channels.SetChangeListener([&](int, int col) {
        ++changes;
        if (col == ColRxFreq) ++rxChanges;
    });
    ASSERT_TRUE(DecodeImage(RichImage(kEditionKorea), ws).ok());
    EXPECT_EQ(rxChanges, kChannelCount);
    EXPECT_GE(changes, kChannelCount * (kColumnCount - 1));
    EXPECT_EQ(ws.channels.GetCell(1, ColRxFreq), "446.006250");
}

}  // namespace
}  // namespace corvane
