#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "model/Edition.h"
#include "model/ToneTable.h"

namespace corvane {
namespace {

std::string DcsPart(const std::string& label) { return label.substr(label.find(' ') + 1); }

TEST(CtcssList, IndexIsTheCodeAndOrderIsTheRadios) {
    const auto list = CtcssList();
    ASSERT_EQ(list.size(), 74u);
    EXPECT_EQ(list[0], "[00] OFF");
    EXPECT_EQ(list[1], "[01] C67.0");
    EXPECT_EQ(list[38], "[38] C250.3");
    EXPECT_EQ(list[39], "[39] C69.3");
    EXPECT_EQ(list[54], "[54] C40.8");
    EXPECT_EQ(list[73], "[73] C230.3");
    for (int code = 0; code < 74; ++code) {
        char prefix[8];
        std::snprintf(prefix, sizeof prefix, "[%02d] ", code);
        EXPECT_EQ(list[code].substr(0, 5), prefix) << code;
    }
}

TEST(CtcssLookup, ExactCaseSensitiveMatchOnly) {
    EXPECT_EQ(CtcssCode("[39] C69.3"), 39);
    EXPECT_EQ(CtcssCode("[12] C100.0"), 12);
    EXPECT_EQ(CtcssCode("[12] c100.0"), 0);
    EXPECT_EQ(CtcssCode("[12] C100.0 "), 0);
    EXPECT_EQ(CtcssCode(""), 0);
    EXPECT_EQ(CtcssCode("[00] OFF"), 0);
    EXPECT_EQ(CtcssLabel(39), "[39] C69.3");
    EXPECT_EQ(CtcssLabel(74), "[00] OFF");
    EXPECT_EQ(CtcssLabel(-1), "[00] OFF");
    EXPECT_EQ(CtcssLabel(0), "[00] OFF");
}

// Both DCS lists: OFF, 104 normal labels, then the same codes inverted.
void ExpectDcsConstruction(std::span<const std::string> list) {
    ASSERT_EQ(list.size(), 209u);
    EXPECT_EQ(list[0], "[000] OFF");
    for (int k = 1; k <= 104; ++k) {
        char prefix[16];  // room for any int, as the compiler cannot see k stays small
        std::snprintf(prefix, sizeof prefix, "[%03d] ", k);
        EXPECT_EQ(list[k].substr(0, 6), prefix);
        std::snprintf(prefix, sizeof prefix, "[%03d] ", k + 104);
        EXPECT_EQ(list[k + 104].substr(0, 6), prefix);
        EXPECT_EQ(DcsPart(list[k + 104]), "E" + DcsPart(list[k])) << k;
        EXPECT_EQ(DcsPart(list[k])[0], 'D');
    }
}

TEST(DcsLists, BothFollowTheConstructionRule) {
    ExpectDcsConstruction(DcsListPmrLpd());
    ExpectDcsConstruction(DcsListKorea());
}

TEST(DcsLists, HoldTheSameCodesInDifferentOrders) {
    std::set<std::string> pmr, korea;
    for (int k = 1; k <= 104; ++k) {
        pmr.insert(DcsPart(DcsListPmrLpd()[k]));
        korea.insert(DcsPart(DcsListKorea()[k]));
    }
    EXPECT_EQ(pmr.size(), 104u);
    EXPECT_EQ(pmr, korea);
}

TEST(DcsLists, PmrLpdIsAscending) {
    std::vector<std::string> normal;
    for (int k = 1; k <= 104; ++k) normal.push_back(DcsPart(DcsListPmrLpd()[k]));
    EXPECT_TRUE(std::is_sorted(normal.begin(), normal.end()));
    EXPECT_EQ(DcsListPmrLpd()[6], "[006] D036");
    EXPECT_EQ(DcsListPmrLpd()[110], "[110] ED036");
    EXPECT_EQ(DcsListPmrLpd()[104], "[104] D754");
    EXPECT_EQ(DcsListPmrLpd()[208], "[208] ED754");
}

TEST(DcsLists, KoreaIsAscendingThenTheAppendedCodes) {
    std::vector<std::string> first;
    for (int k = 1; k <= 83; ++k) first.push_back(DcsPart(DcsListKorea()[k]));
    EXPECT_TRUE(std::is_sorted(first.begin(), first.end()));
    const std::vector<std::string> appended = {"D036", "D053", "D122", "D145", "D212", "D225", "D246",
                                               "D252", "D255", "D266", "D274", "D325", "D332", "D356",
                                               "D446", "D452", "D454", "D455", "D462", "D523", "D526"};
    for (int i = 0; i < 21; ++i) EXPECT_EQ(DcsPart(DcsListKorea()[84 + i]), appended[i]);
    const auto korea = DcsListKorea();
    EXPECT_EQ(korea[6], "[006] D043");
    EXPECT_EQ(korea[83], "[083] D754");
    EXPECT_EQ(korea[84], "[084] D036");
    EXPECT_EQ(korea[104], "[104] D526");
    EXPECT_EQ(korea[105], "[105] ED023");
    EXPECT_EQ(korea[187], "[187] ED754");
    EXPECT_EQ(korea[188], "[188] ED036");
    EXPECT_EQ(korea[208], "[208] ED526");
}

TEST(DcsLookup, UsesTheEditionsList) {
    EXPECT_EQ(DcsCode("[006] D036", kEditionPmrLpd), 6);
    EXPECT_EQ(DcsCode("[006] D036", kEditionKorea), 0);  // other edition's label
    EXPECT_EQ(DcsCode("[084] D036", kEditionKorea), 84);
    EXPECT_EQ(DcsCode("[084] d036", kEditionKorea), 0);
    EXPECT_EQ(DcsLabel(84, kEditionPmrLpd), "[084] D526");
    EXPECT_EQ(DcsLabel(84, kEditionKorea), "[084] D036");
    EXPECT_EQ(DcsLabel(6, kEditionKorea), "[006] D043");
    EXPECT_EQ(DcsLabel(208, kEditionPmrLpd), "[208] ED754");
    EXPECT_EQ(DcsLabel(208, kEditionKorea), "[208] ED526");
    EXPECT_EQ(DcsLabel(209, kEditionPmrLpd), "[000] OFF");
    EXPECT_EQ(DcsLabel(-3, kEditionKorea), "[000] OFF");
    EXPECT_EQ(DcsLabel(0, kEditionKorea), "[000] OFF");
}

TEST(DcsLookup, EveryEditionOtherThanPmrLpdUsesKorea) {
    EXPECT_EQ(DcsLabel(84, 0), "[084] D036");
    EXPECT_EQ(DcsLabel(84, 7), "[084] D036");
    EXPECT_EQ(DcsListFor(kEditionPmrLpd).data(), DcsListPmrLpd().data());
    EXPECT_EQ(DcsListFor(-1).data(), DcsListKorea().data());
}

TEST(ToneNumber, DecodesBelowAndFromTheDcsOffset) {
    EXPECT_EQ(DecodeToneNumber(0).ctcssCode, 0);
    EXPECT_EQ(DecodeToneNumber(0).dcsCode, 0);
    EXPECT_EQ(DecodeToneNumber(73).ctcssCode, 73);
    EXPECT_EQ(DecodeToneNumber(73).dcsCode, 0);
    EXPECT_EQ(CtcssLabel(DecodeToneNumber(73).ctcssCode), "[73] C230.3");
    EXPECT_EQ(DecodeToneNumber(74).ctcssCode, 0);
    EXPECT_EQ(DecodeToneNumber(74).dcsCode, 1);
    EXPECT_EQ(DcsLabel(DecodeToneNumber(74).dcsCode, kEditionPmrLpd), "[001] D023");
    EXPECT_EQ(DcsLabel(DecodeToneNumber(74).dcsCode, kEditionKorea), "[001] D023");
    EXPECT_EQ(DecodeToneNumber(281).dcsCode, 208);
    EXPECT_EQ(DcsLabel(DecodeToneNumber(282).dcsCode, kEditionKorea), "[000] OFF");
    EXPECT_EQ(DecodeToneNumber(-5).ctcssCode, 0);
    EXPECT_EQ(DecodeToneNumber(-5).dcsCode, 0);
}

TEST(ToneNumber, EncodersDifferOnlyWhenBothTonesAreSet) {
    const int16_t pmr = kEditionPmrLpd;
    EXPECT_EQ(ToneNumberCtcssFirst("[12] C100.0", "[000] OFF", pmr), 12);
    EXPECT_EQ(ToneNumberDcsFirst("[12] C100.0", "[000] OFF", pmr), 12);
    EXPECT_EQ(ToneNumberCtcssFirst("[00] OFF", "[006] D036", pmr), 79);
    EXPECT_EQ(ToneNumberDcsFirst("[00] OFF", "[006] D036", pmr), 79);
    EXPECT_EQ(ToneNumberCtcssFirst("[12] C100.0", "[208] ED754", pmr), 12);
    EXPECT_EQ(ToneNumberDcsFirst("[12] C100.0", "[208] ED754", pmr), 281);
    EXPECT_EQ(ToneNumberCtcssFirst("[00] OFF", "[000] OFF", pmr), 0);
    EXPECT_EQ(ToneNumberDcsFirst("", "", pmr), 0);
    // A DCS label of the other edition counts as no tone.
    EXPECT_EQ(ToneNumberCtcssFirst("[00] OFF", "[006] D036", kEditionKorea), 0);
    EXPECT_EQ(ToneNumberDcsFirst("[05] C79.7", "[006] D036", kEditionKorea), 5);
}

TEST(ToneNumber, RoundTripsEveryCode) {
    for (const int16_t edition : {kEditionPmrLpd, kEditionKorea}) {
        for (int code = 1; code <= 73; ++code) {
            const int n = ToneNumberCtcssFirst(CtcssLabel(code), kDcsOff, edition);
            EXPECT_EQ(DecodeToneNumber(n).ctcssCode, code);
        }
        for (int code = 1; code <= 208; ++code) {
            const int n = ToneNumberDcsFirst(kCtcssOff, DcsLabel(code, edition), edition);
            EXPECT_EQ(DecodeToneNumber(n).dcsCode, code);
        }
    }
}

}  // namespace
}  // namespace corvane
