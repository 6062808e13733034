#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "model/NumberParse.h"

namespace corvane {
namespace {

TEST(LenientNumber, TakesTheLeadingNumberAfterBlanks) {
    EXPECT_DOUBLE_EQ(LenientNumber("  12.5abc"), 12.5);
    EXPECT_DOUBLE_EQ(LenientNumber("\t7"), 7.0);
    EXPECT_DOUBLE_EQ(LenientNumber(".5"), 0.5);
    EXPECT_DOUBLE_EQ(LenientNumber("5."), 5.0);
    EXPECT_DOUBLE_EQ(LenientNumber("-3"), -3.0);
    EXPECT_DOUBLE_EQ(LenientNumber("+4.25"), 4.25);
    EXPECT_DOUBLE_EQ(LenientNumber("423.225 "), 423.225);
    EXPECT_DOUBLE_EQ(LenientNumber("1.2.3"), 1.2);
    EXPECT_DOUBLE_EQ(LenientNumber("12 34"), 12.0);
}

TEST(LenientNumber, TextWithoutANumberReadsAsZero) {
    EXPECT_EQ(LenientNumber(""), 0.0);
    EXPECT_EQ(LenientNumber("abc"), 0.0);
    EXPECT_EQ(LenientNumber("   "), 0.0);
    EXPECT_EQ(LenientNumber("-"), 0.0);
    EXPECT_EQ(LenientNumber("."), 0.0);
    EXPECT_EQ(LenientNumber("-.x"), 0.0);
    EXPECT_EQ(LenientNumber("x12"), 0.0);
}

TEST(LenientNumber, CommaIsNotADecimalSeparator) {
    EXPECT_DOUBLE_EQ(LenientNumber("446,00625"), 446.0);
}

TEST(LenientNumber, HugeAndTinyTextsStayFinite) {
    const std::string huge(400, '9');
    EXPECT_EQ(LenientNumber(huge), std::numeric_limits<double>::max());
    EXPECT_EQ(LenientNumber("-" + huge), -std::numeric_limits<double>::max());
    const std::string tiny = "0." + std::string(400, '0') + "1";
    EXPECT_EQ(LenientNumber(tiny), 0.0);
    EXPECT_DOUBLE_EQ(LenientNumber("99999999999999999999"), 1e20);
}

TEST(LenientInteger, TruncatesTowardZeroAndClamps) {
    EXPECT_EQ(LenientInteger("12.9"), 12);
    EXPECT_EQ(LenientInteger("-12.9"), -12);
    EXPECT_EQ(LenientInteger(" 255 "), 255);
    EXPECT_EQ(LenientInteger("abc"), 0);
    EXPECT_EQ(LenientInteger(std::string(400, '9')), std::numeric_limits<int>::max());
    EXPECT_EQ(LenientInteger("-" + std::string(30, '9')), std::numeric_limits<int>::min());
    EXPECT_EQ(LenientInteger("3000000000"), std::numeric_limits<int>::max());
}

TEST(ClampedConversions, SaturateAtTheFieldLimits) {
    EXPECT_EQ(ToIntClamped(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(ToIntClamped(std::numeric_limits<double>::infinity()), std::numeric_limits<int>::max());
    EXPECT_EQ(ToIntClamped(-std::numeric_limits<double>::infinity()), std::numeric_limits<int>::min());
    EXPECT_EQ(ToIntClamped(-0.99), 0);

    EXPECT_EQ(ToInt16(40000), std::numeric_limits<int16_t>::max());
    EXPECT_EQ(ToInt16(-40000), std::numeric_limits<int16_t>::min());
    EXPECT_EQ(ToInt16(-5), -5);

    EXPECT_EQ(ToByte(-1), 0);
    EXPECT_EQ(ToByte(256), 255);
    EXPECT_EQ(ToByte(200), 200);
    EXPECT_EQ(ToByte(std::numeric_limits<long long>::min()), 0);
}

}  // namespace
}  // namespace corvane
