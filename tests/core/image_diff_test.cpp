// The comparison of two images or working sets, and the image digest.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>

#include "image/ImageDiff.h"
#include "image/ImageDigest.h"
#include "image/ImageLayout.h"
#include "image/MemoryImage.h"
#include "image_fixtures.h"
#include "model/ChannelDefaults.h"
#include "model/SettingsRecord.h"
#include "random_edits.h"

namespace corvane {
namespace {

using testing::RichWorkspace;
using testing::EditList;
using Key = EditList::Key;

MemoryImage Built(const Workspace& ws) {
    const Result<MemoryImage> image = BuildImage(ws);
    EXPECT_TRUE(image.ok()) << image.message();
    return image.ok() ? *image : MemoryImage{};
}

std::span<const uint8_t> TextBytes(const std::string& text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

TEST(ImageDigest, Sha256MatchesTheStandardsTestVectors) {
    EXPECT_EQ(Sha256Hex(TextBytes("")), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(Sha256Hex(TextBytes("abc")), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(Sha256Hex(TextBytes("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq")),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    EXPECT_EQ(
        Sha256Hex(TextBytes("abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqr"
                            "lmnopqrsmnopqrstnopqrstu")),
        "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1");
    EXPECT_EQ(Sha256Hex(TextBytes(std::string(1'000'000, 'a'))),
              "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
    // Tails that just fit, just miss and exactly fill the last block's room for the length.
    EXPECT_EQ(Sha256Hex(TextBytes(std::string(55, 'x'))),
              "d5e285683cd4efc02d021a5c62014694958901005d6f71e89e0989fac77e4072");
    EXPECT_EQ(Sha256Hex(TextBytes(std::string(56, 'x'))),
              "04c26261370ee7541549d16dee320c723e3fd14671e66a099afe0a377c16888e");
    EXPECT_EQ(Sha256Hex(TextBytes(std::string(64, 'x'))),
              "7ce100971f64e7001e8fe5a51973ecdfe1ced42befe7ee8d5fd6219506b5393c");

    const MemoryImage image = Built(RichWorkspace(kEditionKorea));
    EXPECT_EQ(ImageFingerprint(image), Sha256Hex(image).substr(0, 8));
    EXPECT_EQ(ImageFingerprint(image).size(), 8u);
}

TEST(ImageDiff, ASetComparedWithItselfAfterEditsShowsExactlyThoseEdits) {
    for (int16_t edition : {kEditionPmrLpd, kEditionKorea}) {
        for (unsigned seed = 1; seed <= 40; ++seed) {
            SCOPED_TRACE("edition " + std::to_string(edition) + ", seed " + std::to_string(seed));
            const Workspace before = RichWorkspace(edition);
            Workspace after = before;
            EditList edits(after, seed);
            for (int n = 0; n < static_cast<int>(seed % 17); ++n) edits.ApplyOne();

            const Result<std::vector<Difference>> found = CompareWorkingSets(before, after);
            ASSERT_TRUE(found.ok()) << found.message();
            std::map<Key, std::pair<std::string, std::string>> got;
            int lastChannel = 0;
            for (const Difference& d : *found) {
                EXPECT_TRUE(got.emplace(Key{d.channel, d.field}, std::pair{d.left, d.right}).second) << DifferenceName(d);
                // Radio-wide settings first, then the channels in order.
                EXPECT_GE(d.channel, lastChannel) << DifferenceName(d);
                lastChannel = d.channel;
            }
            const auto expected = edits.Changed();
            ASSERT_EQ(got.size(), expected.size());
            for (const auto& [key, values] : expected) {
                const auto it = got.find(key);
                ASSERT_NE(it, got.end()) << key.first << " " << key.second;
                // Settings show option texts; channels the very cell texts.
                if (key.first != 0 || key.second == "NameId" || key.second == "DtmfId" || key.second == "PriChannel" ||
                    key.second.starts_with("group")) {
                    EXPECT_EQ(it->second, values) << key.first << " " << key.second;
                }
            }
            // Swapping the sides swaps the values and nothing else.
            const auto back = CompareWorkingSets(after, before);
            ASSERT_TRUE(back.ok());
            ASSERT_EQ(back->size(), found->size());
            for (std::size_t i = 0; i < found->size(); ++i) {
                EXPECT_EQ((*back)[i].left, (*found)[i].right);
                EXPECT_EQ((*back)[i].right, (*found)[i].left);
            }
        }
    }
}

TEST(ImageDiff, ASetAndItsOwnImageAreEqualAndUnbuildableSetsAreRefused) {
    Workspace ws = RichWorkspace(kEditionPmrLpd);
    EXPECT_TRUE(CompareImages(Built(ws), Built(ws)).empty());
    // What the radio would not hold does not count: a DCS label under a
    // CTCSS tone, the group window's inputs, the spare settings.
    Workspace other = ws;
    other.channels.SetCell(1, ColDcs, DcsLabel(7, ws.edition));
    other.groups.FreqSetStartFrequency = "446.0";
    other.settings.SpareSetting3 = 9;
    const auto same = CompareWorkingSets(ws, other);
    ASSERT_TRUE(same.ok());
    EXPECT_TRUE(same->empty());

    other.channels.SetCell(9, ColRxFreq, "446.001000");
    const auto refused = CompareWorkingSets(ws, other);
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.message(), "channel 9: RX frequency 446.001000 is not on the 6.25 kHz raster");
}

TEST(ImageDiff, ValuesReadAsTheProgramShowsThem) {
    Workspace left = RichWorkspace(kEditionKorea);
    Workspace right = left;
    right.settings.Squelch = 3;
    right.settings.FunctionFlags2 = 0x05;
    right.channels.SetFrequencyCell(430.0, 2, ColRxFreq);
    right.channels.SetCell(3, ColTxFreq, "");
    const auto found = CompareWorkingSets(left, right);
    ASSERT_TRUE(found.ok());
    std::vector<std::string> lines;
    for (const Difference& d : *found) lines.push_back(DifferenceLine(d));
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "FunctionFlags2  90 (Roger, Call Tone, Bluetooth, BCLO) -> 5 (Squelch, Beep)",
                         "Squelch  4 -> 3",
                         "channel 2  RX  420.000000 -> 430.000000",
                         "channel 3  TX  433.075000 -> (empty)",
                     }));
    EXPECT_EQ(DifferenceName(found->at(2)), "channel 2 RX");
    EXPECT_EQ(DifferenceName(found->at(1)), "Squelch");
}

TEST(ImageDiff, RawCodesShowWhereTheTextsAgree) {
    const MemoryImage sent = Built(RichWorkspace(kEditionKorea));
    MemoryImage back = sent;
    image::PutWord(back, image::WordAt(image::kStandardAreas.tones, 7), 400);  // beyond both tone lists
    back[image::kNameIdChar1] = 250;                                           // no character: "?"
    back[image::kImageChannelCount] = 9;                                       // not what the channels say
    back[image::kGroupSlotEnd + 1] = 7;                                        // not what the sizes say
    const std::vector<Difference> found = CompareImages(sent, back);
    ASSERT_EQ(found.size(), 4u);
    EXPECT_EQ(found[0], (Difference{0, "NameId", "KZ", "?Z"}));
    EXPECT_EQ(found[1], (Difference{0, "channel count", "3", "9"}));
    EXPECT_EQ(found[2], (Difference{7, "tone", "code 0", "code 400"}));
    EXPECT_EQ(found[3].field, "group slots");
    EXPECT_EQ(found[3].left, "A 1-4, C 4-6, J 6-10");
    EXPECT_EQ(found[3].right, "A 1-4, C 4-7, J 6-10");

    MemoryImage shortDigits = sent;
    shortDigits[image::kDtmfIdLength] = 2;  // the other three digits stay in the image
    EXPECT_EQ(CompareImages(sent, shortDigits), (std::vector<Difference>{{0, "DtmfId", "90817", "length 2, digits 9 0 8 1 7"}}));
    EXPECT_EQ(CompareImages(std::span<const uint8_t>(sent).first(100), sent),
              (std::vector<Difference>{{0, "image length", "100", "1936"}}));
}

TEST(ImageDiff, EachImageIsReadInItsOwnLayout) {
    Workspace standard = RichWorkspace(kEditionPmrLpd);
    Workspace lpd = standard;
    lpd.settings.BandSelect = kBandLpd;
    const auto found = CompareWorkingSets(standard, lpd);
    ASSERT_TRUE(found.ok());
    // The same channels, tones and flags: only the band and what the LPD
    // layout has no room for (tones past 239, flags past 247).
    ASSERT_FALSE(found->empty());
    EXPECT_EQ(found->front(), (Difference{0, "BandSelect", "PMR + LPD", "LPD"}));
    for (std::size_t i = 1; i < found->size(); ++i) {
        const Difference& d = (*found)[i];
        SCOPED_TRACE(DifferenceLine(d));
        EXPECT_TRUE(d.channel >= 240 && (d.field == "CTCSS" || d.field == "DCS" || d.channel >= 248));
        EXPECT_TRUE(d.right.empty());
    }
}

}  // namespace
}  // namespace corvane
