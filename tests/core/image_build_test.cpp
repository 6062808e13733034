#include <gtest/gtest.h>

#include <string>

#include "image/MemoryImage.h"
#include "image_fixtures.h"
#include "model/CodePage.h"
#include "model/SettingsRecord.h"
#include "model/SetupForm.h"
#include "model/ToneTable.h"

namespace corvane {
namespace {

using testing::RichImage;
using testing::RichWorkspace;

// Lists every differing byte so a layout slip names its index.
::testing::AssertionResult SameBytes(const MemoryImage& actual, const MemoryImage& expected) {
    std::string diff;
    for (std::size_t i = 0; i < kImageLength; ++i) {
        if (actual[i] != expected[i]) {
            diff += " [" + std::to_string(i) + "] " + std::to_string(actual[i]) + " != " + std::to_string(expected[i]);
        }
    }
    if (diff.empty()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "bytes differ:" << diff;
}

std::string NameIdRefusal(const std::string& nameId) {
    return "Name ID \"" + nameId + "\" cannot be sent: it needs " + std::string(kNameIdCharacters);
}

MemoryImage BuildOk(const Workspace& ws) {
    const Result<MemoryImage> image = BuildImage(ws);
    EXPECT_TRUE(image.ok()) << image.message();
    return image.ok() ? *image : MemoryImage{};
}

TEST(ImageBuild, EveryFieldLandsAtItsIndexInBothEditions) {
    for (const int16_t edition : {kEditionPmrLpd, kEditionKorea}) {
        SCOPED_TRACE(edition);
        EXPECT_TRUE(SameBytes(BuildOk(RichWorkspace(edition)), RichImage(edition)));
    }
}

TEST(ImageBuild, LpdLayoutMovesAndShortensTonesAndFlags) {
    Workspace ws = RichWorkspace(kEditionPmrLpd);
    ws.settings.BandSelect = kBandLpd;
    // Last channel of each shortened area, and the first one left out.
    ws.channels.SetCell(239, ColCtcss, CtcssLabel(73));
    ws.channels.SetCell(240, ColCtcss, CtcssLabel(1));
    ws.channels.SetCell(247, ColScan, "Yes");
    ws.channels.SetCell(248, ColScan, "Yes");

    MemoryImage expected = RichImage(kEditionPmrLpd);
    expected[44] = kBandLpd;
    for (std::size_t i = 1090; i <= 1855; ++i) expected[i] = 0;
    expected[1108] = 12;
    expected[1110] = 74;
    expected[1112] = 5;
    expected[1584] = 73;  // channel 239; channel 255's tone has no place
    expected[1609] = 0x1F;
    expected[1611] = 0x03;
    expected[1855] = 0x01;  // channel 247; channel 255's flags have no place
    EXPECT_TRUE(SameBytes(BuildOk(ws), expected));
}

TEST(ImageBuild, LpdBandInKoreaKeepsTheStandardLayout) {
    Workspace ws = RichWorkspace(kEditionKorea);
    ws.settings.BandSelect = kBandLpd;
    MemoryImage expected = RichImage(kEditionKorea);
    expected[44] = kBandLpd;
    EXPECT_TRUE(SameBytes(BuildOk(ws), expected));
}

TEST(ImageBuild, FrequencyCodesAreExactAndCountOnlyReceiveChannels) {
    Workspace ws;
    ws.edition = kEditionKorea;
    ws.channels.SetCell(1, ColRxFreq, "420");
    ws.channels.SetCell(2, ColRxFreq, "450.000000");
    ws.channels.SetCell(3, ColRxFreq, " 446.00625");  // leading blank, five decimals
    ws.channels.SetCell(4, ColRxFreq, "423.1875xyz");  // lenient: trailing text ignored
    ws.channels.SetCell(5, ColTxFreq, "444.15");
    ws.channels.SetCell(6, ColRxFreq, "0");  // zero is an empty channel
    ws.channels.SetCell(7, ColRxFreq, "abc");
    const MemoryImage m = BuildOk(ws);
    EXPECT_EQ(m[66], 0x80);
    EXPECT_EQ(m[67], 0x06);
    EXPECT_EQ(m[68], 0x40);
    EXPECT_EQ(m[69], 0x19);
    EXPECT_EQ(m[70], 0xC1);
    EXPECT_EQ(m[71], 0x16);
    // 423.1875 MHz = 67710 steps -> 2174 = 0x087E.
    EXPECT_EQ(m[72], 0x7E);
    EXPECT_EQ(m[73], 0x08);
    // 444.15 MHz = 71064 steps -> 5528 = 0x1598, transmit area of channel 5.
    EXPECT_EQ(m[586], 0x98);
    EXPECT_EQ(m[587], 0x15);
    EXPECT_EQ(m[76], 0);
    EXPECT_EQ(m[77], 0);
    EXPECT_EQ(m[78], 0);
    EXPECT_EQ(m[63], 4);
}

TEST(ImageBuild, ToneCodePrefersCtcssAndReadsDcsInTheEditionsList) {
    Workspace ws;
    ws.edition = kEditionKorea;
    testing::SetTones(ws, 1, CtcssLabel(5), DcsLabel(30, kEditionKorea));  // both: CTCSS wins
    testing::SetTones(ws, 2, std::string(kCtcssOff), "[006] D043");        // Korea code 6
    testing::SetTones(ws, 3, std::string(kCtcssOff), "[006] D036");        // not a Korea label
    testing::SetTones(ws, 4, "[12] c100.0", std::string(kDcsOff));          // case matters
    MemoryImage m = BuildOk(ws);
    EXPECT_EQ(m[1090], 5);
    EXPECT_EQ(m[1092], 79);
    EXPECT_EQ(m[1094], 0);
    EXPECT_EQ(m[1096], 0);

    ws.edition = kEditionPmrLpd;
    m = BuildOk(ws);
    EXPECT_EQ(m[1092], 0);
    EXPECT_EQ(m[1094], 79);
}

TEST(ImageBuild, FlagBitsCountOnlyTheExactTexts) {
    Workspace ws;
    ws.edition = kEditionKorea;
    ws.channels.SetCell(1, ColScan, "yes");
    ws.channels.SetCell(1, ColBand, "Wide ");
    ws.channels.SetCell(1, ColPower, "High");
    ws.channels.SetCell(1, ColCompander, "On");
    EXPECT_EQ(BuildOk(ws)[1601], 0x14);
}

TEST(ImageBuild, DtmfIdDigitsAndLength) {
    Workspace ws;
    ws.edition = kEditionKorea;
    const struct {
        std::string id;
        std::array<uint8_t, 6> bytes;  // indices 35..40
    } cases[] = {
        {"12", {2, 1, 2, 0, 0, 0}},
        {"", {0, 0, 0, 0, 0, 0}},
        {"1*3#5", {5, 1, 0, 3, 0, 5}},
        {"00009", {5, 0, 0, 0, 0, 9}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        ws.settings.DtmfId = c.id;
        const MemoryImage m = BuildOk(ws);
        for (std::size_t i = 0; i < c.bytes.size(); ++i) EXPECT_EQ(m[35 + i], c.bytes[i]) << "index " << 35 + i;
    }
}

TEST(ImageBuild, NameIdCharactersAndPriChannel) {
    Workspace ws;
    ws.edition = kEditionKorea;
    ws.settings.NameId = "AB";
    ws.settings.PriChannel = "255";
    MemoryImage m = BuildOk(ws);
    EXPECT_EQ(m[17], 11);
    EXPECT_EQ(m[18], 12);
    EXPECT_EQ(m[10], 255);
    EXPECT_EQ(m[16], 0);

    ws.settings.NameId = ":z";  // lowest code taken and a lower-case letter from a file
    ws.settings.PriChannel = "";
    m = BuildOk(ws);
    EXPECT_EQ(m[17], ':' - 54);
    EXPECT_EQ(m[18], 'z' - 54);
    EXPECT_EQ(m[10], 0);

    // Texts are UTF-8 in memory; the radio takes their Windows-1252 codes.
    ws.settings.NameId = "\u00DF\u0178";  // "ßŸ": 0xDF and 0x9F
    ws.settings.DtmfId = "12\u00DF45";     // five characters, six bytes of UTF-8
    m = BuildOk(ws);
    EXPECT_EQ(m[17], 0xDF - 54);
    EXPECT_EQ(m[18], 0x9F - 54);
    EXPECT_EQ(m[35], 5);
}

TEST(ImageBuild, RefusesWhatHasNoEncoding) {
    const struct {
        const char* what;
        void (*change)(Workspace&);
        std::string message;
    } cases[] = {
        {"one-letter name", [](Workspace& ws) { ws.settings.NameId = "A"; },
         "Name ID \"A\" cannot be sent: it needs two characters, each a letter, one of : ; < = > ? @ [ \\ ] ^ _ ` { | "
         "} ~ or a Windows-1252 character above code 126 (no digits, blanks or other signs)"},
        {"empty name", [](Workspace& ws) { ws.settings.NameId = ""; }, NameIdRefusal("")},
        {"three letters", [](Workspace& ws) { ws.settings.NameId = "ABC"; }, NameIdRefusal("ABC")},
        {"digit below 6", [](Workspace& ws) { ws.settings.NameId = "A5"; }, NameIdRefusal("A5")},
        {"digit 6 to 9", [](Workspace& ws) { ws.settings.NameId = "7A"; }, NameIdRefusal("7A")},
        {"outside Windows-1252", [](Workspace& ws) { ws.settings.NameId = "\u4E2DA"; }, NameIdRefusal("\u4E2DA")},
        {"blank", [](Workspace& ws) { ws.settings.NameId = " A"; }, NameIdRefusal(" A")},
        {"above range", [](Workspace& ws) { ws.channels.SetCell(12, ColRxFreq, "451.000000"); },
         "channel 12: RX frequency 451.000000 is outside 420-450 MHz"},
        {"below range", [](Workspace& ws) { ws.channels.SetCell(7, ColTxFreq, "419.993750"); },
         "channel 7: TX frequency 419.993750 is outside 420-450 MHz"},
        {"just above 450", [](Workspace& ws) { ws.channels.SetCell(3, ColRxFreq, "450.00000001"); },
         "channel 3: RX frequency 450.00000001 is outside 420-450 MHz"},
        {"negative", [](Workspace& ws) { ws.channels.SetCell(9, ColRxFreq, "-446.00625"); },
         "channel 9: RX frequency -446.00625 is outside 420-450 MHz"},
        {"off raster", [](Workspace& ws) { ws.channels.SetCell(255, ColTxFreq, "446.001000"); },
         "channel 255: TX frequency 446.001000 is not on the 6.25 kHz raster"},
        {"seventh decimal", [](Workspace& ws) { ws.channels.SetCell(1, ColRxFreq, "446.0062501"); },
         "channel 1: RX frequency 446.0062501 is not on the 6.25 kHz raster"},
        {"long DTMF ID", [](Workspace& ws) { ws.settings.DtmfId = "123456"; },
         "DTMF ID \"123456\" cannot be sent: it has more than 5 characters"},
        {"PRI channel too high", [](Workspace& ws) { ws.settings.PriChannel = "256"; },
         "PRI Channel \"256\" cannot be sent: it must be 0 to 255"},
        {"unknown edition", [](Workspace& ws) { ws.edition = 7; },
         "Edition 7 cannot be sent: it must be 2 or 3"},
        {"unknown mode", [](Workspace& ws) { ws.channelMode = 4; },
         "ChannelMode 4 cannot be sent: it must be 0 or 1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Workspace ws = RichWorkspace(kEditionKorea);
        c.change(ws);
        const Result<MemoryImage> image = BuildImage(ws);
        ASSERT_FALSE(image.ok());
        EXPECT_EQ(image.message(), c.message);
    }
}

// Whatever the setup window lets into "Name ID:" is sent, as typed or as
// stored, and nothing else is: one rule over the whole code page.
TEST(ImageBuild, TakesTheNameIdsTheSetupWindowTakes) {
    Workspace ws = RichWorkspace(kEditionPmrLpd);
    int taken = 0;
    for (int code = 1; code <= 255; ++code) {
        const std::string one = Windows1252ToUtf8(std::string(1, static_cast<char>(code)));
        const std::string typed = one + "A";
        SCOPED_TRACE(code);
        const bool window = SetupTextAccepted(SetupTextBox::NameId, typed);
        ws.settings.NameId = typed;
        EXPECT_EQ(BuildImage(ws).ok(), window);
        ws.settings.NameId = NameIdForStorage(typed);
        EXPECT_EQ(BuildImage(ws).ok(), window);
        taken += window ? 1 : 0;
    }
    // 58..126 and 127..255: digits, blanks and the signs below ":" are refused.
    EXPECT_EQ(taken, (126 - 58 + 1) + (255 - 127 + 1));
}

TEST(ImageBuild, SplitHelpers) {
    EXPECT_EQ(SplitLong(0x12345678u), (std::array<uint8_t, 4>{0x78, 0x56, 0x34, 0x12}));
    EXPECT_EQ(SplitLong(71361u), (std::array<uint8_t, 4>{0xC1, 0x16, 0x01, 0x00}));

    const DtmfIdSplit dtmf = SplitDtmfId("12");
    EXPECT_EQ(dtmf.DtmfIdLength, 2);
    EXPECT_EQ(dtmf.DtmfIdDigits[0], "1");
    EXPECT_EQ(dtmf.DtmfIdDigits[1], "2");
    EXPECT_EQ(dtmf.DtmfIdDigits[4], "0");
    EXPECT_EQ(dtmf.DtmfIdDigits[5], "");
    // Longer than the slots: no overrun, length still honest.
    EXPECT_EQ(SplitDtmfId(std::string(40, '9')).DtmfIdLength, 40);

    const auto name = SplitNameId("ABCDEFGH");
    EXPECT_EQ(name[0], "A");
    EXPECT_EQ(name[5], "F");
}

}  // namespace
}  // namespace corvane
