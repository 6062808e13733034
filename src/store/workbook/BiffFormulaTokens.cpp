// Just enough of the BIFF8 formula token stream to know whether a formula
// ends in an operation that always yields text.
#include <array>
#include <cstdint>

#include "store/workbook/BiffRecords.h"

namespace corvane::detail {
namespace {

constexpr std::size_t kUnknown = 0;
constexpr std::uint8_t kPtgConcat = 0x08;
constexpr std::uint8_t kPtgStr = 0x17;
constexpr std::uint8_t kPtgAttr = 0x19;
constexpr std::uint8_t kAttrChoose = 0x04;
constexpr std::uint8_t kClassedBase = 0x20;
constexpr std::uint8_t kPtgFunc = 0x01;     // within the classed tokens
constexpr std::uint8_t kPtgFuncVar = 0x02;
constexpr std::uint16_t kFunctionIndexMask = 0x7FFF;

// Worksheet functions that always return text, by their BIFF index:
// DOLLAR, FIXED, REPT, MID, TEXT, CHAR, LOWER, UPPER, PROPER, LEFT, RIGHT,
// TRIM, REPLACE, SUBSTITUTE, T, CLEAN, CONCATENATE.
constexpr std::array<std::uint16_t, 17> kTextFunctions = {13, 14, 30, 31, 48, 111, 112, 113, 114,
                                                          115, 116, 118, 119, 120, 130, 162, 336};

std::uint8_t Byte(std::string_view tokens, std::size_t at) {
    return at < tokens.size() ? static_cast<std::uint8_t>(tokens[at]) : 0;
}

std::uint16_t Word(std::string_view tokens, std::size_t at) {
    return static_cast<std::uint16_t>(Byte(tokens, at) | Byte(tokens, at + 1) << 8);
}

// Bytes taken by the token at `at`, kUnknown for one not known here.
std::size_t TokenSize(std::string_view tokens, std::size_t at) {
    const std::uint8_t ptg = Byte(tokens, at);
    if (ptg < kClassedBase) {
        if (ptg == 0x01 || ptg == 0x02) return 5;        // ptgExp, ptgTbl
        if (ptg >= 0x03 && ptg <= 0x16) return 1;        // operators, ptgParen, ptgMissArg
        if (ptg == kPtgStr) return 3 + Byte(tokens, at + 1) * ((Byte(tokens, at + 2) & 1) != 0 ? 2u : 1u);
        if (ptg == kPtgAttr) {
            const std::size_t choices = (Byte(tokens, at + 1) & kAttrChoose) != 0 ? (Word(tokens, at + 2) + 1u) * 2u : 0u;
            return 4 + choices;
        }
        if (ptg == 0x1C || ptg == 0x1D) return 2;        // ptgErr, ptgBool
        if (ptg == 0x1E) return 3;                       // ptgInt
        if (ptg == 0x1F) return 9;                       // ptgNum
        return kUnknown;
    }
    switch (ptg & 0x1F) {
        case 0x00: return 8;                             // ptgArray
        case kPtgFunc: return 3;
        case kPtgFuncVar: return 4;
        case 0x03: case 0x04: case 0x0A: case 0x0C: return 5;   // names and single references
        case 0x05: case 0x0B: case 0x0D: return 9;             // areas
        case 0x06: case 0x07: case 0x08: return 7;             // ptgMem*: the sub-expression follows
        case 0x09: return 3;                                    // ptgMemFunc
        case 0x19: case 0x1A: case 0x1C: return 7;             // ptgNameX, 3-D references
        case 0x1B: case 0x1D: return 11;                        // 3-D areas
        default: return kUnknown;
    }
}

bool IsTextFunction(std::uint16_t index) {
    for (const std::uint16_t text : kTextFunctions) {
        if ((index & kFunctionIndexMask) == text) return true;
    }
    return false;
}

}  // namespace

bool FormulaYieldsText(std::string_view tokens) {
    std::size_t last = tokens.size();
    for (std::size_t at = 0; at < tokens.size();) {
        const std::size_t size = TokenSize(tokens, at);
        if (size == kUnknown || at + size > tokens.size()) return false;
        if (Byte(tokens, at) != kPtgAttr) last = at;  // attributes only steer evaluation
        at += size;
    }
    if (last == tokens.size()) return false;
    const std::uint8_t ptg = Byte(tokens, last);
    if (ptg == kPtgConcat || ptg == kPtgStr) return true;
    if (ptg < kClassedBase) return false;
    if ((ptg & 0x1F) == kPtgFunc) return IsTextFunction(Word(tokens, last + 1));
    if ((ptg & 0x1F) == kPtgFuncVar) return IsTextFunction(Word(tokens, last + 2));
    return false;
}

}  // namespace corvane::detail
