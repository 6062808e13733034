#include <gtest/gtest.h>

#include "store/workbook/CellConversion.h"

namespace corvane {
namespace {

TEST(CellConversion, NumbersReadAsTextUseTheShortestRoundTripForm) {
    EXPECT_EQ(CellText(CellValue::Number(446.00625)), "446.00625");
    EXPECT_EQ(CellText(CellValue::Number(12345)), "12345");
    EXPECT_EQ(CellText(CellValue::Number(0)), "0");
    EXPECT_EQ(CellText(CellValue::Number(-0.0)), "0");
    EXPECT_EQ(CellText(CellValue::Number(-2.5)), "-2.5");
    EXPECT_EQ(CellText(CellValue::Text("446.006250")), "446.006250");
    EXPECT_EQ(CellText(CellValue()), "");
}

TEST(CellConversion, NumbersNeverTurnIntoExponentNotation) {
    // A frequency column takes the text's leading number: "1e-07" would be 1.
    EXPECT_EQ(CellText(CellValue::Number(1e-7)), "0.0000001");
    EXPECT_EQ(CellText(CellValue::Number(4.4600625e8)), "446006250");
    EXPECT_EQ(CellText(CellValue::Number(1e21)), "1000000000000000000000");
    EXPECT_EQ(CellText(CellValue::Number(-1.5e-5)), "-0.000015");
}

TEST(CellConversion, BooleansCountAsOneAndZeroAndErrorsAreRefusedByName) {
    EXPECT_EQ(*CellToByte(CellValue::Boolean(true), 304, 1), 1);
    EXPECT_EQ(*CellToInt16(CellValue::Boolean(false), 257, 1), 0);
    EXPECT_EQ(CellText(CellValue::Boolean(true)), "TRUE");

    EXPECT_TRUE(CheckUsable(CellValue::Boolean(false), 304, 1).ok());
    EXPECT_EQ(CheckUsable(CellValue::Error("#N/A"), 5, 3).message(), "cell C5 holds the error #N/A");
    EXPECT_TRUE(CheckUsable(CellValue::Uncomputed(), 1, 2).message().starts_with("cell B1 holds a formula whose value"));
}

TEST(CellConversion, CellNamesUseSpreadsheetLetters) {
    EXPECT_EQ(CellName(259, 1), "A259");
    EXPECT_EQ(CellName(1, 10), "J1");
    EXPECT_EQ(CellName(3, 26), "Z3");
    EXPECT_EQ(CellName(3, 27), "AA3");
}

TEST(CellConversion, ByteFieldsTakeEmptyNumbersAndNumericTextWithinRange) {
    EXPECT_EQ(*CellToByte(CellValue(), 258, 1), 0);
    EXPECT_EQ(*CellToByte(CellValue::Number(255), 258, 1), 255);
    EXPECT_EQ(*CellToByte(CellValue::Text(" 12 "), 258, 1), 12);
    EXPECT_EQ(*CellToByte(CellValue::Number(2.5), 258, 1), 2);   // half to even
    EXPECT_EQ(*CellToByte(CellValue::Number(3.5), 258, 1), 4);
    EXPECT_EQ(*CellToByte(CellValue::Number(-0.4), 258, 1), 0);

    const auto tooBig = CellToByte(CellValue::Number(256), 258, 1);
    ASSERT_FALSE(tooBig.ok());
    EXPECT_EQ(tooBig.message(), "cell A258 holds 256, outside 0 to 255");
    EXPECT_FALSE(CellToByte(CellValue::Number(-1), 258, 1).ok());
    EXPECT_FALSE(CellToByte(CellValue::Text(""), 258, 1).ok());
    EXPECT_FALSE(CellToByte(CellValue::Text("12abc"), 258, 1).ok());
}

TEST(CellConversion, IntFieldsCoverTheSigned16BitRange) {
    EXPECT_EQ(*CellToInt16(CellValue::Number(-32768), 257, 1), -32768);
    EXPECT_EQ(*CellToInt16(CellValue::Number(32767), 257, 1), 32767);
    EXPECT_FALSE(CellToInt16(CellValue::Number(32767.5), 257, 1).ok());
    EXPECT_FALSE(CellToInt16(CellValue::Number(std::numeric_limits<double>::infinity()), 257, 1).ok());

    const auto text = CellToInt16(CellValue::Text("abc"), 259, 1);
    ASSERT_FALSE(text.ok());
    EXPECT_EQ(text.message(), "cell A259 holds \"abc\", not a number");
}

}  // namespace
}  // namespace corvane
