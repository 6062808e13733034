#include <gtest/gtest.h>

#include <string>

#include "model/SettingsRecord.h"

namespace corvane {
namespace {

std::string_view At(std::span<const std::string_view> list, int index) { return list[index]; }

TEST(ApplyRadioDefaults, ShowsTheDocumentedChoices) {
    SettingsRecord s;
    s.TotalTime = 9;
    s.DtmfId = "99";
    s.NameId = "ZZ";
    s.PriChannel = "17";
    s.BandSelect = 0;
    s.SpareSetting3 = 44;
    s.HiddenSetting8 = 0;
    ApplyRadioDefaults(s);

    EXPECT_EQ(At(options::TotalTime(), s.TotalTime), "OFF");
    EXPECT_EQ(At(options::ResumeTime(), s.ResumeTime), "OFF");
    EXPECT_EQ(At(options::DtmfTone(), s.DtmfGenerationTime), "50 ms");
    EXPECT_EQ(At(options::DtmfTone(), s.DtmfPauseTime), "50 ms");
    EXPECT_EQ(At(options::DtmfDelay(), s.DtmfDelayTime), "500 ms");
    EXPECT_EQ(s.DtmfId, "12345");
    EXPECT_EQ(At(options::VoxLevel(), s.VoxLevel), "OFF");
    EXPECT_EQ(At(options::VoxAttack(), s.VoxAttackTime), "100 mS");
    EXPECT_EQ(At(options::VoxRelease(), s.VoxReleaseTime), "1.0 Sec");
    EXPECT_EQ(At(options::ScanStay(), s.ScanStayTime), "5 Sec");
    EXPECT_EQ(At(options::ScanDelay(), s.ScanDelayTime), "1 Sec");
    EXPECT_EQ(At(options::PowerSaveOn(), s.PowerSaveOnTime), "350 ms");
    EXPECT_EQ(At(options::PowerSaveOff(), s.PowerSaveOffTime), "300 ms");
    EXPECT_EQ(At(options::Bclo(), s.Bclo), "Off");
    EXPECT_EQ(At(options::BacklightType(), s.BacklightType), "Auto");
    EXPECT_EQ(At(options::BacklightOnTime(), s.BacklightOnTime), "5 Sec.");
    EXPECT_EQ(At(options::OffOn(), s.SqTail), "ON");
    EXPECT_EQ(At(options::KeyFunction(), s.KeyP1Side), "SQUELCH");
    EXPECT_EQ(At(options::KeyFunction(), s.KeyP2Left), "MENU_FUN");
    EXPECT_EQ(At(options::KeyFunction(), s.KeyP3Center), "DOWN");
    EXPECT_EQ(At(options::KeyFunction(), s.KeyP4Right), "UP");
    EXPECT_EQ(At(options::CallTone(), s.CallTone), "1");
    EXPECT_EQ(At(options::Squelch(), s.Squelch), "Auto");
    EXPECT_EQ(s.BandSelect, 2);
    EXPECT_EQ(s.NameId, "AA");
    EXPECT_EQ(s.PriChannel, "0");
    EXPECT_EQ(s.PowerControl, 0);
    EXPECT_EQ(s.FunctionFlags1, 0x3F);
    EXPECT_EQ(s.FunctionFlags2, 0x7F);
    EXPECT_EQ(s.HiddenSetting8, 3);
    EXPECT_EQ(s.HiddenSetting23, 0);
    EXPECT_EQ(s.SpareSetting3, 0);
    EXPECT_EQ(s, SettingsRecord{});
}

TEST(OptionLists, SizesAndTheSpellingsThatDiffer) {
    EXPECT_EQ(options::TotalTime().size(), 10u);
    EXPECT_EQ(options::ResumeTime().size(), 10u);
    EXPECT_EQ(options::DtmfTone().size(), 10u);
    EXPECT_EQ(options::DtmfDelay().size(), 8u);
    EXPECT_EQ(options::VoxLevel().size(), 4u);
    EXPECT_EQ(options::VoxAttack().size(), 11u);
    EXPECT_EQ(options::VoxRelease().size(), 7u);
    EXPECT_EQ(options::ScanStay().size(), 11u);
    EXPECT_EQ(options::ScanDelay().size(), 10u);
    EXPECT_EQ(options::PowerSaveOn().size(), 7u);
    EXPECT_EQ(options::PowerSaveOff().size(), 8u);
    EXPECT_EQ(options::Bclo().size(), 4u);
    EXPECT_EQ(options::BacklightType().size(), 2u);
    EXPECT_EQ(options::BacklightOnTime().size(), 9u);
    EXPECT_EQ(options::OffOn().size(), 2u);
    EXPECT_EQ(options::KeyFunction().size(), 4u);
    EXPECT_EQ(options::CallTone().size(), 6u);
    EXPECT_EQ(options::Squelch().size(), 7u);

    EXPECT_EQ(At(options::ScanStay(), 5), "10 Sec");
    EXPECT_EQ(At(options::ScanDelay(), 4), "10 Sec");
    EXPECT_EQ(At(options::VoxAttack(), 10), "500 mS");
    EXPECT_EQ(At(options::BacklightOnTime(), 8), "60 Sec.");
    EXPECT_EQ(At(options::Bclo(), 3), "DT On");
    EXPECT_EQ(At(options::TotalTime(), 9), "180 Sec");
    EXPECT_EQ(At(options::DtmfDelay(), 7), "1000 ms");
    EXPECT_EQ(At(options::VoxRelease(), 6), "9.0 Sec");
    EXPECT_EQ(At(options::PowerSaveOn(), 6), "1500 ms");
    EXPECT_EQ(At(options::PowerSaveOff(), 7), "900 ms");
}

TEST(FunctionCaptions, BitOrder) {
    ASSERT_EQ(FunctionFlags1Captions().size(), 8u);
    ASSERT_EQ(FunctionFlags2Captions().size(), 7u);
    EXPECT_EQ(FunctionFlags1Captions()[0], "Tone");
    EXPECT_EQ(FunctionFlags1Captions()[3], "Compandor");
    EXPECT_EQ(FunctionFlags1Captions()[6], "Scan On/Off");
    EXPECT_EQ(FunctionFlags1Captions()[7], "Scan Ch Memory");
    EXPECT_EQ(FunctionFlags2Captions()[0], "Squelch");
    EXPECT_EQ(FunctionFlags2Captions()[6], "BCLO");
}

TEST(KeyAssignment, AcceptsAnyIndicesAddingUpToSix) {
    SettingsRecord s;
    EXPECT_TRUE(KeyAssignmentValid(s));
    s.KeyP1Side = 3;
    s.KeyP2Left = 3;
    s.KeyP3Center = 0;
    s.KeyP4Right = 0;
    EXPECT_TRUE(KeyAssignmentValid(s));
    s.KeyP4Right = 1;
    EXPECT_FALSE(KeyAssignmentValid(s));
    s.KeyP1Side = 255;  // no wrap in the sum
    s.KeyP2Left = 7;
    EXPECT_FALSE(KeyAssignmentValid(s));
    ResetKeyAssignment(s);
    EXPECT_EQ(s.KeyP1Side, 0);
    EXPECT_EQ(s.KeyP2Left, 1);
    EXPECT_EQ(s.KeyP3Center, 2);
    EXPECT_EQ(s.KeyP4Right, 3);
    EXPECT_EQ(kKeyDefineErrorText, "Key Define Error !!!");
}

TEST(ClampSettingsForDisplay, OnlyTheFourListedFieldsAtTheirLimits) {
    SettingsRecord s;
    s.Bclo = 4;
    s.BacklightType = 2;
    s.SqTail = 2;
    s.CallTone = 6;
    s.Squelch = 200;
    s.TotalTime = 99;
    ClampSettingsForDisplay(s);
    EXPECT_EQ(s.Bclo, 0);
    EXPECT_EQ(s.BacklightType, 0);
    EXPECT_EQ(s.SqTail, 0);
    EXPECT_EQ(s.CallTone, 0);
    EXPECT_EQ(s.Squelch, 200);
    EXPECT_EQ(s.TotalTime, 99);

    s.Bclo = 3;
    s.BacklightType = 1;
    s.SqTail = 1;
    s.CallTone = 5;
    ClampSettingsForDisplay(s);
    EXPECT_EQ(s.Bclo, 3);
    EXPECT_EQ(s.BacklightType, 1);
    EXPECT_EQ(s.SqTail, 1);
    EXPECT_EQ(s.CallTone, 5);
}

// What the setup window lets into the Name ID is what the image can send:
// two Windows-1252 characters from code 54 up once upper-cased, no digits.
TEST(SettingsRecord, NameIdTakesOnlyWhatTheRadioShows) {
    for (const char* good : {"", "A", "ab", "\u00DF", "\u00FF\u00E9", "~\u20AC", ":?", "\u0161"}) {
        EXPECT_TRUE(IsNameIdText(good)) << good;
    }
    for (const char* bad : {"abc", "a1", "6", "!A", " A", "\u4E2D", "\u0100", "A\u00DF\u00DF"}) {
        EXPECT_FALSE(IsNameIdText(bad)) << bad;
    }
    // One character for one: "ß" has no single upper case and stays, "ÿ" becomes "Ÿ".
    EXPECT_EQ(NameIdForStorage("a\u00DF"), "A\u00DF");
    EXPECT_EQ(NameIdForStorage("\u00FF\u0161"), "\u0178\u0160");
    EXPECT_EQ(NameIdForStorage("\u00E9\u00B5"), "\u00C9\u00B5");
}

}  // namespace
}  // namespace corvane
