#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "model/Edition.h"
#include "model/Frequency.h"
#include "model/NumberParse.h"

namespace corvane {
namespace {

TEST(Presets, KoreaTextsKeepTheirBlanks) {
    EXPECT_EQ(KoreaPreset(1), "423.1875");
    EXPECT_EQ(KoreaPreset(2), "423.2000");
    EXPECT_EQ(KoreaPreset(4), "423.225 ");
    EXPECT_EQ(KoreaPreset(6), "423.25  ");
    EXPECT_EQ(KoreaPreset(10), "423.3   ");
    EXPECT_EQ(KoreaPreset(65), "423.9875");
    EXPECT_EQ(KoreaPreset(66), "444.025 ");
    EXPECT_EQ(KoreaPreset(76), "444.15  ");
    for (int i = 1; i <= 76; ++i) EXPECT_EQ(KoreaPreset(i).size(), 8u) << i;
}

TEST(Presets, OutOfRangeIndices) {
    EXPECT_EQ(KoreaPreset(0), "423.1875");
    EXPECT_EQ(KoreaPreset(-7), "423.1875");
    EXPECT_EQ(KoreaPreset(77), "");
    EXPECT_EQ(PmrLpdPreset(0), "446.00625");
    EXPECT_EQ(PmrLpdPreset(-1), "446.00625");
    EXPECT_EQ(PmrLpdPreset(78), "");
    EXPECT_EQ(PmrLpdPreset(1000), "");
}

// The plans are regular: check every entry against its raster.
TEST(Presets, ValuesFollowTheBandPlans) {
    for (int i = 1; i <= 65; ++i) EXPECT_EQ(FrequencyTextToHertz(KoreaPreset(i)), 423'187'500 + (i - 1) * 12'500) << i;
    for (int i = 66; i <= 76; ++i) EXPECT_EQ(FrequencyTextToHertz(KoreaPreset(i)), 444'025'000 + (i - 66) * 12'500) << i;
    for (int i = 1; i <= 8; ++i) EXPECT_EQ(FrequencyTextToHertz(PmrLpdPreset(i)), 446'006'250 + (i - 1) * 12'500) << i;
    for (int i = 9; i <= 77; ++i) EXPECT_EQ(FrequencyTextToHertz(PmrLpdPreset(i)), 433'075'000 + (i - 9) * 25'000) << i;
    for (int i = 1; i <= 77; ++i) {
        const std::string text = PmrLpdPreset(i);
        EXPECT_EQ(text.size() - text.find('.') - 1, 5u) << text;
    }
    EXPECT_DOUBLE_EQ(LenientNumber(KoreaPreset(4)), 423.225);
    EXPECT_DOUBLE_EQ(LenientNumber(KoreaPreset(6)), 423.25);
}

TEST(RefreshPresetFrequencies, CopiesTheEditionsListOnly) {
    PresetFrequencies presets;
    RefreshPresetFrequencies(presets, kEditionKorea);
    EXPECT_EQ(presets.count, 76);
    EXPECT_EQ(presets.entries[0], "");
    EXPECT_EQ(presets.entries[1], "423.1875");
    EXPECT_EQ(presets.entries[76], "444.15  ");
    EXPECT_EQ(presets.entries[77], "");

    RefreshPresetFrequencies(presets, kEditionPmrLpd);
    EXPECT_EQ(presets.count, 77);
    EXPECT_EQ(presets.entries[1], "446.00625");
    EXPECT_EQ(presets.entries[77], "434.77500");

    const PresetFrequencies before = presets;
    RefreshPresetFrequencies(presets, 0);
    RefreshPresetFrequencies(presets, 4);
    EXPECT_EQ(presets.entries, before.entries);
    EXPECT_EQ(presets.count, before.count);

    EXPECT_EQ(PresetCountFor(kEditionKorea), 76);
    EXPECT_EQ(PresetCountFor(kEditionPmrLpd), 77);
}

TEST(CheckFrequencyEntry, RangeIsInclusiveAndCheckedFirst) {
    EXPECT_EQ(CheckFrequencyEntry("420"), FrequencyCheck::Ok);
    EXPECT_EQ(CheckFrequencyEntry("450"), FrequencyCheck::Ok);
    EXPECT_EQ(CheckFrequencyEntry("419.99375"), FrequencyCheck::RangeError);
    EXPECT_EQ(CheckFrequencyEntry("450.00625"), FrequencyCheck::RangeError);
    EXPECT_EQ(CheckFrequencyEntry("ABC"), FrequencyCheck::RangeError);
    EXPECT_EQ(CheckFrequencyEntry(" "), FrequencyCheck::RangeError);
    EXPECT_EQ(CheckFrequencyEntry("-446.00625"), FrequencyCheck::RangeError);
    EXPECT_EQ(CheckFrequencyEntry("419.001"), FrequencyCheck::RangeError);  // off raster too
    EXPECT_EQ(CheckFrequencyEntry(""), FrequencyCheck::Empty);
}

TEST(CheckFrequencyEntry, RasterIsExact) {
    EXPECT_EQ(CheckFrequencyEntry("446.00625"), FrequencyCheck::Ok);
    EXPECT_EQ(CheckFrequencyEntry("433.075"), FrequencyCheck::Ok);
    EXPECT_EQ(CheckFrequencyEntry("423.1875"), FrequencyCheck::Ok);
    EXPECT_EQ(CheckFrequencyEntry("444.15"), FrequencyCheck::Ok);
    EXPECT_EQ(CheckFrequencyEntry("446.001"), FrequencyCheck::DivideError);
    EXPECT_EQ(CheckFrequencyEntry("446.00626"), FrequencyCheck::DivideError);
    EXPECT_EQ(CheckFrequencyEntry("446.0062501"), FrequencyCheck::DivideError);
    EXPECT_EQ(CheckFrequencyEntry("446.00625xyz"), FrequencyCheck::Ok);  // leading number only
}

TEST(CheckFrequencyEntry, EveryRasterPointPassesInBothTextForms) {
    for (int64_t hz = kLowestFrequencyHz; hz <= kHighestFrequencyHz; hz += kChannelRasterHz) {
        std::string text = HertzToFrequencyText(hz);
        ASSERT_EQ(CheckFrequencyEntry(text), FrequencyCheck::Ok) << text;
        while (text.back() == '0') text.pop_back();
        ASSERT_EQ(CheckFrequencyEntry(text), FrequencyCheck::Ok) << text;
        ASSERT_EQ(FrequencyTextToHertz(text), hz) << text;
    }
}

TEST(CheckFrequencyEntry, Messages) {
    EXPECT_EQ(FrequencyCheckMessage(FrequencyCheck::RangeError), "Frequency: Range Error !!!");
    EXPECT_EQ(FrequencyCheckMessage(FrequencyCheck::DivideError), "Frequency: Divide Error !!!");
    EXPECT_EQ(FrequencyCheckMessage(FrequencyCheck::Ok), "");
    EXPECT_EQ(FrequencyCheckMessage(FrequencyCheck::Empty), "");
}

TEST(HertzHelpers, TextToHertzIsExactAndRounded) {
    EXPECT_EQ(FrequencyTextToHertz("446.00625"), 446'006'250);
    EXPECT_EQ(FrequencyTextToHertz("446.006250"), 446'006'250);
    EXPECT_EQ(FrequencyTextToHertz(" 423.225 "), 423'225'000);
    EXPECT_EQ(FrequencyTextToHertz("446.0062504"), 446'006'250);
    EXPECT_EQ(FrequencyTextToHertz("446.0062505"), 446'006'251);
    EXPECT_EQ(FrequencyTextToHertz("-1.5"), -1'500'000);
    EXPECT_EQ(FrequencyTextToHertz(".5"), 500'000);
    EXPECT_EQ(FrequencyTextToHertz(""), 0);
    EXPECT_EQ(FrequencyTextToHertz("abc"), 0);
    EXPECT_GT(FrequencyTextToHertz(std::string(300, '9')), 0);  // clamped, not wrapped
    EXPECT_LT(FrequencyTextToHertz("-" + std::string(300, '9')), 0);
}

TEST(HertzHelpers, HertzToText) {
    EXPECT_EQ(HertzToFrequencyText(446'006'250), "446.006250");
    EXPECT_EQ(HertzToFrequencyText(420'000'000), "420.000000");
    EXPECT_EQ(HertzToFrequencyText(0), "");
    EXPECT_EQ(HertzToFrequencyText(500'000), ".500000");
    EXPECT_EQ(HertzToFrequencyText(-1'500'000), "-1.500000");
    EXPECT_EQ(FormatHertz(0), ".000000");
    EXPECT_FALSE(HertzToFrequencyText(INT64_MIN).empty());
}

TEST(WordFromBytes, HighTimes256PlusLow) {
    EXPECT_EQ(WordFromBytes(1, 2), 258);
    EXPECT_EQ(WordFromBytes(255, 255), 65'535);
    EXPECT_EQ(WordFromBytes(0, 0), 0);
    EXPECT_EQ(WordFromBytes(0x80, 0), 32'768);
}

}  // namespace
}  // namespace corvane
