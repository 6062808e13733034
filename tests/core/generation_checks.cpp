// The checks that decide whether a generation run may start, and the typing checks.
#include <gtest/gtest.h>

#include "model/Generation.h"

namespace corvane {
namespace {

TEST(GenerationChecks, ChannelEntries) {
    EXPECT_TRUE(IsChannelEntryAcceptable(""));
    EXPECT_TRUE(IsChannelEntryAcceptable("1"));
    EXPECT_TRUE(IsChannelEntryAcceptable("255"));
    EXPECT_FALSE(IsChannelEntryAcceptable("0"));
    EXPECT_FALSE(IsChannelEntryAcceptable("256"));
    EXPECT_FALSE(IsChannelEntryAcceptable("300"));
    EXPECT_FALSE(IsChannelEntryAcceptable("a"));
    EXPECT_FALSE(IsChannelEntryAcceptable("-1"));  // would reach the header row
    EXPECT_FALSE(IsChannelEntryAcceptable("99999999999999999999"));
}

TEST(GenerationChecks, ToneCodeEntries) {
    EXPECT_TRUE(IsToneCodeEntryAcceptable("", true, false));
    EXPECT_TRUE(IsToneCodeEntryAcceptable("0", true, false));
    EXPECT_TRUE(IsToneCodeEntryAcceptable("73", true, false));
    EXPECT_FALSE(IsToneCodeEntryAcceptable("74", true, false));
    EXPECT_TRUE(IsToneCodeEntryAcceptable("208", false, true));
    EXPECT_FALSE(IsToneCodeEntryAcceptable("209", false, true));
    EXPECT_TRUE(IsToneCodeEntryAcceptable("999", false, false));
}

TEST(GenerationChecks, FrequencyInput) {
    EXPECT_EQ(CheckFrequencyInput(""), FrequencyEntryCheck::Empty);
    EXPECT_EQ(CheckFrequencyInput("446.00625"), FrequencyEntryCheck::Ok);
    EXPECT_EQ(CheckFrequencyInput("420"), FrequencyEntryCheck::Ok);
    EXPECT_EQ(CheckFrequencyInput("450"), FrequencyEntryCheck::Ok);
    EXPECT_EQ(CheckFrequencyInput("446.003"), FrequencyEntryCheck::OffRaster);
    // The raster test sees the exact decimal value, not whole hertz rounded.
    EXPECT_EQ(CheckFrequencyInput("446.0062504"), FrequencyEntryCheck::OffRaster);
    EXPECT_EQ(CheckFrequencyInput("446.0062496"), FrequencyEntryCheck::OffRaster);
    EXPECT_EQ(CheckFrequencyInput(" 446.006250000 "), FrequencyEntryCheck::Ok);
    EXPECT_EQ(CheckFrequencyInput("460"), FrequencyEntryCheck::OutOfRange);
    EXPECT_EQ(CheckFrequencyInput("419.99375"), FrequencyEntryCheck::OutOfRange);
    EXPECT_EQ(CheckFrequencyInput("abc"), FrequencyEntryCheck::OutOfRange);
    EXPECT_EQ(CheckFrequencyInput("1e300"), FrequencyEntryCheck::OutOfRange);
    EXPECT_EQ(FrequencyInputHertz("446.00625"), 446'006'250);
    EXPECT_EQ(FrequencyInputHertz("420.0125"), 420'012'500);
}

TEST(GenerationChecks, FrequencyRun) {
    EXPECT_EQ(CheckFrequencyRun(1, 8, "446.00625"), FrequencyRunCheck::Ok);
    EXPECT_EQ(CheckFrequencyRun(5, 5, "446.00625"), FrequencyRunCheck::BadChannelRange);
    EXPECT_EQ(CheckFrequencyRun(0, 5, "446.00625"), FrequencyRunCheck::BadChannelRange);
    EXPECT_EQ(CheckFrequencyRun(1, 256, "446.00625"), FrequencyRunCheck::BadChannelRange);
    EXPECT_EQ(CheckFrequencyRun(-3, 5, "446.00625"), FrequencyRunCheck::BadChannelRange);
    EXPECT_EQ(CheckFrequencyRun(1, 5, ""), FrequencyRunCheck::NoFrequency);
    EXPECT_EQ(CheckFrequencyRun(1, 5, "460"), FrequencyRunCheck::OutOfRange);
    EXPECT_EQ(CheckFrequencyRun(1, 5, "446.003"), FrequencyRunCheck::OffRaster);
}

TEST(GenerationChecks, GroupAndToneRanges) {
    EXPECT_TRUE(GroupsFitRange(0, 1, 1));
    EXPECT_TRUE(GroupsFitRange(10, 1, 10));
    EXPECT_FALSE(GroupsFitRange(10, 1, 8));

    EXPECT_EQ(CheckToneRange(4, 10, 5, 3, 6), ToneRangeCheck::StartsBefore);
    EXPECT_EQ(CheckToneRange(4, 10, 5, 5, 11), ToneRangeCheck::EndsAfter);
    EXPECT_EQ(CheckToneRange(4, 10, 5, 4, 10), ToneRangeCheck::Ok);
    EXPECT_EQ(CheckToneRange(4, 10, 0, 3, 6), ToneRangeCheck::Ok);  // no tone code: no range check

    EXPECT_TRUE(ToneRunAllowed(1, 1, 2));
    EXPECT_FALSE(ToneRunAllowed(0, 1, 2));
    EXPECT_FALSE(ToneRunAllowed(5, 2, 2));
    EXPECT_FALSE(ToneRunAllowed(5, 1, 256));
    EXPECT_FALSE(ToneRunAllowed(5, -1, 4));
}

}  // namespace
}  // namespace corvane
