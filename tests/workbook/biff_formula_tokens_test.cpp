// Token streams as LibreOffice and Excel write them in .xls FORMULA records.
#include <gtest/gtest.h>

#include <string>

#include "store/workbook/BiffRecords.h"

namespace corvane::detail {
namespace {

std::string Bytes(std::initializer_list<int> bytes) {
    std::string out;
    for (int b : bytes) out += static_cast<char>(b);
    return out;
}

TEST(BiffFormulaTokens, TextOperationsAtTheEndAreRecognised) {
    // ="67.0 "&"[01]": two text literals and the & operator.
    EXPECT_TRUE(FormulaYieldsText(Bytes({0x17, 0x05, 0x00, '6', '7', '.', '0', ' ', 0x17, 0x04, 0x00, '[', '0', '1', ']', 0x08})));
    EXPECT_TRUE(FormulaYieldsText(Bytes({0x17, 0x01, 0x01, 'X', 0x00})));  // ="X" in UTF-16
    // =LEFT(A1;2) and =CONCATENATE(A1;A2): text functions, variable arguments.
    EXPECT_TRUE(FormulaYieldsText(Bytes({0x44, 0, 0, 0, 0xC0, 0x1E, 2, 0, 0x42, 2, 115, 0})));
    EXPECT_TRUE(FormulaYieldsText(Bytes({0x24, 0, 0, 0, 0xC0, 0x24, 1, 0, 0, 0xC0, 0x42, 2, 0x50, 0x01})));
}

TEST(BiffFormulaTokens, NumericFormulasAndUnknownTokensAreNot) {
    EXPECT_FALSE(FormulaYieldsText(Bytes({0x44, 0x00, 0x00, 0x01, 0xC0})));              // =B1
    EXPECT_FALSE(FormulaYieldsText(Bytes({0x1E, 0x01, 0x00, 0x1E, 0x02, 0x00, 0x03})));  // =1+2
    EXPECT_FALSE(FormulaYieldsText(Bytes({0x1E, 0x34, 0x08})));                          // =2100: ends in byte 0x08
    EXPECT_FALSE(FormulaYieldsText(Bytes({0x1D, 0x01})));                                // =TRUE()
    EXPECT_FALSE(FormulaYieldsText(Bytes({0x41, 0x18, 0x00})));                          // ABS(): a numeric function
    EXPECT_FALSE(FormulaYieldsText(Bytes({0x18, 0x17, 0x08})));                          // ptgExtend: not walked
    EXPECT_FALSE(FormulaYieldsText(Bytes({0x17, 0x09, 0x00, 'a'})));                     // literal cut short
    EXPECT_FALSE(FormulaYieldsText({}));
}

}  // namespace
}  // namespace corvane::detail
